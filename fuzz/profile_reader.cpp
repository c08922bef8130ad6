// The profile-file reader: any file answers every question without a
// crash, and a stored password reads back exactly as it was typed.
#include "FuzzSupport.h"
#include "planner/PlanStore.h"
#include "platform/ProfileFile.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size < 1)
        return 0;
    const QByteArray rest = fuzz::bytes(data + 1, size - 1);
    if (data[0] & 1) {
        // The rest is a password typed at a first log-in: stored, it reads back.
        const QString password = QString::fromUtf8(rest);
        if (!plan::passwordProblem(password).isEmpty())
            return 0;
        const fuzz::MemoryFile file(
            "[Pass]\r\nsomeone=" + plan::storedPassword(password).toLocal8Bit() + "\r\n[Other]\r\nx=1\r\n");
        const platform::ProfileFile users(file.path());
        fuzz::check(
            users.readString(QStringLiteral("pass"), QStringLiteral("SOMEONE"), QStringLiteral("%952$+~")) == password,
            "a stored password reads back");
        return 0;
    }
    // The rest is a file; its first line names the section and the key asked for.
    const qsizetype end = rest.indexOf('\n');
    const QByteArray question = end < 0 ? QByteArray() : rest.left(end);
    const qsizetype eq = question.indexOf('=');
    const QString section = QString::fromLocal8Bit(eq < 0 ? question : question.left(eq));
    const QString key = QString::fromLocal8Bit(eq < 0 ? QByteArray() : question.mid(eq + 1));
    const fuzz::MemoryFile file(rest);
    const platform::ProfileFile profile(file.path());
    const std::optional<QString> value = profile.value(section, key);
    fuzz::check(profile.hasKey(section, key) == value.has_value(), "a key is there when it has a value");
    fuzz::check(profile.readString(section, key, QStringLiteral("\x01")) == value.value_or(QStringLiteral("\x01")),
        "the fallback only for a missing key");
    (void)profile.readInteger(section, key, -1);
    for (const char* known : { "Width", "Height", "Left", "Top" })
        (void)profile.readInteger(QStringLiteral("Values"), QString::fromLatin1(known), 0);
    return 0;
}
