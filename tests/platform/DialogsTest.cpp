// The system's message boxes: exact captions, plain text, in front of everything.
#include "platform/Dialogs.h"

#include <QLabel>
#include <QMessageBox>
#include <QTest>
#include <gtest/gtest.h>

TEST(MessageBox, ShowsPlainTextUnderItsExactCaptionAboveStayOnTopWindowsAndTakesTheFocus)
{
    QWidget onTop(nullptr, Qt::Window | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint);
    onTop.show();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&onTop));

    const QString text = QStringLiteral("Call <b>Bob</b> at C:\\A&B <x>");
    for (const auto kind : { platform::BoxKind::Information, platform::BoxKind::Error }) {
        const auto box = platform::messageBox(kind, QStringLiteral("Kavro Start, Reporting!"), text);
        EXPECT_EQ(box->windowTitle(), QStringLiteral("Kavro Start, Reporting!"));
        EXPECT_EQ(
            box->icon(), kind == platform::BoxKind::Information ? QMessageBox::Information : QMessageBox::Critical);
        EXPECT_EQ(box->standardButtons(), QMessageBox::Ok);
        const auto* label = box->findChild<QLabel*>(QStringLiteral("qt_msgbox_label"));
        ASSERT_TRUE(label);
        EXPECT_EQ(label->textFormat(), Qt::PlainText);
        EXPECT_EQ(label->text(), text);
        EXPECT_TRUE(box->windowFlags().testFlag(Qt::WindowStaysOnTopHint));

        box->show();
        EXPECT_TRUE(QTest::qWaitForWindowActive(box.get()));
        box->hide();
        onTop.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&onTop));
    }
}
