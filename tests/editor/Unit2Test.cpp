// The gadget editor window: filling, the preview, the dialogs, saving.
#include "EditorTestSupport.h"
#include "controls/Colorbut.h"
#include "controls/Panel.h"
#include "controls/psiStatusBar.h"
#include "platform/Screen.h"
#include "platform/SystemColors.h"

#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QRadioButton>
#include <QTest>
#include <csignal>
#include <sys/resource.h>

namespace editor_tests {

namespace {

using testing_support::readFile;

// Gadget n of a menu whose every field is told apart from the others.
void describeGadget(QList<QByteArray>& lines, int n, const QByteArray& mode, const QByteArray& side)
{
    const QByteArray tag = QByteArray::number(n);
    lines[menufile::gadgetLine(n, menufile::StartMode) - 1] = mode;
    lines[menufile::gadgetLine(n, menufile::FilesPath) - 1] = "/tools/p" + tag;
    lines[menufile::gadgetLine(n, menufile::GadgetName) - 1] = "Name" + tag;
    lines[menufile::gadgetLine(n, menufile::BackColor) - 1] = QByteArray::number(1000 + n);
    lines[menufile::gadgetLine(n, menufile::FontName) - 1] = "Face" + tag;
    lines[menufile::gadgetLine(n, menufile::FontColor) - 1] = QByteArray::number(2000 + n);
    lines[menufile::gadgetLine(n, menufile::GraphicPath) - 1] = "/pictures/g" + tag + ".bmp";
    lines[menufile::gadgetLine(n, menufile::GraphicSide) - 1] = side;
}

QString errorsOf(const testing_support::RecordingDialogs& boxes)
{
    QString all;
    for (const auto& box : boxes.boxes)
        all += box.kind + u':' + box.text + u'\n';
    return all;
}

} // namespace

using Unit2 = EditorFixture;

TEST_F(Unit2, OpeningReadsExactlyTheEditedGadgetsLinesAndTheFourTitles)
{
    for (int n = 1; n <= 56; ++n)
        describeGadget(lines, n, n % 2 ? "Menu" : "Run", "3");
    writeMenu(lines);
    for (const int n : { 1, 37, 56 }) {
        openOn(n);
        SCOPED_TRACE(n);
        const QString tag = QString::number(n);
        EXPECT_EQ(form2->Edit1->text(), QStringLiteral("Name") + tag);
        EXPECT_EQ(form2->Edit2->text(), QStringLiteral("/tools/p") + tag);
        EXPECT_EQ(form2->Edit3->text(), QStringLiteral("/pictures/g") + tag + QStringLiteral(".bmp"));
        EXPECT_EQ(form2->ColorSpeedButton3->Caption(), QStringLiteral("Name") + tag);
        EXPECT_EQ(form2->ColorSpeedButton3->Color(), 1000 + n);
        EXPECT_EQ(form2->ColorSpeedButton3->font().family(), QStringLiteral("Face") + tag);
        EXPECT_EQ(form2->ColorSpeedButton3->FontColor(), 2000 + n);
        EXPECT_EQ(form2->RadioButton5->isChecked(), n % 2 == 1);
        EXPECT_EQ(form2->RadioButton4->isChecked(), n % 2 == 0);
        const QLineEdit* titles[] = { form2->Edit4, form2->Edit5, form2->Edit6, form2->Edit7 };
        for (int c = 0; c < 4; ++c)
            EXPECT_EQ(titles[c]->text(), u'T' + QString::number(c + 1));
        EXPECT_FALSE(mainForm->isEnabled());
        form2->Exit1Click();
        EXPECT_TRUE(mainForm->isEnabled());
    }
    EXPECT_TRUE(boxes.boxes.empty()) << errorsOf(boxes).toStdString();
}

TEST_F(Unit2, ABadNumberLeavesNoValueOfAnotherMenuToBeSavedIntoThisGadget)
{
    // Menu A's gadget 5 is edited and left with other colours chosen.
    describeGadget(lines, 5, "Run", "0");
    writeMenu(lines);
    openOn(5);
    dialogs.colorAnswers = { QColor(Qt::red), QColor(Qt::green) };
    form2->ColorSpeedButton1Click();
    form2->ColorSpeedButton2Click();
    form2->Exit1Click();

    // Menu B's gadget 5 has a colour that is no number, and texts in another code page.
    QList<QByteArray> b = testing_support::sampleMenuLines();
    describeGadget(b, 5, "Menu", "1");
    b[menufile::gadgetLine(5, menufile::BackColor) - 1] = "red";
    b[menufile::gadgetLine(5, menufile::GadgetName) - 1] = "Caf\xE9";
    b[menufile::gadgetLine(5, menufile::FilesPath) - 1] = "C:\\Spiele\\M\xFChle.exe";
    b[menufile::gadgetLine(5, menufile::GraphicPath) - 1] = "C:\\Bilder\\Caf\xE9.bmp";
    b[menufile::columnTitleLine(2) - 1] = "Caf\xE9s";
    const QString menuB = folder.filePath(QStringLiteral("b.ini"));
    testing_support::writeFile(menuB, rtl::joinCrLf(b));
    session().Menu.LoadMenu(menuB);
    openOn(5);
    ASSERT_EQ(boxes.boxes.size(), 1u);
    EXPECT_EQ(boxes.boxes[0].text, u"'red' is not a valid integer value.");
    EXPECT_TRUE(form2->isVisible());
    EXPECT_EQ(form2->Edit1->text(), QString::fromUtf8("Caf\xEF\xBF\xBD"));
    EXPECT_EQ(form2->Edit5->text(), QString::fromUtf8("Caf\xEF\xBF\xBDs"));
    EXPECT_TRUE(form2->RadioButton5->isChecked());
    EXPECT_TRUE(form2->RadioButton2->isChecked());

    form2->Edit4->setText(QStringLiteral("Typed"));
    form2->Save1->trigger();
    QList<QByteArray> expected = b;
    expected[menufile::columnTitleLine(1) - 1] = "Typed";
    EXPECT_EQ(fileLines(menuB), expected);
}

TEST_F(Unit2, RadioButtonsKeepTheirStateForLinesMatchingNoneAndSideButtonsNeedAPicturePath)
{
    describeGadget(lines, 1, "Run", "1");
    describeGadget(lines, 2, "run", "7");
    lines[menufile::gadgetLine(2, menufile::GraphicPath) - 1] = "";
    writeMenu(lines);
    openOn(1);
    EXPECT_TRUE(form2->RadioButton2->isEnabled());
    // A missing picture file still sets the side, without a message.
    EXPECT_EQ(form2->ColorSpeedButton3->Layout(), TButtonLayout::blGlyphRight);
    form2->Exit1Click();

    openOn(2);
    EXPECT_TRUE(form2->RadioButton4->isChecked());
    EXPECT_TRUE(form2->RadioButton2->isChecked());
    EXPECT_FALSE(form2->RadioButton1->isEnabled());
    EXPECT_FALSE(form2->RadioButton2->isEnabled());
    EXPECT_FALSE(form2->RadioButton3->isEnabled());
    EXPECT_TRUE(boxes.boxes.empty()) << errorsOf(boxes).toStdString();
}

TEST_F(Unit2, EachStartModeAndSideLineChecksItsButtonAndSaveCloseWritesItBack)
{
    const QString picture = folder.filePath(QStringLiteral("star.bmp"));
    QImage image(16, 16, QImage::Format_RGB32);
    image.fill(Qt::red);
    ASSERT_TRUE(image.save(picture, "BMP"));
    const struct {
        QByteArray mode, side;
        QRadioButton* TForm2::*modeButton;
        QRadioButton* TForm2::*sideButton;
        TButtonLayout layout; // of a picture shown
    } cases[] = {
        { "Run", "0", &TForm2::RadioButton4, &TForm2::RadioButton1, TButtonLayout::blGlyphLeft },
        { "Menu", "1", &TForm2::RadioButton5, &TForm2::RadioButton2, TButtonLayout::blGlyphRight },
        { "None", "2", &TForm2::RadioButton6, &TForm2::RadioButton3, TButtonLayout::blGlyphRight },
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.mode.constData());
        describeGadget(lines, 4, c.mode, c.side);
        lines[menufile::gadgetLine(4, menufile::GraphicPath) - 1] = picture.toLocal8Bit();
        writeMenu(lines);
        session().Menu.LoadMenu(mainMenu());
        openOn(4);
        for (QRadioButton* TForm2::*button : { &TForm2::RadioButton1, &TForm2::RadioButton2, &TForm2::RadioButton3,
                 &TForm2::RadioButton4, &TForm2::RadioButton5, &TForm2::RadioButton6 })
            EXPECT_EQ(((*form2).*button)->isChecked(), button == c.modeButton || button == c.sideButton);
        EXPECT_EQ(form2->ColorSpeedButton3->Glyph().Empty(), c.side == "2");
        EXPECT_EQ(form2->ColorSpeedButton3->Layout(), c.layout);
        form2->ColorSpeedButton5Click();
        EXPECT_EQ(fileLines(mainMenu()).value(menufile::gadgetLine(4, menufile::StartMode) - 1), c.mode);
        EXPECT_EQ(fileLines(mainMenu()).value(menufile::gadgetLine(4, menufile::GraphicSide) - 1), c.side);
    }
    EXPECT_TRUE(boxes.boxes.empty()) << errorsOf(boxes).toStdString();
}

