// Colours of the desktop scheme and the conversion of a stored colour value
// (explicit RGB with red in the low byte, or a negative scheme index) to a QColor.
#pragma once

#include <QColor>
#include <QtGlobal>

class QApplication;

namespace platform {

// Scheme colour values as stored in files: the top bit set, the index in the low byte.
constexpr qint32 schemeColor(int index) { return qint32(0x80000000u | quint32(index)); }

constexpr int COLOR_WINDOW = 5;
constexpr int COLOR_WINDOWFRAME = 6;
constexpr int COLOR_WINDOWTEXT = 8;
constexpr int COLOR_HIGHLIGHT = 13;
constexpr int COLOR_HIGHLIGHTTEXT = 14;
constexpr int COLOR_BTNFACE = 15;
constexpr int COLOR_BTNSHADOW = 16;
constexpr int COLOR_GRAYTEXT = 17;
constexpr int COLOR_BTNTEXT = 18;
constexpr int COLOR_BTNHIGHLIGHT = 20;
constexpr int COLOR_3DDKSHADOW = 21;
constexpr int COLOR_3DLIGHT = 22;
constexpr int COLOR_INFOTEXT = 23;
constexpr int COLOR_INFOBK = 24;

constexpr qint32 clBtnFace = schemeColor(COLOR_BTNFACE);
constexpr qint32 clWindow = schemeColor(COLOR_WINDOW);
constexpr qint32 clWindowText = schemeColor(COLOR_WINDOWTEXT);
constexpr qint32 clHighlight = schemeColor(COLOR_HIGHLIGHT);
constexpr qint32 clInfoBk = schemeColor(COLOR_INFOBK);

// The scheme colour with this index, from the application's palette where
// it has a matching role, otherwise the classic scheme's value.
QColor sysColor(int index);

// The colour a stored value stands for.
QColor ColorToRGB(qint32 color);

// The stored value of an explicit colour (red in the lowest byte).
qint32 RGBToColor(const QColor& color);

// Installs the classic desktop scheme as the application's palette and its
// plain, square-edged widget style.
void installClassicLook(QApplication& app);

} // namespace platform
