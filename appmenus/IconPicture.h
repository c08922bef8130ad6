// Application icons as gadget pictures: found through the icon theme of the
// XDG data folders, laid on the gadget's face colour, written as bitmaps.
#pragma once

#include <QColor>
#include <QHash>
#include <QImage>
#include <QString>
#include <QStringList>

class IconLookup final {
public:
    // Points the icon theme lookup at the icons/ and pixmaps/ folders of
    // `dataFolders` for the lifetime of the object. An empty `theme` keeps
    // the desktop's theme; hicolor is taken when the desktop names none or
    // the theme is in none of the folders.
    explicit IconLookup(const QStringList& dataFolders, const QString& theme = {});
    ~IconLookup();
    IconLookup(const IconLookup&) = delete;
    IconLookup& operator=(const IconLookup&) = delete;

    // The icon a desktop entry's Icon value names (a theme name, or an
    // absolute PNG, SVG or XPM file) at `side` x `side` pixels; a null image
    // when there is none. Of a theme icon the smallest bitmap at least
    // `side` pixels large is taken where the theme has one: some scalable
    // icons come out wrong from Qt's SVG renderer.
    QImage find(const QString& icon, int side) const;

private:
    struct Theme {
        QStringList folders; // below each icons/ folder that holds the theme
        QStringList inherits;
    };
    const Theme& theme(const QString& name) const;
    QImage themeBitmap(const QString& name, int side) const;

    QStringList iconFolders_;
    QString theme_;
    mutable QHash<QString, Theme> themes_;
    QStringList savedSearchPaths_;
    QStringList savedFallbackPaths_;
    QString savedTheme_;
};

// The side of a gadget's picture, in pixels.
constexpr int gadgetPictureSide = 18;

// A `side` x `side` picture of `face` with `icon` centred in it and a margin of
// at least one pixel, so the corner pixels (the launcher's transparent
// colour) are the face colour itself.
QImage gadgetPicture(const QImage& icon, QColor face, int side);