TEST_F(Unit2, ExitAfterChangesLeavesTheMenuAsItWas)
{
    openOn(3);
    const CurrentMenu before = session().Menu;
    form2->Edit1->setText(QStringLiteral("Changed"));
    form2->Edit5->setText(QStringLiteral("Title"));
    form2->RadioButton4->setChecked(true);
    dialogs.colorAnswers = { QColor(Qt::red) };
    form2->ColorSpeedButton1Click();
    form2->Exit1Click();
    EXPECT_FALSE(form2->isVisible());
    EXPECT_TRUE(mainForm->isEnabled());
    EXPECT_EQ(session().Menu.MenuLines, before.MenuLines);

    openOn(3);
    EXPECT_EQ(form2->Edit1->text(), u"G3");
    EXPECT_EQ(form2->ColorSpeedButton3->Color(), 3);
}

TEST_F(Unit2, SaveCloseWritesTheEditedGadgetAndTitlesOnlyThenTheLauncherShowsThem)
{
    describeGadget(lines, 37, "Run", "2");
    lines[menufile::gadgetLine(37, menufile::BackColor) - 1] = "$FF00";
    writeMenu(lines);
    openOn(37);
    QTest::keyClicks(form2->Edit1, QStringLiteral("X"));
    form2->Edit6->setText(QStringLiteral("Games"));
    form2->RadioButton5->setChecked(true);
    dialogs.colorAnswers = { QColor(0, 0, 255), QColor(255, 255, 0) };
    form2->ColorSpeedButton1Click();
    form2->ColorSpeedButton2Click();
    form2->ColorSpeedButton5Click();

    ASSERT_TRUE(boxes.boxes.empty()) << errorsOf(boxes).toStdString();
    const QList<QByteArray> written = fileLines(mainMenu());
    ASSERT_EQ(written.size(), 453);
    EXPECT_TRUE(readFile(mainMenu()).endsWith("Games\r\nT4\r\n"));
    QList<QByteArray> expected = lines;
    expected[menufile::gadgetLine(37, menufile::StartMode) - 1] = "Menu";
    expected[menufile::gadgetLine(37, menufile::GadgetName) - 1] = "Name37X";
    expected[menufile::gadgetLine(37, menufile::BackColor) - 1] = QByteArray::number(0xFF0000);
    expected[menufile::gadgetLine(37, menufile::FontColor) - 1] = QByteArray::number(0x00FFFF);
    expected[menufile::columnTitleLine(3) - 1] = "Games";
    EXPECT_EQ(written, expected);

    EXPECT_FALSE(form2->isVisible());
    EXPECT_TRUE(mainForm->isEnabled());
    EXPECT_EQ(mainForm->Gadgets[37]->Caption(), u"Name37X");
    EXPECT_EQ(mainForm->Gadgets[37]->Color(), 0xFF0000);
    EXPECT_EQ(mainForm->ColumnTitles[3]->Caption(), u"Games");
    EXPECT_EQ(session().Menu[menufile::gadgetLine(37, menufile::GadgetName)], "Name37X");
}

