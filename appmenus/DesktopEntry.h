// One desktop entry file (the [Desktop Entry] group of a .desktop file):
// its keys, localised values, booleans, lists and the Exec command line.
#pragma once

#include <QByteArray>
#include <QHash>
#include <QString>
#include <QStringList>
#include <optional>

class DesktopEntry final {
public:
    // Reads the [Desktop Entry] group of `data`, or the group named `group`
    // of a file of the same form (an icon theme's [Icon Theme]). `locale` is
    // a POSIX locale name (lang_COUNTRY.ENCODING@MODIFIER) that chooses
    // localised values.
    static DesktopEntry parse(
        const QByteArray& data, const QString& locale = {}, const QString& group = QStringLiteral("Desktop Entry"));

    // False when the data has no such group.
    bool isValid() const { return valid_; }

    // A string value with the escapes \s \n \t \r \\ undone; empty when missing.
    QString value(const QString& key) const;
    // The best localised variant of `key` for the locale, else the plain value.
    QString localeValue(const QString& key) const;
    // "true" (or "1") is true; anything else, or a missing key, is false.
    bool boolean(const QString& key) const;
    // A list separated by ";" (an escaped "\;" belongs to the item), empty items dropped.
    QStringList list(const QString& key) const;
    bool contains(const QString& key) const { return raw_.contains(key); }
    // The Exec command line with its field codes expanded for the entry
    // stored at `location`; nullopt when it cannot be split.
    std::optional<QStringList> command(const QString& location) const;

private:
    bool valid_ = false;
    QHash<QString, QString> raw_; // "Key" or "Key[locale]" -> value as written
    QStringList localeSuffixes_; // the locale's variants, best first
};

// The locale variants to try, best first: lang_COUNTRY@MODIFIER,
// lang_COUNTRY, lang@MODIFIER, lang. "C" and "POSIX" have none.
QStringList localeVariants(const QString& locale);

// The message locale of the environment: LC_ALL, else LC_MESSAGES, else LANG.
QString messageLocale();

// What the field codes %c, %i and %k of an Exec value stand for.
struct ExecFields {
    QString name; // %c: the translated name
    QString icon; // %i: "--icon" and this; nothing when empty
    QString location; // %k: the entry's file
};

// Splits an Exec value (already unescaped as a string) into arguments by the
// quoting rules: double quotes hold an argument, in which a backslash
// escapes " ` $ and itself; outside them a backslash escapes any character.
// Field codes outside quotes are expanded: %c and %k into the argument, an
// argument of %i alone into "--icon" and the icon, %% into %. An argument
// with a file or URL code (%f %F %u %U), a deprecated or unknown code, or a
// code that stands for nothing is dropped. nullopt for an unterminated
// quote or a dangling escape.
std::optional<QStringList> splitExec(const QString& exec, const ExecFields& fields = {});

// One argument quoted for an Exec line, before string escaping: plain words
// stay as they are, others are put in double quotes with " ` $ \ escaped.
QString quoteExecArgument(const QString& argument);
// A whole Exec value, string escaping included, that splitExec reads back as `arguments`.
QString execLine(const QStringList& arguments);
