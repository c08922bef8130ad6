// The editor's font dialog.
#include "editor/FontDialog.h"

#include "platform/SystemColors.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <gtest/gtest.h>

namespace {

TEST(FontDialogBox, GivesBackWhatItOpenedOnUntilTheUserChangesIt)
{
    const editor::FontChoice initial { QStringLiteral("MS Sans Serif"), 8, false, false, false, false,
        platform::clWindowText };
    editor::TFontDialogBox dialog(initial);
    EXPECT_EQ(dialog.choice(), initial);

    const editor::FontChoice other { QStringLiteral("MS Sans Serif"), 14, true, true, true, true, 0x0000FF };
    editor::TFontDialogBox second(other);
    EXPECT_EQ(second.choice(), other);
}

TEST(FontDialogBox, TheColourListSetsAnExplicitColourAndOnlyKnownFacesCanBeChosen)
{
    editor::TFontDialogBox dialog(
        { QStringLiteral("MS Sans Serif"), 8, false, false, false, false, platform::clWindowText });
    QComboBox* colourBox = nullptr;
    for (QComboBox* box : dialog.findChildren<QComboBox*>())
        if (!box->isEditable())
            colourBox = box;
    ASSERT_TRUE(colourBox);
    const int red = colourBox->findText(QStringLiteral("Red"));
    ASSERT_GE(red, 0);
    colourBox->setCurrentIndex(red);
    emit colourBox->activated(red);
    EXPECT_EQ(dialog.choice().Color, 0x0000FF);

    QPushButton* ok = dialog.findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Ok);
    QLineEdit* face = dialog.findChildren<QLineEdit*>().first();
    face->selectAll();
    QTest::keyClicks(face, QStringLiteral("No Such Face At All"));
    EXPECT_FALSE(ok->isEnabled());
    face->selectAll();
    QTest::keyClicks(face, QStringLiteral("MS Sans Serif"));
    EXPECT_TRUE(ok->isEnabled());
}

} // namespace
