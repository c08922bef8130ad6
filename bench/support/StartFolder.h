// A start folder for the benchmarks: two menus of 56 gadgets, every gadget
// with a 16 x 16 picture of its own, and gadget 1 of each a "Menu" gadget
// that opens the other menu.
#pragma once

#include <QString>
#include <QTemporaryDir>

namespace bench {

// Writes ConFigs/Main.ini, ConFigs/Second.ini and Pictures/ under `root`; false when a file cannot be written.
bool writeStartFolder(const QString& root);

QString mainMenuPath(const QString& root);
QString secondMenuPath(const QString& root);

// Such a start folder in a temporary folder, removed with this object; when
// it cannot be written, says so on standard error and is not ok().
class TemporaryStartFolder final {
public:
    TemporaryStartFolder();
    bool ok() const { return ok_; }
    QString path() const { return folder_.path(); }

private:
    QTemporaryDir folder_;
    bool ok_ = false;
};

} // namespace bench
