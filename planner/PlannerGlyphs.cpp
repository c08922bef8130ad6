// Planner pictures: letter-drawn where their edges are square, painted
// where they are smooth.
#include "planner/PlannerGlyphs.h"

#include "controls/PixelArt.h"

#include <QPainter>

namespace plannerglyphs {

namespace {

// Outlines stay off pure black, which a button may take for its background.
constexpr QRgb ink = qRgb(24, 24, 40);

constexpr pixelart::Paint paints[] = {
    { 'k', ink },
    { 'n', qRgb(0, 0, 128) },
    { 'b', qRgb(0, 0, 160) },
    { 'd', qRgb(128, 128, 128) },
    { 's', qRgb(240, 240, 240) },
    { 'w', qRgb(255, 255, 255) },
    { 'y', qRgb(255, 255, 225) },
    { 'r', qRgb(200, 0, 0) },
    { 'g', qRgb(0, 128, 0) },
    { 'o', qRgb(255, 204, 0) },
};

QImage fromRows(std::initializer_list<const char*> rows) { return pixelart::fromRows(rows, paints); }

// `image` with a smooth-edged drawing over it.
template <class Draw> QImage drawnSmoothly(QImage image, Draw&& draw)
{
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    draw(p);
    p.end();
    return image;
}

QImage blank()
{
    QImage image(16, 16, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    return image;
}

QImage box()
{
    return fromRows({
        "................",
        "................",
        "................",
        "..kkkkkkkkkkk...",
        "..kwwwwwwwwwk...",
        "..kwwwwwwwwwk...",
        "..kwwwwwwwwwk...",
        "..kwwwwwwwwwk...",
        "..kwwwwwwwwwk...",
        "..kwwwwwwwwwk...",
        "..kwwwwwwwwwk...",
        "..kwwwwwwwwwk...",
        "..kwwwwwwwwwk...",
        "..kkkkkkkkkkk...",
        "................",
        "................",
    });
}

} // namespace

QImage arrowLeft()
{
    return fromRows({
        "................",
        "................",
        "................",
        ".........n......",
        "........nn......",
        ".......nnn......",
        "......nnnn......",
        ".....nnnnn......",
        ".....nnnnn......",
        "......nnnn......",
        ".......nnn......",
        "........nn......",
        ".........n......",
        "................",
        "................",
        "................",
    });
}

QImage arrowRight()
{
    return fromRows({
        "................",
        "................",
        ".....n..........",
        ".....nn.........",
        ".....nnn........",
        ".....nnnn.......",
        ".....nnnnn......",
        ".....nnnnnn.....",
        ".....nnnnnn.....",
        ".....nnnnn......",
        ".....nnnn.......",
        ".....nnn........",
        ".....nn.........",
        ".....n..........",
        "................",
        "................",
    });
}

QImage refresh()
{
    return drawnSmoothly(blank(), [](QPainter& p) {
        p.setPen(QPen(QColor(0, 128, 0), 2));
        p.drawArc(QRectF(3, 3, 10, 10), 60 * 16, 270 * 16);
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(0, 128, 0));
        p.drawPolygon(QPolygonF({ QPointF(9, 0.5), QPointF(14, 3.5), QPointF(9, 7) }));
    });
}

QImage clearDay()
{
    return fromRows({
        "................",
        "..kkkkkkkkkkk...",
        "..kyyyyyyyyyk...",
        "..kyyyyyyyyyk...",
        "..kydddddddyk...",
        "..kyyyyyyyyyk...",
        "..kyyyrryyyykrr.",
        "..kyddrrrddyrrr.",
        "..kyyyyrrryrrr..",
        "..kyyyyyrrrrr...",
        "..kydddddrrrk...",
        "..kyyyyyrrrrr...",
        "..kyyyyrrryrrr..",
        "..kyyyrrryyyrrr.",
        "..kkkkrrkkkkkrr.",
        "................",
    });
}

QList<QImage> treeImages()
{
    const QImage year = fromRows({
        "................",
        "...kkkkkkkkkkk..",
        "...kbbbbbbbbbk..",
        "...kbbbbbbbbbk..",
        "...kbbbbbbbbbk..",
        "...kbbbbbbbbbk..",
        "...kbbbbbbbbbk..",
        "...kbbbbbbbbbk..",
        "...kbbbbbbbbbk..",
        "...kbbbbbbbbbk..",
        "...kbbbbbbbbbk..",
        "...kbbbbbbbbbk..",
        "...kkkkkkkkkkk..",
        "...ksssssssssk..",
        "...kkkkkkkkkkk..",
        "................",
    });
    const QImage month = fromRows({
        "................",
        "................",
        ".kkkkkkkkkkkkkk.",
        ".krrrrrrrrrrrrk.",
        ".krrrrrrrrrrrrk.",
        ".krrrrrrrrrrrrk.",
        ".kwwwwwwwwwwwwk.",
        ".kwwwwwwwwwwwwk.",
        ".kwdwwdwwdwwdwk.",
        ".kwwwwwwwwwwwwk.",
        ".kwdwwdwwdwwdwk.",
        ".kwwwwwwwwwwwwk.",
        ".kwdwwdwwdwwdwk.",
        ".kwwwwwwwwwwwwk.",
        ".kkkkkkkkkkkkkk.",
        "................",
    });
    // Head and shoulders.
    const QImage user = drawnSmoothly(blank(), [](QPainter& p) {
        p.setPen(QColor(ink));
        p.setBrush(QColor(0, 128, 128));
        p.drawEllipse(QRectF(2.5, 9.5, 11, 9));
        p.setBrush(QColor(255, 204, 153));
        p.drawEllipse(QRectF(4.5, 1.5, 7, 7));
    });
    const QImage day = fromRows({
        "................",
        "...kkkkkkkkkk...",
        "...kyyyyyyyyk...",
        "...kyyyyyyyyk...",
        "...kynnnnnnyk...",
        "...kyyyyyyyyk...",
        "...kynnnnnnyk...",
        "...kyyyyyyyyk...",
        "...kynnnnnnyk...",
        "...kyyyyyyyyk...",
        "...kynnnnnnyk...",
        "...kyyyyyyyyk...",
        "...kyyyyyyyyk...",
        "...kyyyyyyyyk...",
        "...kkkkkkkkkk...",
        "................",
    });
    return { year, month, user, day };
}

QList<QImage> listImages()
{
    const QImage done = drawnSmoothly(box(), [](QPainter& p) {
        p.setPen(QPen(QColor(0, 128, 0), 2));
        p.drawPolyline(QPolygonF({ QPointF(4, 8), QPointF(7, 11), QPointF(13, 2) }));
    });
    // Two people.
    const QImage meetings = drawnSmoothly(blank(), [](QPainter& p) {
        p.setPen(QColor(ink));
        p.setBrush(QColor(0, 0, 192));
        p.drawEllipse(QRectF(0.5, 9.5, 8, 6));
        p.drawEllipse(QRectF(2.5, 4.5, 4, 4));
        p.setBrush(QColor(192, 0, 0));
        p.drawEllipse(QRectF(7.5, 9.5, 8, 6));
        p.drawEllipse(QRectF(9.5, 4.5, 4, 4));
    });
    // A check list.
    const QImage tasks = fromRows({
        "................",
        "..kkkkkkkkkkkk..",
        "..kwwwwwwwwwwk..",
        "..kwwwwgwwwwwk..",
        "..kwgwgwwdddwk..",
        "..kwwgwwwwwwwk..",
        "..kwwwwwwwwwwk..",
        "..kwwwwgwwwwwk..",
        "..kwgwgwwdddwk..",
        "..kwwgwwwwwwwk..",
        "..kwwwwwwwwwwk..",
        "..kwwwwgwwwwwk..",
        "..kwgwgwwdddwk..",
        "..kwwgwwwwwwwk..",
        "..kwwwwwwwwwwk..",
        "..kkkkkkkkkkkk..",
    });
    // A folder.
    const QImage projects = fromRows({
        "................",
        "................",
        "................",
        ".kkkkkk.........",
        ".kooook.........",
        ".koooookkkkkkkk.",
        ".kooooooooooook.",
        ".kooooooooooook.",
        ".kooooooooooook.",
        ".kooooooooooook.",
        ".kooooooooooook.",
        ".kooooooooooook.",
        ".kooooooooooook.",
        ".kkkkkkkkkkkkkk.",
        "................",
        "................",
    });
    // A handset.
    const QImage phone = drawnSmoothly(blank(), [](QPainter& p) {
        p.setPen(QColor(ink));
        p.setBrush(QColor(160, 0, 0));
        p.drawRoundedRect(QRectF(1.5, 3.5, 13, 4), 2, 2);
        p.drawRect(QRectF(4.5, 7.5, 7, 6));
        p.setBrush(Qt::white);
        p.drawEllipse(QRectF(6.5, 8.5, 3, 3));
    });
    return { box(), done, meetings, tasks, projects, phone };
}

} // namespace plannerglyphs
