// The record of what the program wrote into the menus it made from the
// applications, kept beside them in ConFigs: for every part of every page
// (line 1, each gadget, each column title) a hash of the lines it wrote, so
// a later change can tell the program's parts from those the user edited.
#pragma once

#include <QByteArray>
#include <QList>
#include <QMap>
#include <QString>
#include <array>
#include <optional>

namespace appmenus {

// One part of a page as the program wrote it.
struct MadePart {
    QByteArray hash; // of the lines it wrote; empty for a part that is the user's
    QString application; // the id of the application a gadget runs (kept when the user edits it)
};

struct MenuRecord {
    // Line 1, the 56 gadgets, the four column titles.
    static constexpr int PartCount = 1 + 56 + 4;

    struct Page {
        QString file; // name in ConFigs
        int column = -1; // the column a further page continues; -1 for the main menu
        std::array<MadePart, PartCount> parts;
    };

    QMap<QString, QString> stems; // application id -> the file stem of its launcher and picture, for good
    QList<Page> pages; // the main menu first, then each column's further pages in order

    QByteArray text() const;
    // Nothing for a text that is not a whole record (missing parts, a bad column, an unknown line).
    static std::optional<MenuRecord> parse(const QByteArray& text);

    // The record's file name in ConFigs.
    static QString fileName();
};

// The hash recorded for a part of these lines.
QByteArray madeHash(const QList<QByteArray>& lines);

} // namespace appmenus
