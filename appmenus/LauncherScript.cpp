// Launcher scripts.
#include "appmenus/LauncherScript.h"

QString shellQuoted(const QString& text)
{
    QString quoted = text;
    quoted.replace(u'\'', QStringLiteral("'\\''"));
    return u'\'' + quoted + u'\'';
}

QByteArray launcherScript(const QStringList& command, const QString& workFolder, const QString& title)
{
    QString comment = title;
    for (QChar& c : comment)
        if (c.category() == QChar::Other_Control)
            c = u' ';
    QStringList words;
    for (const QString& argument : command)
        words.append(shellQuoted(argument));
    // The launcher starts this script in the script's own folder; the
    // application expects its Path, or else the home folder.
    const QString folder = workFolder.isEmpty() ? QStringLiteral("\"$HOME\"") : shellQuoted(workFolder);
    const QString script
        = QStringLiteral("#!/bin/sh\n# %1\ncd -- %2 || exit 1\nexec %3\n").arg(comment, folder, words.join(u' '));
    return script.toUtf8();
}

QString safeFileName(const QString& text)
{
    QString name;
    for (const QChar c : text) {
        const bool plain = (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z') || (c >= u'0' && c <= u'9') || c == u'.'
            || c == u'_' || c == u'+' || c == u'-';
        name += plain ? c : u'_';
    }
    if (name.startsWith(u'.') || name.startsWith(u'-'))
        name[0] = u'_';
    name.truncate(64);
    return name.isEmpty() ? QStringLiteral("application") : name;
}