TEST_F(Unit2, SaveCloseStoresAFontFaceOnlyWhenOneWasChosenDuringThatOpening)
{
    describeGadget(lines, 1, "None", "2");
    describeGadget(lines, 2, "None", "2");
    writeMenu(lines);
    editor::FontChoice times { QStringLiteral("Times"), 14, false, true, false, false, 255 };
    dialogs.fontAnswers = { times, std::nullopt };

    openOn(1);
    form2->ColorSpeedButton6Click();
    form2->Save1Click();
    EXPECT_EQ(fileLines(mainMenu())[menufile::gadgetLine(1, menufile::FontName) - 1], "Times");

    // The dialog opens on its last choice, but a cancelled dialog chooses nothing.
    openOn(2);
    form2->ColorSpeedButton6Click();
    form2->Save1Click();
    EXPECT_EQ(fileLines(mainMenu())[menufile::gadgetLine(2, menufile::FontName) - 1], "Face2");
    ASSERT_EQ(dialogs.fontAsked.size(), 2u);
    EXPECT_EQ(dialogs.fontAsked[0].Face, u"MS Sans Serif");
    EXPECT_EQ(dialogs.fontAsked[0].PointSize, 8);
    EXPECT_EQ(dialogs.fontAsked[0].Color, platform::clWindowText);
    EXPECT_EQ(dialogs.fontAsked[1], times);
    EXPECT_TRUE(boxes.boxes.empty()) << errorsOf(boxes).toStdString();
}

