// Storing the editor's values into the current menu and writing menu files.
#pragma once

#include "session/Menu.h"

#include <QByteArray>
#include <QString>
#include <array>
#include <optional>

// The three edit boxes that every save stores.
struct GadgetEditBoxes {
    QString GadgetName; // Edit1
    QString FilesPath; // Edit2
    QString GraphicPath; // Edit3
};

// Everything Save/Close stores into the edited gadget and the column titles.
struct GadgetEditorValues {
    GadgetEditBoxes Boxes;
    std::optional<QByteArray> StartMode; // "Run", "Menu", "None"; nothing when no button is selected
    std::optional<QByteArray> GraphicSide; // "0", "1", "2"; nothing when no button is selected
    // Stored colour values, scheme colours allowed; nothing keeps the line.
    std::optional<qint32> FontColor;
    std::optional<qint32> BackColor;
    std::optional<QString> FontName; // a face chosen in the font dialog during this opening
    std::array<QString, 4> ColumnTitles; // Edit4 to Edit7
};

class MenuSaver final {
public:
    // Raises rtl::Exception naming the value when one of them holds a
    // carriage return or a Ctrl-Z character, which would split its line or
    // end the file's data when read back.
    static void checkValues(const GadgetEditBoxes& boxes);
    static void checkValues(const GadgetEditorValues& values);

    // Stores the three edit boxes into the edited gadget (files path, then
    // name, then graphic path), then writes all 453 lines to `path`.
    static void SaveMenu(CurrentMenu& menu, const GadgetEditBoxes& boxes, const QString& path);

    // Save/Close's storing: start mode, side, font colour, back colour, font
    // name and titles, in that order; colours as their current RGB value.
    // The three edit boxes are stored by SaveMenu.
    static void storeValues(CurrentMenu& menu, const GadgetEditorValues& values);

    // Save As: writes `chosenName` + ".ini" from a copy of the menu with the
    // three edit boxes stored into it; the menu itself takes them only when
    // the target is its own file. Returns the file written.
    static QString SaveMenuAs(CurrentMenu& menu, const GadgetEditBoxes& boxes, const QString& chosenName);

    // Replaces the file with lines 1 to 453, each ended by CR LF, in one
    // step: a failed write raises the input/output error and leaves the old
    // file as it was.
    static void writeMenuFile(const CurrentMenu& menu, const QString& path);

    // The bytes to store for an edited text: the line's own bytes when the
    // text still reads as them, so untouched values keep their bytes.
    static QByteArray encodeLike(const QString& text, const QByteArray& original);

    // Whether two paths name the same existing file.
    static bool sameFile(const QString& a, const QString& b);
};
