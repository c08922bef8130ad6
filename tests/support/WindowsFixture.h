// A start folder with a menu, the program's seven windows built on it, and recorded message boxes.
#pragma once

#include "app/Startup.h"
#include "session/Session.h"
#include "support/TestSupport.h"

#include <QDir>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <memory>
#include <optional>

class WindowsFixture : public ::testing::Test {
protected:
    // Writes `lines` as ConFigs/Main.ini (none when empty) and builds the windows.
    void start(const QList<QByteArray>& mainMenu);
    void TearDown() override;

    QString path(const QString& relative) const { return dir_.filePath(relative); }
    // Writes a menu file of these lines with CR LF ends.
    void writeMenu(const QString& relative, const QList<QByteArray>& lines) const;
    QString writeBitmap(const QString& relative, QSize size, QColor colour) const;
    QString writeRecorderScript(const QString& relative) const;

    QTemporaryDir dir_;
    std::optional<testing_support::ScopedCurrentFolder> inDir_;
    testing_support::RecordingDialogs dialogs_;
    std::unique_ptr<Windows> windows_;
};
