// Scheme colours and the classic palette.
#include "platform/SystemColors.h"

#include <QApplication>
#include <QPalette>
#include <QStyleFactory>

namespace platform {

namespace {

// The classic scheme, indexed like the system's colour indexes 0 to 30.
constexpr QRgb classicScheme[] = {
    qRgb(192, 192, 192),
    qRgb(0, 128, 128),
    qRgb(0, 0, 128),
    qRgb(128, 128, 128),
    qRgb(192, 192, 192),
    qRgb(255, 255, 255),
    qRgb(0, 0, 0),
    qRgb(0, 0, 0),
    qRgb(0, 0, 0),
    qRgb(255, 255, 255),
    qRgb(192, 192, 192),
    qRgb(192, 192, 192),
    qRgb(128, 128, 128),
    qRgb(0, 0, 128),
    qRgb(255, 255, 255),
    qRgb(192, 192, 192),
    qRgb(128, 128, 128),
    qRgb(128, 128, 128),
    qRgb(0, 0, 0),
    qRgb(192, 192, 192),
    qRgb(255, 255, 255),
    qRgb(0, 0, 0),
    qRgb(192, 192, 192),
    qRgb(0, 0, 0),
    qRgb(255, 255, 225),
    qRgb(180, 180, 180),
    qRgb(0, 0, 255),
    qRgb(16, 132, 208),
    qRgb(181, 181, 181),
    qRgb(0, 0, 128),
    qRgb(192, 192, 192),
};
constexpr int schemeSize = int(sizeof classicScheme / sizeof classicScheme[0]);

bool paletteRole(int index, QPalette::ColorRole& role)
{
    switch (index) {
    case COLOR_WINDOW:
        role = QPalette::Base;
        return true;
    case COLOR_WINDOWTEXT:
        role = QPalette::Text;
        return true;
    case COLOR_HIGHLIGHT:
        role = QPalette::Highlight;
        return true;
    case COLOR_HIGHLIGHTTEXT:
        role = QPalette::HighlightedText;
        return true;
    case COLOR_BTNFACE:
        role = QPalette::Button;
        return true;
    case COLOR_BTNSHADOW:
        role = QPalette::Dark;
        return true;
    case COLOR_BTNTEXT:
        role = QPalette::ButtonText;
        return true;
    case COLOR_BTNHIGHLIGHT:
        role = QPalette::Light;
        return true;
    case COLOR_3DDKSHADOW:
        role = QPalette::Shadow;
        return true;
    case COLOR_3DLIGHT:
        role = QPalette::Midlight;
        return true;
    case COLOR_INFOTEXT:
        role = QPalette::ToolTipText;
        return true;
    case COLOR_INFOBK:
        role = QPalette::ToolTipBase;
        return true;
    default:
        return false;
    }
}

} // namespace

QColor sysColor(int index)
{
    QPalette::ColorRole role;
    if (paletteRole(index, role) && qApp)
        return QApplication::palette().color(QPalette::Active, role);
    if (index >= 0 && index < schemeSize)
        return QColor(classicScheme[index]);
    return QColor(Qt::black);
}

QColor ColorToRGB(qint32 color)
{
    if (color < 0)
        return sysColor(color & 0xFF);
    const quint32 value = quint32(color);
    return QColor(int(value & 0xFF), int((value >> 8) & 0xFF), int((value >> 16) & 0xFF));
}

qint32 RGBToColor(const QColor& color)
{
    return qint32(quint32(color.red()) | (quint32(color.green()) << 8) | (quint32(color.blue()) << 16));
}

void installClassicLook(QApplication& app)
{
    if (QStyle* style = QStyleFactory::create(QStringLiteral("Windows")))
        app.setStyle(style);
    QPalette palette;
    const auto c = [](int index) { return QColor(classicScheme[index]); };
    palette.setColor(QPalette::Window, c(COLOR_BTNFACE));
    palette.setColor(QPalette::WindowText, c(COLOR_WINDOWTEXT));
    palette.setColor(QPalette::Base, c(COLOR_WINDOW));
    palette.setColor(QPalette::AlternateBase, c(COLOR_BTNFACE));
    palette.setColor(QPalette::Text, c(COLOR_WINDOWTEXT));
    palette.setColor(QPalette::Button, c(COLOR_BTNFACE));
    palette.setColor(QPalette::ButtonText, c(COLOR_BTNTEXT));
    palette.setColor(QPalette::Light, c(COLOR_BTNHIGHLIGHT));
    palette.setColor(QPalette::Midlight, c(COLOR_3DLIGHT));
    palette.setColor(QPalette::Dark, c(COLOR_BTNSHADOW));
    palette.setColor(QPalette::Mid, QColor(160, 160, 160));
    palette.setColor(QPalette::Shadow, c(COLOR_3DDKSHADOW));
    palette.setColor(QPalette::Highlight, c(COLOR_HIGHLIGHT));
    palette.setColor(QPalette::HighlightedText, c(COLOR_HIGHLIGHTTEXT));
    palette.setColor(QPalette::ToolTipBase, c(COLOR_INFOBK));
    palette.setColor(QPalette::ToolTipText, c(COLOR_INFOTEXT));
    palette.setColor(QPalette::Disabled, QPalette::Text, c(COLOR_GRAYTEXT));
    palette.setColor(QPalette::Disabled, QPalette::WindowText, c(COLOR_GRAYTEXT));
    palette.setColor(QPalette::Disabled, QPalette::ButtonText, c(COLOR_GRAYTEXT));
    app.setPalette(palette);
}

} // namespace platform