TEST_F(Unit2, TheFontDialogSetsFaceAndColourWhileThePreviewStaysTenPointBold)
{
    openOn(4);
    dialogs.fontAnswers
        = { editor::FontChoice { QStringLiteral("Times"), 14, false, true, true, true, 255 }, std::nullopt };
    form2->ColorSpeedButton6Click();
    const QFont font = form2->ColorSpeedButton3->font();
    EXPECT_EQ(font.family(), u"Times");
    EXPECT_EQ(font.pixelSize(), 13);
    EXPECT_TRUE(font.bold());
    EXPECT_FALSE(font.italic());
    EXPECT_FALSE(font.underline());
    EXPECT_FALSE(font.strikeOut());
    EXPECT_EQ(form2->ColorSpeedButton3->FontColor(), 255);
    form2->ColorSpeedButton6Click();
    EXPECT_EQ(form2->ColorSpeedButton3->font().family(), u"Times");
    EXPECT_EQ(form2->ColorSpeedButton3->font().pixelSize(), 13);
}

TEST_F(Unit2, TheColourDialogStartsOnBlackThenOnItsLastChoice)
{
    openOn(4);
    dialogs.colorAnswers = { QColor(255, 0, 0), std::nullopt };
    form2->ColorSpeedButton2Click();
    EXPECT_EQ(form2->ColorSpeedButton3->FontColor(), 255);
    form2->ColorSpeedButton1Click();
    EXPECT_EQ(form2->ColorSpeedButton3->Color(), 4);
    ASSERT_EQ(dialogs.colorAsked.size(), 2u);
    EXPECT_EQ(dialogs.colorAsked[0], QColor(0, 0, 0));
    EXPECT_EQ(dialogs.colorAsked[1], QColor(255, 0, 0));
}

TEST_F(Unit2, BrowsingStartsInTheStartFolderWithThePartsFiltersAndShowsAChosenPicture)
{
    const QString picture = folder.filePath(QStringLiteral("Pictures/star.bmp"));
    QDir().mkpath(folder.filePath(QStringLiteral("Pictures")));
    QImage image(16, 16, QImage::Format_RGB32);
    image.fill(Qt::red);
    ASSERT_TRUE(image.save(picture, "BMP"));
    lines[menufile::gadgetLine(6, menufile::GraphicPath) - 1] = "";
    writeMenu(lines);
    openOn(6);
    EXPECT_FALSE(form2->RadioButton1->isEnabled());
    platform::setCurrentFolder(QDir::tempPath());

    dialogs.fileAnswers = { folder.filePath(QStringLiteral("Tools/new-program")), picture };
    form2->ColorSpeedButton4Click();
    EXPECT_EQ(form2->Edit2->text(), folder.filePath(QStringLiteral("Tools/new-program")));
    EXPECT_TRUE(form2->ColorSpeedButton3->Glyph().Empty());
    form2->ColorSpeedButton7Click();

    ASSERT_EQ(dialogs.openCalls.size(), 2u);
    EXPECT_EQ(QFileInfo(dialogs.openCalls[0].folder), QFileInfo(folder.path()));
    EXPECT_TRUE(dialogs.openCalls[0].fileName.isEmpty());
    EXPECT_EQ(dialogs.openCalls[0].filters,
        QStringList({ "Executable files (*)", "Exe files (*.exe)", "ini files (*.INI)", "All files (*)" }));
    EXPECT_EQ(dialogs.openCalls[1].filters, QStringList({ "BMP files (*.BMP)", "All files (*)" }));
    EXPECT_TRUE(dialogs.openCalls[1].fileName.isEmpty());

    EXPECT_EQ(form2->Edit3->text(), picture);
    EXPECT_TRUE(form2->RadioButton1->isChecked());
    EXPECT_TRUE(form2->RadioButton1->isEnabled());
    EXPECT_TRUE(form2->RadioButton3->isEnabled());
    EXPECT_EQ(form2->ColorSpeedButton3->Glyph().Width(), 16);
    EXPECT_EQ(form2->ColorSpeedButton3->Layout(), TButtonLayout::blGlyphLeft);

    QTest::mouseClick(form2->RadioButton2, Qt::LeftButton);
    EXPECT_EQ(form2->ColorSpeedButton3->Layout(), TButtonLayout::blGlyphRight);
    // Side "None" removes the picture and keeps the path.
    QTest::mouseClick(form2->RadioButton3, Qt::LeftButton);
    EXPECT_TRUE(form2->ColorSpeedButton3->Glyph().Empty());
    EXPECT_EQ(form2->Edit3->text(), picture);
    EXPECT_TRUE(boxes.boxes.empty()) << errorsOf(boxes).toStdString();
}

