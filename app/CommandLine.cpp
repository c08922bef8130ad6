// Command-line options.
#include "app/CommandLine.h"

#include "KavroBuild.h"
#include "desktop/Autostart.h"
#include "desktop/UserFolder.h"
#include "platform/Dialogs.h"
#include "platform/Files.h"
#include "platform/XdgPaths.h"
#include "rtl/Errors.h"

#include <QCoreApplication>
#include <QDir>
#include <QGuiApplication>
#include <cstdio>

namespace {

void print(std::FILE* to, const QString& text)
{
    std::fputs(text.toLocal8Bit().constData(), to);
    std::fflush(to);
}

// Options that take a value accept it as the next word or after "=".
bool takeValue(const QString& word, const QString& option, int& i, int argc, char** argv, QString& value)
{
    if (word.startsWith(option + u'=')) {
        value = word.mid(option.size() + 1);
        return true;
    }
    if (word != option)
        return false;
    value = i + 1 < argc ? QString::fromLocal8Bit(argv[++i]) : QString();
    return true;
}

QString notesProgramBesideProgram()
{
    return platform::folderOf(platform::programFilePath()) + QStringLiteral("/PinNotes");
}

} // namespace

CommandLine::CommandLine(int argc, char** argv)
    : argc_(argc)
    , argv_(argv)
{
    const auto chooseAction = [this](Action action, const QString& word) {
        if (action_ != Action::Start && action_ != action) {
            action_ = Action::UsageError;
            error_ = QStringLiteral("%1 cannot be combined with the other options").arg(word);
        } else {
            action_ = action;
        }
    };
    for (int i = 1; i < argc && action_ != Action::UsageError; ++i) {
        const QString word = QString::fromLocal8Bit(argv[i]);
        QString value;
        if (word == u"--help" || word == u"-h") {
            chooseAction(Action::Help, word);
        } else if (word == u"--version") {
            chooseAction(Action::Version, word);
        } else if (word == u"--user-folder") {
            userFolder_ = true;
        } else if (word == u"--force") {
            force_ = true;
        } else if (takeValue(word, QStringLiteral("--make-menus"), i, argc, argv, value)) {
            chooseAction(Action::MakeMenus, word);
            argument_ = value;
            if (value.isEmpty()) {
                action_ = Action::UsageError;
                error_ = QStringLiteral("--make-menus needs the folder to write into");
            }
        } else if (takeValue(word, QStringLiteral("--autostart"), i, argc, argv, value)) {
            chooseAction(Action::Autostart, word);
            argument_ = value;
            if (value != u"on" && value != u"off") {
                action_ = Action::UsageError;
                error_ = QStringLiteral("--autostart takes on or off");
            }
        } else if (word.startsWith(QLatin1String("--"))) {
            // Single-dash options are the toolkit's (-platform, -style ...) and pass through.
            action_ = Action::UsageError;
            error_ = QStringLiteral("unknown option %1").arg(word);
        }
    }
    if (action_ == Action::Start && force_) {
        action_ = Action::UsageError;
        error_ = QStringLiteral("--force goes with --make-menus only");
    }
    if ((action_ == Action::MakeMenus || action_ == Action::Autostart) && userFolder_) {
        action_ = Action::UsageError;
        error_ = QStringLiteral("--user-folder starts the program and cannot go with --make-menus or --autostart");
    }
}

QString CommandLine::helpText()
{
    return QStringLiteral("Usage: KavroStart [--user-folder]\n"
                          "       KavroStart --make-menus FOLDER [--force]\n"
                          "       KavroStart --autostart on|off\n"
                          "       KavroStart --help | --version\n"
                          "\n"
                          "Kavro Start is a program launcher with a clock and desk accessories. Started\n"
                          "without options it finds its menus, sounds and planner files in the working\n"
                          "folder (ConFigs/Main.ini first of all).\n"
                          "\n"
                          "  --user-folder        use the user's own start folder, $XDG_DATA_HOME/kavro-start\n"
                          "                       (~/.local/share/kavro-start), made on first use with menus\n"
                          "                       of the installed applications, the sounds and the note\n"
                          "                       program; an existing folder is never overwritten\n"
                          "  --make-menus FOLDER  write menus of the installed applications into FOLDER:\n"
                          "                       ConFigs/Main.ini and its further menus, Launchers/ and\n"
                          "                       Pictures/; an existing ConFigs/Main.ini is kept\n"
                          "  --force              with --make-menus: replace an existing ConFigs/Main.ini\n"
                          "  --autostart on|off   start the control box at log-in with the user's own start\n"
                          "                       folder, or no longer\n"
                          "  --help               show this text\n"
                          "  --version            show the version\n");
}

std::optional<int> CommandLine::runAndEnd() const
{
    switch (action_) {
    case Action::Start:
        return std::nullopt;
    case Action::Help:
        print(stdout, helpText());
        return 0;
    case Action::Version:
        print(stdout, QStringLiteral("Kavro Start " KAVRO_VERSION "\n"));
        return 0;
    case Action::UsageError:
        print(stderr, QStringLiteral("KavroStart: %1\nTry KavroStart --help.\n").arg(error_));
        return 2;
    case Action::Autostart: {
        int argc = argc_;
        QCoreApplication app(argc, argv_);
        try {
            setAutostart(argument_ == u"on", platform::programFilePath());
        } catch (const rtl::Exception& error) {
            print(stderr, QStringLiteral("KavroStart: %1: %2\n").arg(autostartEntryPath(), error.message()));
            return 1;
        }
        print(stdout,
            argument_ == u"on" ? QStringLiteral("Kavro Start starts at log-in: %1\n").arg(autostartEntryPath())
                               : QStringLiteral("Kavro Start no longer starts at log-in.\n"));
        return 0;
    }
    case Action::MakeMenus: {
        // Icons need a graphical application object, never a window: without a
        // display the offscreen platform will do.
        if (qEnvironmentVariableIsEmpty("DISPLAY") && qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY")
            && qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
            qputenv("QT_QPA_PLATFORM", "offscreen");
        int argc = argc_;
        QGuiApplication app(argc, argv_);
        const QString folder = QDir(argument_).absolutePath();
        const QString mainMenu = platform::dataPath(folder, QStringLiteral("\\ConFigs\\Main.ini"));
        if (platform::FileExists(mainMenu) && !force_) {
            print(stderr, QStringLiteral("KavroStart: %1 is there already; --force replaces it.\n").arg(mainMenu));
            return 1;
        }
        try {
            const menus::MadeMenus made = makeInstalledApplicationMenus(folder);
            print(stdout,
                QStringLiteral("Made %1: %2 applications, %3 pictures, %4 menu file%5.\n")
                    .arg(made.mainMenu)
                    .arg(made.applications)
                    .arg(made.pictures)
                    .arg(made.menus.size())
                    .arg(made.menus.size() == 1 ? "" : "s"));
        } catch (const rtl::Exception& error) {
            print(stderr, QStringLiteral("KavroStart: %1\n").arg(error.message()));
            return 1;
        }
        return 0;
    }
    }
    return std::nullopt;
}

bool CommandLine::enterStartFolder() const
{
    if (!userFolder_)
        return true;
    const QString folder = xdg::programDataFolder();
    try {
        prepareUserFolder(folder, notesProgramBesideProgram());
        platform::setCurrentFolder(folder);
    } catch (const rtl::Exception& error) {
        print(stderr, QStringLiteral("KavroStart: %1: %2\n").arg(folder, error.message()));
        platform::reportException(error);
        return false;
    }
    return true;
}
