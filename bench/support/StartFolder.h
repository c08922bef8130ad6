// A start folder for the benchmarks: two menus of 56 gadgets, every gadget
// with a 16 x 16 picture of its own, and gadget 1 of each a "Menu" gadget
// that opens the other menu.
#pragma once

#include <QString>

namespace bench {

// Writes ConFigs/Main.ini, ConFigs/Second.ini and Pictures/ under `root`; false when a file cannot be written.
bool writeStartFolder(const QString& root);

QString mainMenuPath(const QString& root);
QString secondMenuPath(const QString& root);

} // namespace bench
