// Menu saving.
#include "editor/MenuSaver.h"

#include "platform/FileIO.h"
#include "platform/SystemColors.h"
#include "rtl/Errors.h"
#include "rtl/TextFile.h"

#include <QFileInfo>

namespace {

[[noreturn]] void refuse(const QString& what)
{
    throw rtl::Exception(
        QStringLiteral("The %1 holds a carriage return or a Ctrl-Z character and cannot be saved in a menu file")
            .arg(what));
}

// A carriage return would split the value's line in two and a Ctrl-Z would
// end the file's data when it is read back.
void check(const QString& text, const QString& what)
{
    if (text.contains(u'\r') || text.contains(QChar(26)))
        refuse(what);
}

QByteArray colorText(qint32 color) { return QByteArray::number(platform::RGBToColor(platform::ColorToRGB(color))); }

} // namespace

void MenuSaver::checkValues(const GadgetEditBoxes& boxes)
{
    check(boxes.GadgetName, QStringLiteral("Gadget Name"));
    check(boxes.FilesPath, QStringLiteral("Files Path"));
    check(boxes.GraphicPath, QStringLiteral("Graphic Path"));
}

void MenuSaver::checkValues(const GadgetEditorValues& values)
{
    checkValues(values.Boxes);
    if (values.FontName)
        check(*values.FontName, QStringLiteral("font name"));
    for (int c = 0; c < 4; ++c)
        check(values.ColumnTitles[size_t(c)], QStringLiteral("column title %1").arg(c + 1));
}

QByteArray MenuSaver::encodeLike(const QString& text, const QByteArray& original)
{
    return QString::fromLocal8Bit(original) == text ? original : text.toLocal8Bit();
}

void MenuSaver::SaveMenu(CurrentMenu& menu, const GadgetEditBoxes& boxes, const QString& path)
{
    checkValues(boxes);
    const auto lines = menu.EditedLines();
    auto store = [&](int field, const QString& text) {
        QByteArray& line = menu[lines[size_t(field)]];
        line = encodeLike(text, line);
    };
    store(menufile::FilesPath, boxes.FilesPath);
    store(menufile::GadgetName, boxes.GadgetName);
    store(menufile::GraphicPath, boxes.GraphicPath);
    writeMenuFile(menu, path);
}

void MenuSaver::storeValues(CurrentMenu& menu, const GadgetEditorValues& values)
{
    checkValues(values);
    const auto lines = menu.EditedLines();
    auto line = [&](int field) -> QByteArray& { return menu[lines[size_t(field)]]; };
    if (values.StartMode)
        line(menufile::StartMode) = *values.StartMode;
    if (values.GraphicSide)
        line(menufile::GraphicSide) = *values.GraphicSide;
    if (values.FontColor)
        line(menufile::FontColor) = colorText(*values.FontColor);
    if (values.BackColor)
        line(menufile::BackColor) = colorText(*values.BackColor);
    if (values.FontName)
        line(menufile::FontName) = encodeLike(*values.FontName, line(menufile::FontName));
    for (int c = 1; c <= menufile::ColumnCount; ++c) {
        QByteArray& title = menu[menufile::columnTitleLine(c)];
        title = encodeLike(values.ColumnTitles[size_t(c - 1)], title);
    }
}

QString MenuSaver::SaveMenuAs(CurrentMenu& menu, const GadgetEditBoxes& boxes, const QString& chosenName)
{
    QString target = chosenName + QStringLiteral(".ini");
    if (sameFile(target, menu.MenuFileName)) {
        SaveMenu(menu, boxes, target);
    } else {
        CurrentMenu copy = menu;
        SaveMenu(copy, boxes, target);
    }
    return target;
}

void MenuSaver::writeMenuFile(const CurrentMenu& menu, const QString& path)
{
    QList<QByteArray> lines;
    lines.reserve(menufile::LineCount);
    for (int i = 1; i <= menufile::LineCount; ++i) {
        if (menu[i].contains('\r') || menu[i].contains(char(26)))
            refuse(QStringLiteral("menu line %1").arg(i));
        lines.append(menu[i]);
    }
    platform::replaceFileAtomically(path, rtl::joinCrLf(lines));
}

bool MenuSaver::sameFile(const QString& a, const QString& b)
{
    const QString first = QFileInfo(a).canonicalFilePath();
    return !first.isEmpty() && first == QFileInfo(b).canonicalFilePath();
}
