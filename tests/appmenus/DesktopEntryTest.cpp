// Desktop entry files: groups, localised values, booleans, lists and the Exec quoting rules.
#include "appmenus/DesktopEntry.h"

#include <gtest/gtest.h>

namespace {

TEST(DesktopEntry, ReadsOnlyTheFirstDesktopEntryGroupAndUndoesStringEscapes)
{
    const DesktopEntry entry = DesktopEntry::parse("# comment\n"
                                                   "Name=Before any group\n"
                                                   "[Desktop Entry]\n"
                                                   "Name = Editor \n"
                                                   "Name=Second value is ignored\n"
                                                   "Comment=one\\stwo\\nthree\\\\four\n"
                                                   "NoDisplay=true\n"
                                                   "Hidden=false\n"
                                                   "Terminal=1\n"
                                                   "Categories=Office;Text\\;Editor;;Utility\n"
                                                   "[Desktop Action New]\n"
                                                   "Exec=not this one\n"
                                                   "[Desktop Entry]\n"
                                                   "Exec=nor this\n");
    ASSERT_TRUE(entry.isValid());
    EXPECT_EQ(entry.value("Name"), "Editor");
    EXPECT_EQ(entry.value("Comment"), "one two\nthree\\four");
    EXPECT_TRUE(entry.boolean("NoDisplay"));
    EXPECT_FALSE(entry.boolean("Hidden"));
    EXPECT_TRUE(entry.boolean("Terminal"));
    EXPECT_FALSE(entry.boolean("Missing"));
    EXPECT_EQ(entry.list("Categories"), QStringList({ "Office", "Text;Editor", "Utility" }));
    EXPECT_FALSE(entry.contains("Exec"));
    EXPECT_FALSE(DesktopEntry::parse("[Other]\nName=x\n").isValid());
}

TEST(DesktopEntry, LocalisedValuesFollowTheLocaleMatchingOrder)
{
    const QByteArray data = "[Desktop Entry]\n"
                            "Name=Calculator\n"
                            "Name[de]=Rechner\n"
                            "Name[de_AT]=Rechner (AT)\n"
                            "Name[sr@latin]=Kalkulator\n"
                            "Name[sr_RS@latin]=Kalkulator RS\n";
    const struct {
        const char* locale;
        const char* name;
    } cases[] = {
        { "", "Calculator" },
        { "C.UTF-8", "Calculator" },
        { "de_DE.UTF-8", "Rechner" },
        { "de_AT.UTF-8", "Rechner (AT)" },
        { "de", "Rechner" },
        { "sr_RS.UTF-8@latin", "Kalkulator RS" },
        { "sr_ME@latin", "Kalkulator" },
        { "fr_FR.UTF-8", "Calculator" },
    };
    for (const auto& c : cases)
        EXPECT_EQ(DesktopEntry::parse(data, c.locale).localeValue("Name"), c.name) << c.locale;
    EXPECT_EQ(localeVariants("sr_RS.UTF-8@latin"), QStringList({ "sr_RS@latin", "sr_RS", "sr@latin", "sr" }));
}

TEST(DesktopEntry, ExecLinesGiveTheirCommandLinesUnescapedUnquotedAndWithFieldCodesExpanded)
{
    // Each value as it stands in a file, string escapes included.
    const struct {
        const char* exec;
        QStringList arguments;
    } cases[] = {
        { "editor %F", { "editor" } },
        { "kmplayer -caption %c %i %U", { "kmplayer", "-caption", "Media Player", "--icon", "kmplayer" } },
        { "app --entry=%k --title=\"%c\" x%i", { "app", "--entry=/apps/k.desktop", "--title=%c" } },
        { "  spaced\t out  ", { "spaced", "out" } },
        { "viewer --open=%f --level=100%% 50% off", { "viewer", "--level=100%", "50%", "off" } },
        { "\"/opt/My Apps/run\" \"two words\" \"\"", { "/opt/My Apps/run", "two words", "" } },
        { "say \"a \\\\\"quoted\\\\\" word\" \"back\\\\\\\\slash\" \"\\\\$HOME\" \"\\\\`x\\\\`\"",
            { "say", "a \"quoted\" word", "back\\slash", "$HOME", "`x`" } },
        { "env WINEPREFIX=\"/home/u/.wine\" wine "
          "C:\\\\\\\\ProgramData\\\\\\\\Microsoft\\\\\\\\Windows\\\\\\\\Start\\\\ "
          "Menu\\\\\\\\Programs\\\\\\\\Notepad++\\\\\\\\Notepad++.lnk",
            { "env", "WINEPREFIX=/home/u/.wine", "wine",
                "C:\\ProgramData\\Microsoft\\Windows\\Start Menu\\Programs\\Notepad++\\Notepad++.lnk" } },
        { "run \"C:\\\\Temp\" \"a\\\\sb\"", { "run", "C:\\Temp", "a\\sb" } },
        { "app \"%f stays in quotes\" \"50%%\"", { "app", "%f stays in quotes", "50%" } },
        { "app %d %D %n %N %v %m %z last", { "app", "last" } },
        { "trailing%", { "trailing%" } },
    };
    const QByteArray head = "[Desktop Entry]\nName=Player\nName[de]=Media Player\nIcon=kmplayer\nExec=";
    for (const auto& c : cases) {
        const std::optional<QStringList> command
            = DesktopEntry::parse(head + c.exec + "\n", "de_DE.UTF-8").command("/apps/k.desktop");
        ASSERT_TRUE(command.has_value()) << c.exec;
        EXPECT_EQ(*command, c.arguments) << c.exec << " gave " << command->join(u'|').toStdString();
    }
    // Without an icon %i gives nothing.
    EXPECT_EQ(DesktopEntry::parse("[Desktop Entry]\nName=X\nExec=x %i %c\n").command({}), QStringList({ "x", "X" }));
    EXPECT_FALSE(splitExec("app \"unterminated").has_value());
    EXPECT_FALSE(splitExec("app \"dangling\\").has_value());
    EXPECT_FALSE(splitExec("app dangling\\").has_value());
}

TEST(DesktopEntry, AnExecLineReadsBackAsTheArgumentsItWasMadeFrom)
{
    const QStringList arguments { "/opt/My Apps/KavroStart", "--user-folder", "100%", "quote\"s", "$HOME",
        "back\\slash", "tab\there", "new\nline", "", "semi;colon", "x=y" };
    const QString line = execLine(arguments);
    EXPECT_EQ(line.left(36), "\"/opt/My Apps/KavroStart\" --user-fol");
    const DesktopEntry entry = DesktopEntry::parse(("[Desktop Entry]\nExec=" + line + "\n").toUtf8());
    EXPECT_EQ(splitExec(entry.value("Exec")), arguments);
}

} // namespace
