// The program's command-line options. --help, --version, --make-menus and
// --autostart do their work and end the program before any window exists;
// --show hands its request to a running copy and ends, or else starts the
// program, which then carries it out itself; --user-folder chooses the start
// folder of a normal start.
#pragma once

#include "desk/Just1_32.h"

#include <QString>
#include <QStringList>
#include <optional>

class CommandLine final {
public:
    CommandLine(int argc, char** argv);
    // The words after the program's name, as they would come in argv.
    explicit CommandLine(const QStringList& words);

    // The exit code when the options end the program at once (their work
    // done, or a usage error reported); nullopt for a normal start.
    std::optional<int> runAndEnd() const;

    // With --user-folder, once the application object exists: makes the
    // user's start folder on first use and makes it the current folder.
    // False, after an error box, when that fails.
    bool enterStartFolder() const;

    // The window --show asks for; nullopt without --show.
    std::optional<ShowTarget> show() const { return show_; }
    // What is wrong with the options; empty when nothing is.
    const QString& usageError() const { return error_; }
    bool userFolder() const { return userFolder_; }

    // The text of --help.
    static QString helpText();

private:
    enum class Action { Start, Help, Version, MakeMenus, Autostart, Show, UsageError };

    void parse(const QStringList& words);
    void fail(const QString& error);

    Action action_ = Action::Start;
    bool userFolder_ = false;
    bool force_ = false;
    std::optional<ShowTarget> show_;
    QString argument_; // the folder of --make-menus, "on" or "off" of --autostart
    QString error_;
    int argc_ = 0;
    char** argv_ = nullptr;
};
