// The current menu: the 453 lines of a menu file, the file they came from,
// and the gadget the editor works on.
#pragma once

#include <QByteArray>
#include <QString>
#include <array>

namespace menufile {

constexpr int LineCount = 453;
constexpr int GadgetCount = 56;
constexpr int ColumnCount = 4;
constexpr int RowsPerColumn = 14;

// The eight fields of a gadget, in file order.
enum Field { StartMode = 0, FilesPath, GadgetName, BackColor, FontName, FontColor, GraphicPath, GraphicSide };

// Line of field `field` of gadget `n` (1 to 56): 8n-6+field.
constexpr int gadgetLine(int n, int field) { return 8 * n - 6 + field; }
// Line of column title `c` (1 to 4): 449+c.
constexpr int columnTitleLine(int c) { return 449 + c; }
constexpr int gadgetColumn(int n) { return (n - 1) / RowsPerColumn + 1; }
constexpr int gadgetRow(int n) { return (n - 1) % RowsPerColumn + 1; }

} // namespace menufile

class CurrentMenu final {
public:
    CurrentMenu();

    // Line i of the menu, 1 to 453. Lines stay byte strings: what is not
    // edited is written back exactly as it was read.
    QByteArray& operator[](int i) { return MenuLines[size_t(i)]; }
    const QByteArray& operator[](int i) const { return MenuLines[size_t(i)]; }

    // Replaces the lines with the first 453 lines of the file at `path` and
    // sets MenuFileName. A missing file shows "I Can`t find the ConFig File
    // Check Full Path!" and changes nothing. A file that cannot be read
    // raises the input/output error and also changes nothing, so a later
    // save never writes a half-read menu.
    void LoadMenu(const QString& path);

    // The eight line numbers of gadget EditedGadget, worked out anew.
    std::array<int, 8> EditedLines() const;

    std::array<QByteArray, menufile::LineCount + 1> MenuLines; // entry 0 is unused
    QString MenuFileName;
    int EditedGadget = 0;
};
