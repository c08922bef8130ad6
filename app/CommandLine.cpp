// Command-line options.
#include "app/CommandLine.h"

#include "KavroBuild.h"
#include "appmenus/Autostart.h"
#include "appmenus/UserFolder.h"
#include "platform/Dialogs.h"
#include "platform/FilePaths.h"
#include "platform/SingleInstance.h"
#include "platform/XdgPaths.h"
#include "rtl/Errors.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QDir>
#include <QGuiApplication>
#include <cstdio>
#include <utility>

namespace {

void print(std::FILE* to, const QString& text)
{
    std::fputs(text.toLocal8Bit().constData(), to);
    std::fflush(to);
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
    QStringList words;
    for (int i = 1; i < argc; ++i)
        words.append(QString::fromLocal8Bit(argv[i]));
    parse(words);
}

CommandLine::CommandLine(const QStringList& words) { parse(words); }

void CommandLine::fail(const QString& error)
{
    action_ = Action::UsageError;
    show_.reset();
    if (error_.isEmpty())
        error_ = error;
}

void CommandLine::parse(const QStringList& given)
{
    QStringList words { QStringLiteral("KavroStart") };
    for (qsizetype i = 0; i < given.size(); ++i) {
        const QString& word = given[i];
        if (word == u"--")
            fail(QStringLiteral("unknown option --"));
        // Single-dash options are the toolkit's (-platform, -style ...) and pass through.
        if (word.startsWith(u'-') && !word.startsWith(QLatin1String("--")) && word != u"-h")
            continue;
        words.append(word);
        // A --show with no word of its own after it shows the control box.
        if (word == u"--show" && (i + 1 == given.size() || given[i + 1].startsWith(u'-')))
            words.append(showWord(ShowTarget::Box));
    }
    QCommandLineParser parser;
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    const QCommandLineOption makeMenus(QStringLiteral("make-menus"), {}, QStringLiteral("FOLDER"));
    const QCommandLineOption autostart(QStringLiteral("autostart"), {}, QStringLiteral("on|off"));
    const QCommandLineOption show(QStringLiteral("show"), {}, QStringLiteral("WHAT"));
    parser.addOptions({ QCommandLineOption(QStringList { QStringLiteral("h"), QStringLiteral("help") }),
        QCommandLineOption(QStringLiteral("version")), QCommandLineOption(QStringLiteral("user-folder")),
        QCommandLineOption(QStringLiteral("force")), makeMenus, autostart, show });
    const bool parsed = parser.parse(words);
    if (!parser.unknownOptionNames().isEmpty())
        fail(QStringLiteral("unknown option --%1").arg(parser.unknownOptionNames().constFirst()));

    static const QList<std::pair<QString, Action>> actions { { QStringLiteral("h"), Action::Help },
        { QStringLiteral("help"), Action::Help }, { QStringLiteral("version"), Action::Version },
        { QStringLiteral("make-menus"), Action::MakeMenus }, { QStringLiteral("autostart"), Action::Autostart },
        { QStringLiteral("show"), Action::Show } };
    for (const QString& name : parser.optionNames()) {
        userFolder_ = userFolder_ || name == u"user-folder";
        force_ = force_ || name == u"force";
        for (const auto& [option, action] : actions) {
            if (name != option || action_ == action || action_ == Action::UsageError)
                continue;
            if (action_ == Action::Start)
                action_ = action;
            else
                fail(QStringLiteral("%1%2 cannot be combined with the other options")
                         .arg(name.size() == 1 ? "-" : "--", name));
        }
    }

    if (action_ == Action::MakeMenus) {
        argument_ = parser.value(makeMenus);
        if (argument_.isEmpty())
            fail(QStringLiteral("--make-menus needs the folder to write into"));
    } else if (action_ == Action::Autostart) {
        argument_ = parser.value(autostart);
        if (argument_ != u"on" && argument_ != u"off")
            fail(QStringLiteral("--autostart takes on or off"));
    } else if (action_ == Action::Show) {
        show_ = showTargetOf(parser.value(show));
        if (!show_)
            fail(QStringLiteral("--show takes %1, not \"%2\"").arg(showWords(), parser.value(show)));
    }
    if ((action_ == Action::Start || action_ == Action::Show) && force_)
        fail(QStringLiteral("--force goes with --make-menus only"));
    if ((action_ == Action::MakeMenus || action_ == Action::Autostart) && userFolder_)
        fail(QStringLiteral("--user-folder starts the program and cannot go with --make-menus or --autostart"));
    // What the parser alone saw, such as a value given to an option that takes none.
    if (!parsed)
        fail(parser.errorText());
}

QString CommandLine::helpText()
{
    return QStringLiteral("Usage: KavroStart [--user-folder]\n"
                          "       KavroStart --show [WHAT] [--user-folder]\n"
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
                          "  --show [WHAT]        show WHAT in front with the keyboard focus, as the control\n"
                          "                       box's buttons do: box (the default), launcher, planner,\n"
                          "                       alarm, blanker or notes; starts the program first when it\n"
                          "                       is not running\n"
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
    case Action::Show: {
        // The channel is named after the program file, which needs the
        // application object to be known; no display is needed.
        int argc = argc_;
        const QCoreApplication app(argc, argv_);
        if (TPreviousInstance::askRunningCopy(defaultApplicationTitle(platform::programFilePath()),
                platform::runtimeFolder(), TPreviousInstance::showRequest(*show_)))
            return 0;
        // Nobody answered: the program starts and shows the window itself.
        return std::nullopt;
    }
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
        if (platform::fileExistsIgnoringCase(mainMenu) && !force_) {
            print(stderr, QStringLiteral("KavroStart: %1 is there already; --force replaces it.\n").arg(mainMenu));
            return 1;
        }
        try {
            const appmenus::MadeMenus made = makeInstalledApplicationMenus(folder);
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