TEST_F(Unit2, BrowsingStopsBeforeTheDialogWhenTheStartFolderIsGone)
{
    openOn(6);
    session().StartFolder = folder.filePath(QStringLiteral("gone"));
    QTest::mouseClick(form2->ColorSpeedButton4, Qt::LeftButton);
    ASSERT_EQ(boxes.boxes.size(), 1u);
    EXPECT_EQ(boxes.boxes[0].text, QStringLiteral("I/O error 2."));
    EXPECT_TRUE(dialogs.openCalls.empty());
}

TEST_F(Unit2, SaveAsWritesNameDotIniAndLeavesTheCurrentMenuAlone)
{
    describeGadget(lines, 9, "Run", "2");
    writeMenu(lines);
    const QByteArray mainBefore = readFile(mainMenu());
    openOn(9);
    const CurrentMenu before = session().Menu;
    form2->Edit1->setText(QStringLiteral("Copy"));
    form2->Edit2->setText(QStringLiteral("/tools/other"));
    form2->RadioButton6->setChecked(true);
    dialogs.colorAnswers = { QColor(255, 0, 0) };
    form2->ColorSpeedButton1Click();
    const QString games = folder.filePath(QStringLiteral("Games"));
    dialogs.fileAnswers = { games };
    form2->SaveAs1Click();

    ASSERT_EQ(dialogs.saveCalls.size(), 1u);
    EXPECT_EQ(dialogs.saveCalls[0].filters, QStringList({ "Kavro Start Config Files(*.ini)" }));
    EXPECT_EQ(QFileInfo(dialogs.saveCalls[0].folder), QFileInfo(platform::currentFolder()));
    QList<QByteArray> expected = lines;
    expected[menufile::gadgetLine(9, menufile::GadgetName) - 1] = "Copy";
    expected[menufile::gadgetLine(9, menufile::FilesPath) - 1] = "/tools/other";
    EXPECT_EQ(fileLines(games + QStringLiteral(".ini")), expected);
    EXPECT_EQ(readFile(mainMenu()), mainBefore);
    EXPECT_EQ(session().Menu.MenuLines, before.MenuLines);
    EXPECT_EQ(session().Menu.MenuFileName, before.MenuFileName);
    EXPECT_TRUE(form2->isVisible());
    EXPECT_FALSE(mainForm->isEnabled());

    // A later Save/Close of the current menu carries nothing of the copy but what the editor shows.
    form2->Exit1Click();
    openOn(10);
    form2->Save1Click();
    EXPECT_EQ(fileLines(mainMenu())[menufile::gadgetLine(9, menufile::GadgetName) - 1], "Name9");
    EXPECT_TRUE(boxes.boxes.empty()) << errorsOf(boxes).toStdString();
}

TEST_F(Unit2, SaveAsOntoTheCurrentFileKeepsItsValuesThroughALaterSaveClose)
{
    openOn(2);
    form2->Edit1->setText(QStringLiteral("Kept"));
    dialogs.fileAnswers = { folder.filePath(QStringLiteral("ConFigs/Main")) };
    form2->SaveAs1Click();
    EXPECT_EQ(session().Menu[menufile::gadgetLine(2, menufile::GadgetName)], "Kept");
    form2->Exit1Click();

    openOn(3);
    form2->Save1Click();
    EXPECT_EQ(fileLines(mainMenu())[menufile::gadgetLine(2, menufile::GadgetName) - 1], "Kept");
    EXPECT_EQ(mainForm->Gadgets[2]->Caption(), u"Kept");
    EXPECT_TRUE(boxes.boxes.empty()) << errorsOf(boxes).toStdString();
}

