// The program's command-line options. --help, --version, --make-menus and
// --autostart do their work and end the program before any window exists;
// --user-folder chooses the start folder of a normal start.
#pragma once

#include <QString>
#include <optional>

class CommandLine final {
public:
    CommandLine(int argc, char** argv);

    // The exit code when the options end the program at once (their work
    // done, or a usage error reported); nullopt for a normal start.
    std::optional<int> runAndEnd() const;

    // With --user-folder, once the application object exists: makes the
    // user's start folder on first use and makes it the current folder.
    // False, after an error box, when that fails.
    bool enterStartFolder() const;

    // The text of --help.
    static QString helpText();

private:
    enum class Action { Start, Help, Version, MakeMenus, Autostart, UsageError };

    Action action_ = Action::Start;
    bool userFolder_ = false;
    bool force_ = false;
    QString argument_; // the folder of --make-menus, "on" or "off" of --autostart
    QString error_;
    int argc_;
    char** argv_;
};
