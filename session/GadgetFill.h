// A gadget filled from a program, document, folder or address dropped onto
// it: its caption, and the launcher and picture files it names, which are
// written only when the gadget is saved.
#pragma once

#include "platform/FileIO.h"

#include <QByteArray>
#include <QImage>
#include <QString>
#include <optional>

struct GadgetFile {
    QString path;
    QByteArray content;
    platform::FileMode mode = 0644;

    // Writes the file, making its folder first; raises EInOutError when it cannot.
    void write() const;
};

struct GadgetFill {
    QString caption; // whole: the editor cuts it to a caption's length
    GadgetFile launcher; // the program a "Run" gadget starts
    std::optional<GadgetFile> picture; // none for a gadget without a picture
    QImage image; // the picture as the gadget shows it
};