TEST_F(Unit2, AFailedSaveCloseShowsTheErrorKeepsTheOldFileAndLeavesTheEditorOpen)
{
    openOn(8);
    const QByteArray old = readFile(mainMenu());
    form2->Edit1->setText(QStringLiteral("Bigger"));
    // A write past the limit must fail rather than end the test program.
    std::signal(SIGXFSZ, SIG_IGN);
    rlimit saved {};
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &saved), 0);
    rlimit small = saved;
    small.rlim_cur = 512;
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
    QTest::mouseClick(form2->ColorSpeedButton5, Qt::LeftButton);
    setrlimit(RLIMIT_FSIZE, &saved);

    ASSERT_EQ(boxes.boxes.size(), 1u);
    EXPECT_EQ(boxes.boxes[0].text, u"Disk full.");
    EXPECT_EQ(readFile(mainMenu()), old);
    EXPECT_EQ(QDir(folder.filePath(QStringLiteral("ConFigs"))).entryList(QDir::Files | QDir::Hidden),
        QStringList({ "Main.ini" }));
    EXPECT_EQ(session().Menu[menufile::gadgetLine(8, menufile::GadgetName)], "Bigger");
    EXPECT_TRUE(form2->isVisible());
    EXPECT_FALSE(mainForm->isEnabled());
    EXPECT_EQ(mainForm->Gadgets[8]->Caption(), u"G8");

    form2->Exit1Click();
    EXPECT_TRUE(mainForm->isEnabled());
}

TEST_F(Unit2, SaveAsIntoAFolderThatCannotBeWrittenShowsTheError)
{
    testing_support::writeFile(folder.filePath(QStringLiteral("blocker")), "a file, not a folder");
    openOn(8);
    dialogs.fileAnswers = { folder.filePath(QStringLiteral("blocker/Games")) };
    form2->SaveAs1->trigger();
    ASSERT_EQ(boxes.boxes.size(), 1u);
    EXPECT_EQ(boxes.boxes[0].kind, u"error");
    EXPECT_EQ(boxes.boxes[0].text, u"I/O error 3.");
    EXPECT_TRUE(form2->isVisible());
}

TEST_F(Unit2, AValueHoldingACarriageReturnIsRefusedBeforeAnythingIsStoredOrWritten)
{
    openOn(11);
    const QByteArray old = readFile(mainMenu());
    const CurrentMenu before = session().Menu;
    form2->Edit1->setText(QStringLiteral("Fine"));
    form2->Edit3->setText(QStringLiteral("/pictures/a\rb.bmp"));
    form2->Save1->trigger();
    ASSERT_EQ(boxes.boxes.size(), 1u);
    EXPECT_TRUE(boxes.boxes[0].text.contains(u"Graphic Path")) << boxes.boxes[0].text.toStdString();
    EXPECT_EQ(readFile(mainMenu()), old);
    EXPECT_EQ(session().Menu.MenuLines, before.MenuLines);
    EXPECT_TRUE(form2->isVisible());
}

TEST_F(Unit2, TypingStopsAtTheLimitButTextFromTheMenuIsNotCut)
{
    lines[menufile::gadgetLine(12, menufile::GadgetName) - 1] = "A name of twenty one";
    lines[menufile::columnTitleLine(1) - 1] = "";
    writeMenu(lines);
    openOn(12);
    EXPECT_EQ(form2->Edit1->text(), u"A name of twenty one");
    form2->Edit1->setFocus();
    form2->Edit1->end(false);
    QTest::keyClick(form2->Edit1, Qt::Key_Backspace);
    EXPECT_EQ(form2->Edit1->text(), u"A name of twenty on");
    QTest::keyClicks(form2->Edit1, QStringLiteral("xy"));
    EXPECT_EQ(form2->Edit1->text(), u"A name of twenty on");

    form2->Edit1->selectAll();
    QTest::keyClicks(form2->Edit1, QStringLiteral("abcdefghijklmnop"));
    EXPECT_EQ(form2->Edit1->text(), u"abcdefghijkl");
    EXPECT_EQ(form2->ColorSpeedButton3->Caption(), u"abcdefghijkl");
    QTest::keyClicks(form2->Edit4, QStringLiteral("0123456789abcdefgh"));
    EXPECT_EQ(form2->Edit4->text(), u"0123456789abcde");
}

