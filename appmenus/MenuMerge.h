// The layout of the menus made from the applications, and how they follow
// later changes: what the program made is told from what the user changed by
// a record of the made parts kept beside the menus (MenuRecord), so a new
// application takes a free place, a gone one's gadget goes, and whatever the
// user edited or added stays as it is. No files are read or written here
// (MenuMaker does that).
#pragma once

#include "appmenus/MenuRecord.h"
#include "session/Menu.h"

#include <QByteArray>
#include <QColor>
#include <QHash>
#include <QList>
#include <QSet>
#include <QString>
#include <QStringList>
#include <array>

namespace appmenus {

// The column (0 to 3) of an application: the group of the first main
// category among `categories`; the last column when there is none.
int columnOf(const QStringList& categories);

// The title of column `column` (0 to 3).
QString columnTitle(int column);

// The order of applications in a column: by name alone, whatever the
// locale, so the same applications give the same menus.
bool listedBefore(const QString& name, const QString& id, const QString& otherName, const QString& otherId);

// An application as its gadget shows it.
struct MenuApplication {
    QString id;
    QString name;
    int column = 0;
    QString launcher; // full path of its launcher script
    QString picture; // full path of its picture; empty for none
};

// The ConFigs folder as the merge finds it.
struct MenuFolder {
    QString configs; // its full path
    MenuRecord record; // what the program made there last; no pages before the first making
    QHash<QString, QByteArray> pages; // the bytes of each recorded page that is a plain file, by file name
    QSet<QString> names; // the lower-case name of everything in the folder
};

struct MergedMenus {
    bool followed = false; // false when the main menu is gone: nothing was merged
    QList<QPair<QString, QByteArray>> pages; // full path and content of each page to write, the main menu first
    QStringList removed; // full paths of further pages no longer needed
    MenuRecord record;
    QHash<QString, QColor> faces; // the face of each application's made gadget, by id
};

class MenuMerge final {
public:
    explicit MenuMerge(const MenuFolder& folder);

    // The pages for `applications`: a page the user made unreadable for the
    // merge (lines that do not read back as written, a link) is left alone;
    // in the others every part whose lines still hash as recorded is the
    // program's and is made again, every other part is kept as it is.
    MergedMenus merge(QList<MenuApplication> applications);

private:
    enum class Kind { User, Empty, App, Link }; // Link: a made "More …" or "Back"
    struct Slot {
        std::array<QByteArray, 8> lines;
        Kind kind = Kind::Empty;
        QString application; // id; kept on a user's slot so the application is not placed twice
    };
    struct Page {
        QString file; // name in ConFigs
        int column = -1; // -1 for the main menu
        bool frozen = false; // never written
        std::array<QByteArray, 1 + menufile::ColumnCount> text {}; // line 1 and the column titles
        std::array<bool, 1 + menufile::ColumnCount> textMade {};
        std::array<Slot, menufile::GadgetCount> gadgets;
        std::array<MadePart, MenuRecord::PartCount> before; // the record of a frozen page, kept
    };

    void read(const MenuRecord::Page& recorded, const QHash<QString, QByteArray>& onDisk);
    Page newPage(int column, int number) const;
    QList<int> chain(int column) const; // indexes into pages_: the main menu, then the column's further pages
    bool place(const MenuApplication& app);
    void trim(int column);
    void relink(int column);
    QString path(const QString& file) const { return configs_ + u'/' + file; }

    QString configs_;
    QSet<QString> names_;
    bool followed_ = true;
    QList<Page> pages_;
    QStringList removed_;
    QMap<QString, QString> stems_;
};

} // namespace appmenus
