// Shared test helpers: recorded message boxes, temporary folders, a fixed clock.
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
};

// Records every message box instead of showing it; installed for its lifetime.
class RecordingDialogs final : public platform::Dialogs {
public:
    RecordingDialogs();
    ~RecordingDialogs() override;

    void information(const QString& caption, const QString& text) override;
    void error(const QString& text) override;

    std::vector<ShownBox> boxes;
};

// Writes `data` to `path`, creating folders; fails the test on error.
void writeFile(const QString& path, const QByteArray& data);
QByteArray readFile(const QString& path);

// A menu of 453 lines where gadget n is named "G<n>", runs nothing, has
// colour n, font colour 0, no picture (side 2) and titles "T1".."T4".
QList<QByteArray> sampleMenuLines();

// Processes pending events until `done` holds or `timeoutMs` passes.
bool waitUntil(const std::function<bool()>& done, int timeoutMs = 5000);

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

} // namespace testing_support
