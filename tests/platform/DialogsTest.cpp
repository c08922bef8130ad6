// The system's message boxes: exact captions, plain text, in front of everything.
#include "platform/Dialogs.h"

#include <QApplication>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>
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

TEST(MessageBox, WithASecondButtonKeepsOkAsItsDefaultAndItsAnswerToEscapeAndTellsWhichAnswered)
{
    const auto box = platform::messageBox(
        QStringLiteral("Kavro Start Alarm Call."), QStringLiteral("Up"), QStringLiteral("Snooze 5 min"));
    EXPECT_EQ(box->windowTitle(), QStringLiteral("Kavro Start Alarm Call."));
    EXPECT_EQ(box->icon(), QMessageBox::Information);
    EXPECT_TRUE(box->windowFlags().testFlag(Qt::WindowStaysOnTopHint));
    EXPECT_EQ(box->defaultButton(), box->button(QMessageBox::Ok));
    EXPECT_EQ(box->escapeButton(), static_cast<QAbstractButton*>(box->button(QMessageBox::Ok)));
    ASSERT_EQ(box->buttons().size(), 2);

    // The system's box, answered as a user would once it shows.
    for (const bool snooze : { false, true }) {
        QTimer::singleShot(0, [snooze] {
            auto* shown = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            ASSERT_TRUE(shown);
            if (!snooze)
                QTest::keyClick(shown, Qt::Key_Escape);
            for (QAbstractButton* button : shown->buttons())
                if (snooze && button->text() == QStringLiteral("Snooze 5 min"))
                    button->click();
        });
        EXPECT_EQ(platform::dialogs().informationWithChoice(
                      QStringLiteral("Kavro Start Alarm Call."), QStringLiteral("Up"), QStringLiteral("Snooze 5 min")),
            snooze);
    }
}