TEST_F(Unit2, LinesLongerThanTheToolkitsDefaultLimitAreShownAndSavedWhole)
{
    const QByteArray title(40000, 't');
    const QByteArray path = "/" + QByteArray(39999, 'p');
    lines[menufile::gadgetLine(9, menufile::GadgetName) - 1] = title;
    lines[menufile::gadgetLine(9, menufile::FilesPath) - 1] = path;
    lines[menufile::gadgetLine(9, menufile::GraphicPath) - 1] = path;
    lines[menufile::columnTitleLine(4) - 1] = title;
    writeMenu(lines);
    openOn(9);
    EXPECT_EQ(form2->Edit1->text().size(), 40000);
    form2->ColorSpeedButton5Click();
    ASSERT_TRUE(boxes.boxes.empty()) << errorsOf(boxes).toStdString();
    const QList<QByteArray> written = fileLines(mainMenu());
    QList<QByteArray> expected = lines;
    expected[menufile::gadgetLine(9, menufile::BackColor) - 1] = "9"; // as stored, a plain colour
    EXPECT_EQ(written, expected);
}

TEST_F(Unit2, MouseMovesExplainListedControlsAndOthersKeepTheText)
{
    openOn(1);
    ASSERT_TRUE(QTest::qWaitForWindowExposed(form2.get()));
    const QString initial = form2->StatusBar->panelText(0);
    auto moveOver = [](QWidget* w, QPoint at = QPoint(5, 5)) { QTest::mouseMove(w, at); };

    moveOver(form2->ColorSpeedButton1);
    EXPECT_EQ(
        form2->StatusBar->panelText(0), u"Click on this to bring up the Palette so you can select a Gadget Color.");
    moveOver(form2->Label1);
    moveOver(form2->Shape1, QPoint(0, 1)); // the frame's left edge, beside the preview
    EXPECT_EQ(
        form2->StatusBar->panelText(0), u"Click on this to bring up the Palette so you can select a Gadget Color.");
    moveOver(form2->RadioButton5);
    EXPECT_EQ(form2->StatusBar->panelText(0),
        u"Clicking this will set the Gadget so that when you click on it, it will Load another Menu in.");
    moveOver(form2->Edit4);
    moveOver(form2->GroupBox2, QPoint(3, 50));
    moveOver(form2->StatusBar);
    EXPECT_EQ(form2->StatusBar->panelText(0),
        u"Clicking this will set the Gadget so that when you click on it, it will Load another Menu in.");
    moveOver(form2->GroupBox1, QPoint(3, 30));
    EXPECT_EQ(form2->StatusBar->panelText(0), u"These are the Titles of the four Colums above each colum of Gadgets.");
    moveOver(form2->Client, QPoint(200, 20));
    EXPECT_EQ(
        form2->StatusBar->panelText(0), u"Don`t forget you can select Save As from the menu to create a NEW Menu..");
    EXPECT_NE(initial, form2->StatusBar->panelText(0));

    // The text is still there at the next opening.
    form2->Exit1Click();
    openOn(2);
    EXPECT_EQ(
        form2->StatusBar->panelText(0), u"Don`t forget you can select Save As from the menu to create a NEW Menu..");
}

TEST_F(Unit2, TheWindowHasItsClientAreaBelowTheMenuBarAndIsCentredOnce)
{
    platform::setScreenSizeForTesting(QSize(1000, 700));
    openOn(1);
    platform::setScreenSizeForTesting(std::nullopt);
    EXPECT_EQ(form2->Client->size(), QSize(602, 259));
    EXPECT_EQ(form2->Client->y(), form2->MainMenu1->height());
    EXPECT_EQ(form2->StatusBar->geometry(), QRect(0, 240, 602, 19));
    EXPECT_EQ(form2->pos(), QPoint((1000 - form2->width()) / 2, (700 - form2->height()) / 2));
    EXPECT_EQ(form2->minimumSize(), form2->maximumSize());
    form2->Exit1Click();
    form2->move(10, 20);
    openOn(2);
    EXPECT_EQ(form2->pos(), QPoint(10, 20));
}

} // namespace editor_tests
