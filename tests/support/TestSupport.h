// Shared test helpers: recorded message boxes, temporary folders, a fixed clock,
// a restored environment and current folder.
#pragma once

#include "platform/Dialogs.h"

#include <QByteArray>
#include <QDateTime>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <functional>
#include <memory>
#include <vector>

namespace testing_support {

struct ShownBox {
    QString kind; // "information" or "error"
    QString caption;
    QString text;
    QString otherButton; // the button beside OK, if any
};

// Records every message box instead of showing it; installed for its lifetime.
class RecordingDialogs final : public platform::Dialogs {
public:
    RecordingDialogs();
    ~RecordingDialogs() override;

    void information(const QString& caption, const QString& text) override;
    void error(const QString& text) override;
    // Answered with the other button while `chooseOther` holds.
    bool informationWithChoice(const QString& caption, const QString& text, const QString& otherButton) override;

    std::vector<ShownBox> boxes;
    bool chooseOther = false;
};

// Writes `data` to `path`, creating folders; fails the test on error.
void writeFile(const QString& path, const QByteArray& data);
QByteArray readFile(const QString& path);

// A menu of 453 lines where gadget n is named "G<n>", runs nothing, has
// colour n, font colour 0, no picture (side 2) and titles "T1".."T4".
QList<QByteArray> sampleMenuLines();

// Processes pending events until `done` holds or `timeoutMs` passes.
bool waitUntil(const std::function<bool()>& done, int timeoutMs = 5000);

// How a piece of a test ran in a child process.
enum class ChildResult { Passed, Failed, CannotDropPrivileges };

// Runs `body` in a child process; its result is the body's. The child ends
// without running destructors, and is ended as failed when it has not
// finished within a minute or takes 2 GB more memory (a body that would
// hang or grow for good). With `unprivileged`
// the child runs as the user "nobody" (uid and gid 65534) when the test
// runs as root, so that permission bits stop it.
ChildResult runInChild(const std::function<bool()>& body, bool unprivileged = false);
inline ChildResult runAsUnprivileged(const std::function<bool()>& body) { return runInChild(body, true); }

// Fixes the clock for its lifetime.
class FixedClock final {
public:
    explicit FixedClock(const QDateTime& at);
    ~FixedClock();
    void set(const QDateTime& at);

private:
    std::shared_ptr<QDateTime> at_;
};

// Sets an environment variable (unsets it for a null value) for its lifetime.
class ScopedEnvironment final {
public:
    ScopedEnvironment(const char* name, const QByteArray& value);
    ~ScopedEnvironment();
    ScopedEnvironment(const ScopedEnvironment&) = delete;
    ScopedEnvironment& operator=(const ScopedEnvironment&) = delete;

private:
    const char* name_;
    bool wasSet_;
    QByteArray old_;
};

// Restores the current folder it found when it goes out of scope, so that a
// test that changes the folder, or runs code that does, leaves it as it was
// even when a failed assertion ends the test early. Given a folder, it also
// changes to it, failing the test when it cannot.
class ScopedCurrentFolder final {
public:
    ScopedCurrentFolder();
    explicit ScopedCurrentFolder(const QString& folder);
    ~ScopedCurrentFolder();
    ScopedCurrentFolder(const ScopedCurrentFolder&) = delete;
    ScopedCurrentFolder& operator=(const ScopedCurrentFolder&) = delete;

    // The folder that was current at construction and is restored.
    const QString& previous() const { return previous_; }

private:
    QString previous_;
};

} // namespace testing_support
