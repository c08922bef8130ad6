// Dropping files onto a gadget of the launcher and onto the editor, through
// the toolkit's drag-and-drop events, with the wiring of start-up.
#include "controls/Colorbut.h"
#include "editor/Unit2.h"
#include "launcher/myver.h"
#include "platform/FileIO.h"
#include "support/MadeUpApplications.h"
#include "support/WindowsFixture.h"

#include <QApplication>
#include <QDropEvent>
#include <QLineEdit>
#include <QMimeData>
#include <QRadioButton>
#include <QWindow>

namespace {

// Drags `file` into the window of `widget` at `from`, over to `to` and drops
// it there (points of `widget`), as the window system hands a drag to the
// toolkit; whether the drop was taken.
bool dragAndDrop(QWidget* widget, QPoint from, QPoint to, const QString& file)
{
    QMimeData data;
    data.setUrls({ QUrl::fromLocalFile(file) });
    data.setText(QUrl::fromLocalFile(file).toString());
    QWindow* window = widget->window()->windowHandle();
    const auto at = [&](QPoint p) { return widget->mapTo(widget->window(), p); };
    QDragEnterEvent enter(at(from), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QDragMoveEvent move(at(to), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QDropEvent drop(at(to), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    for (QEvent* event : std::initializer_list<QEvent*> { &enter, &move, &drop })
        QApplication::sendEvent(window, event);
    return move.isAccepted() && drop.isAccepted();
}

class GadgetDrop : public WindowsFixture {
protected:
    MadeUpApplications tree;
    MadeUpSession environment { tree };
};

TEST_F(GadgetDrop, ADropFillsTheGadgetAsTheMenuMakerWouldAndOnlySaveCloseWritesAnything)
{
    start(testing_support::sampleMenuLines());
    auto& launcher = *qobject_cast<TMainForm*>(session().MainForm);
    auto& editor = *qobject_cast<TForm2*>(session().Form2);
    launcher.showAndRaise();
    const QByteArray menuBefore = testing_support::readFile(path("ConFigs/Main.ini"));

    // An entry dragged in over the title bar and dropped onto gadget 5 opens the editor on it, filled.
    TColorSpeedButton* gadget = launcher.Gadgets[5];
    ASSERT_TRUE(dragAndDrop(&launcher, QPoint(200, 10), gadget->mapTo(&launcher, gadget->rect().center()),
        tree.dataDirs()[0] + "/applications/calc.desktop"));
    ASSERT_TRUE(editor.isVisible());
    EXPECT_EQ(session().Menu.EditedGadget, 5);
    EXPECT_EQ(editor.Edit1->text(), "Rechner");
    EXPECT_EQ(editor.Edit2->text(), path("Launchers/calc.sh"));
    EXPECT_EQ(editor.Edit3->text(), path("Pictures/calc.bmp"));
    EXPECT_TRUE(editor.RadioButton4->isChecked());
    EXPECT_TRUE(editor.RadioButton1->isChecked());
    EXPECT_FALSE(editor.ColorSpeedButton3->Glyph().Empty());
    // While the editor is open the launcher takes no drop.
    TColorSpeedButton* other = launcher.Gadgets[6];
    EXPECT_FALSE(dragAndDrop(&launcher, QPoint(200, 10), other->mapTo(&launcher, other->rect().center()), path("")));
    EXPECT_EQ(session().Menu.EditedGadget, 5);

    // A document dropped onto the editor's name box replaces it, and the box does not take its text.
    const QString document = tree.root() + "/a long document name.txt";
    testing_support::writeFile(document, "text");
    ASSERT_TRUE(dragAndDrop(editor.Edit1, editor.Edit1->rect().center(), editor.Edit1->rect().center(), document));
    EXPECT_EQ(editor.Edit1->text(), "a long docum");
    EXPECT_EQ(editor.Edit2->text(), path("Launchers/a_long_document_name.txt.sh"));
    EXPECT_EQ(editor.Edit3->text(), "");
    EXPECT_TRUE(editor.RadioButton3->isChecked());
    EXPECT_TRUE(editor.ColorSpeedButton3->Glyph().Empty());
    EXPECT_EQ(testing_support::readFile(path("ConFigs/Main.ini")), menuBefore);
    EXPECT_FALSE(QFileInfo::exists(path("Launchers")));

    editor.ColorSpeedButton5Click();
    EXPECT_TRUE(dialogs_.boxes.empty());
    const QList<QByteArray> lines = platform::readAllTextLines(path("ConFigs/Main.ini"));
    const QList<QByteArray> expected { "Run", path("Launchers/a_long_document_name.txt.sh").toUtf8(), "a long docum" };
    EXPECT_EQ(lines.mid(menufile::gadgetLine(5, menufile::StartMode) - 1, 3), expected);
    EXPECT_EQ(lines[menufile::gadgetLine(5, menufile::GraphicSide) - 1], "2");
    EXPECT_EQ(launcher.Gadgets[5]->Caption(), "a long docum");
    ASSERT_TRUE(QFile::link(tree.bin() + "/kavro-recorder", tree.bin() + "/xdg-open"));
    const MadeUpApplications::Run run = tree.runLauncher(path("Launchers/a_long_document_name.txt.sh"));
    EXPECT_EQ(run.program, "xdg-open");
    EXPECT_EQ(run.arguments, QStringList({ document }));
    // The entry's files went with the drop that the second one replaced.
    EXPECT_FALSE(QFileInfo::exists(path("Launchers/calc.sh")));
}

} // namespace
