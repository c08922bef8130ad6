// The pictures of the bit button's predefined kinds, built into the program.
#pragma once

#include <QImage>
#include <QString>

// The picture named "BBOK", "BBCANCEL", "BBHELP", "BBYES", "BBNO", "BBCLOSE",
// "BBABORT", "BBRETRY", "BBIGNORE" or "BBALL": two images side by side,
// 36 x 18 ("BBALL" 36 x 19). A null image for any other name.
QImage kindGlyph(const QString& name);
