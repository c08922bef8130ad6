// The made-up application tree.
#include "support/MadeUpApplications.h"

#include "support/TestSupport.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QPainter>
#include <QProcess>
#include <gtest/gtest.h>
#include <sys/stat.h>

using testing_support::writeFile;

namespace {

const QColor red(255, 0, 0), green(0, 160, 0), blue(0, 0, 255), yellow(255, 255, 0), magenta(255, 0, 255);

void writePng(const QString& path, int side, QColor colour)
{
    // A transparent border round the coloured square, as real icons have.
    QImage image(side, side, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    QPainter(&image).fillRect(side / 8, side / 8, side - side / 4, side - side / 4, colour);
    QDir().mkpath(QFileInfo(path).absolutePath());
    ASSERT_TRUE(image.save(path, "PNG"));
}

QByteArray svg(QColor colour)
{
    return QStringLiteral("<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"48\" height=\"48\">"
                          "<rect x=\"4\" y=\"4\" width=\"40\" height=\"40\" fill=\"%1\"/></svg>")
        .arg(colour.name())
        .toUtf8();
}

} // namespace

MadeUpApplications::MadeUpApplications()
{
    const QString sys1 = dataDirs()[0];
    const QString sys2 = dataDirs()[1];
    const QString apps1 = sys1 + "/applications";
    const QString apps2 = sys2 + "/applications";
    const QString user = dataHome() + "/applications";

    // The recorder writes its folder, its name and its arguments, NUL-separated.
    writeFile(bin() + "/kavro-recorder",
        "#!/bin/sh\nprintf '%s\\0' \"$(pwd)\" \"${0##*/}\" \"$@\" > \"$KAVRO_RECORD.tmp\" && "
        "mv \"$KAVRO_RECORD.tmp\" \"$KAVRO_RECORD\"\n");
    ::chmod(QFile::encodeName(bin() + "/kavro-recorder").constData(), 0755);
    QFile::link(bin() + "/kavro-recorder", bin() + "/x-terminal-emulator");
    QDir().mkpath(workFolder());
    QDir().mkpath(home());

    writeFile(sys1 + "/icons/hicolor/index.theme",
        "[Icon Theme]\nName=Hicolor\nDirectories=16x16/apps,48x48/apps,scalable/apps\n\n"
        "[16x16/apps]\nSize=16\nType=Fixed\n\n[48x48/apps]\nSize=48\nType=Fixed\n\n"
        "[scalable/apps]\nSize=48\nMinSize=8\nMaxSize=512\nType=Scalable\n");
    writePng(sys1 + "/icons/hicolor/16x16/apps/red-icon.png", 16, red);
    writeFile(sys1 + "/icons/hicolor/scalable/apps/green-icon.svg", svg(green));
    // A bitmap and a scalable icon of one name, which the bitmap stands for.
    writePng(sys1 + "/icons/hicolor/48x48/apps/two-kinds.png", 48, blue);
    writeFile(sys1 + "/icons/hicolor/scalable/apps/two-kinds.svg", svg(yellow));
    writePng(sys2 + "/pixmaps/pix-icon.png", 32, magenta);
    writePng(root() + "/abs/blue.png", 48, blue);
    writeFile(root() + "/abs/yellow.svg", svg(yellow));

    const QByteArray head = "[Desktop Entry]\nType=Application\n";
    for (int n = 1; n <= 20; ++n) {
        const QByteArray nn = QByteArray::number(n).rightJustified(2, '0');
        entry(apps1, "net-" + nn + ".desktop",
            head + "Name=Net App " + nn + "\nExec=kavro-recorder net " + nn + " %u\nCategories=Network;WebBrowser;\n"
                + (n == 1 ? "Icon=red-icon\n" : ""));
    }
    entry(
        apps1, "editor.desktop", head + "Name=System Editor\nExec=kavro-recorder system-editor\nCategories=Utility;\n");
    entry(user, "editor.desktop", head + "Name=My Editor\nExec=kavro-recorder my-editor\nCategories=Utility;\n");
    entry(apps1, "gone.desktop", head + "Name=Gone\nExec=kavro-recorder gone\nCategories=Utility;\n");
    entry(user, "gone.desktop", head + "Name=Gone\nExec=kavro-recorder gone\nHidden=true\n");
    entry(apps1, "calc.desktop",
        head
            + "Name=Calculator\nName[de]=Rechner\nExec=kavro-recorder calc\nCategories=Utility;Calculator;\n"
              "Icon=green-icon\n");
    entry(apps2, "calc.desktop", head + "Name=Other Calculator\nExec=kavro-recorder other\nCategories=Utility;\n");
    entry(apps1, "quotes.desktop",
        head
            + "Name=Quoted\nExec=kavro-recorder --open %U \"two words\" \"say \\\\\"hi\\\\\"\" 100%% --file=%f "
              "\"it's\"\nCategories=Office;\nIcon="
            + (root() + "/abs/blue.png").toUtf8() + "\n");
    entry(apps1, "term.desktop",
        head + "Name=Terminal Tool\nExec=kavro-recorder top -d 1\nTerminal=true\nCategories=System;\nIcon="
            + (root() + "/abs/yellow.svg").toUtf8() + "\n");
    entry(apps1, "workdir.desktop",
        head + "Name=Work Folder\nExec=kavro-recorder pwd\nPath=" + workFolder().toUtf8()
            + "\nCategories=Development;\nIcon=pix-icon\n");
    entry(apps1, "hidden.desktop", head + "Name=Hidden\nExec=kavro-recorder x\nHidden=true\n");
    entry(apps1, "nodisplay.desktop", head + "Name=No Display\nExec=kavro-recorder x\nNoDisplay=true\n");
    entry(apps1, "link.desktop", "[Desktop Entry]\nType=Link\nName=A Link\nURL=https://example.org/\n");
    entry(apps1, "kde-only.desktop", head + "Name=KDE Only\nExec=kavro-recorder x\nOnlyShowIn=KDE;\n");
    entry(apps1, "xfce-only.desktop",
        head + "Name=Xfce Only\nExec=kavro-recorder xfce\nOnlyShowIn=GNOME;XFCE;\nCategories=Settings;\n");
    entry(apps1, "not-xfce.desktop", head + "Name=Not Xfce\nExec=kavro-recorder x\nNotShowIn=XFCE;\n");
    entry(
        apps1, "tryexec-missing.desktop", head + "Name=Try Missing\nExec=kavro-recorder x\nTryExec=no-such-program\n");
    entry(apps1, "tryexec-ok.desktop",
        head
            + "Name=Try Exec Found\nExec=kavro-recorder found\nTryExec=kavro-recorder\nCategories=Graphics;\n"
              "Icon=no-such-icon\n");
    entry(apps1, "noexec.desktop", head + "Name=No Exec\n");
    entry(apps1, "missing-program.desktop",
        head + "Name=Missing Program\nExec=" + root().toUtf8() + "/no/such/program\n");
    entry(apps1, "bad-quote.desktop", head + "Name=Bad Quote\nExec=kavro-recorder \"unterminated\n");
    entry(apps1, "no-group.desktop", "[Something Else]\nType=Application\nName=No Group\nExec=kavro-recorder x\n");
    entry(apps1, "painter.desktop",
        head + "Name=Painter\nExec=kavro-recorder paint\nCategories=Graphics;2DGraphics;\nIcon=red-icon.png\n");
    entry(apps1, "player.desktop", head + "Name=Player\nExec=kavro-recorder play\nCategories=AudioVideo;Audio;\n");
    entry(apps1, "science.desktop", head + "Name=Lab\nExec=kavro-recorder lab\nCategories=Education;Science;\n");
    entry(apps1, "plain.desktop", head + "Name=Plain Tool\nExec=kavro-recorder plain\n");
    entry(apps2, "vendor/tool.desktop", head + "Name=Vendor Tool\nExec=kavro-recorder vendor\nCategories=Game;\n");
    entry(apps2, QString::fromUtf8("ünï cödé.desktop"),
        head + "Name=Unicode \xc3\x9cml\xc3\xa4ut\nExec=kavro-recorder unicode\n");
}

void MadeUpApplications::entry(const QString& folder, const QString& file, const QByteArray& body) const
{
    writeFile(folder + "/" + file, body);
}

QStringList MadeUpApplications::visibleNames()
{
    QStringList names;
    for (int n = 1; n <= 20; ++n)
        names.append(QStringLiteral("Net App %1").arg(n, 2, 10, QLatin1Char('0')));
    names += QStringList { "My Editor", "Rechner", "Quoted", "Terminal Tool", "Work Folder", "Xfce Only",
        "Try Exec Found", "Painter", "Player", "Lab", "Plain Tool", "Vendor Tool",
        QString::fromUtf8("Unicode Ümläut") };
    return names;
}

QColor MadeUpApplications::iconColour(const QString& name)
{
    if (name == "Net App 01" || name == "Painter")
        return red;
    if (name == "Rechner")
        return green;
    if (name == "Quoted")
        return blue;
    if (name == "Terminal Tool")
        return yellow;
    if (name == "Work Folder")
        return magenta;
    return {};
}

MadeUpApplications::Run MadeUpApplications::readRecord(const QString& record)
{
    QFile file(record);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    QStringList fields = QString::fromUtf8(file.readAll()).split(QChar(0));
    fields.removeLast(); // after the last NUL
    if (fields.size() < 2)
        return {};
    return { fields[0], fields[1], fields.mid(2) };
}

MadeUpApplications::Run MadeUpApplications::runLauncher(const QString& launcher) const
{
    QFile::remove(recordFile());
    QProcess process;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("PATH", bin() + ":/usr/bin:/bin");
    env.insert("HOME", home());
    env.insert("KAVRO_RECORD", recordFile());
    process.setProcessEnvironment(env);
    process.setWorkingDirectory(QFileInfo(launcher).absolutePath());
    process.start(launcher, {});
    EXPECT_TRUE(process.waitForFinished(10000)) << launcher.toStdString();
    EXPECT_EQ(process.exitCode(), 0) << launcher.toStdString() << process.readAllStandardError().toStdString();
    return readRecord(recordFile());
}

MadeUpSession::MadeUpSession(const MadeUpApplications& tree)
    : home_("HOME", tree.home().toUtf8())
    , dataHome_("XDG_DATA_HOME", QByteArray())
    , dataDirs_("XDG_DATA_DIRS", tree.dataDirs().join(u':').toUtf8())
    , desktop_("XDG_CURRENT_DESKTOP", MadeUpApplications::desktop().toUtf8())
    , locale_("LC_ALL", MadeUpApplications::locale().toUtf8())
    , searchPath_("PATH", (tree.bin() + ":/usr/bin:/bin").toUtf8())
{
}
