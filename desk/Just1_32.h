// Single instance guard: a second copy of the program brings the first one forward and ends.
#pragma once

#include <QList>
#include <QObject>
#include <QString>
#include <QStringList>
#include <memory>
#include <optional>

class QWidget;

namespace platform {
class InstanceLock;
class ForwardServer;
} // namespace platform

// The windows a later copy can ask the first to show, each as the control
// box shows it: `KavroStart --show WHAT`, sent as the request "show WHAT".
enum class ShowTarget { Box, Launcher, Planner, Alarm, Blanker, Notes };

// The word of a target ("launcher"), and the target of a word (nullopt for any other word).
QString showWord(ShowTarget target);
std::optional<ShowTarget> showTargetOf(QStringView word);
// Every word, for messages: "box, launcher, planner, alarm, blanker or notes".
QString showWords();

// The result of the probe made once per process, before the program sets
// its own title. The first copy holds the lock for its whole life and
// answers later copies' requests to come forward.
class TPreviousInstance final : public QObject {
    Q_OBJECT
public:
    // Probes under `title`, scoped to the user, with the lock and the socket
    // in `folder`. When the lock cannot be used at all, or there is no
    // folder, the program starts as if it were the only copy.
    TPreviousInstance(const QString& title, const QString& folder);
    ~TPreviousInstance() override;

    // True when another copy already held the name at start.
    bool Found() const { return found_; }

    // Asks the copy that holds the name to come forward, or to show the
    // window this copy was started for; false when it could not be reached
    // or did not acknowledge.
    bool AskToComeForward() const;

    // The window this copy was started for (`--show`): a first copy is asked
    // to show it, or this copy shows it itself once it is the first.
    void setShowRequest(ShowTarget target);
    // While the windows are being made, requests to show one wait; once they
    // all exist, the waiting ones (this copy's own first) are carried out in
    // their order.
    void holdShowRequests() { holding_ = true; }
    void showHeldRequests();

    // For a copy that found another: tries the lock again for up to `waitMs`
    // (the other may be ending) and, once it is free, holds it and answers
    // later copies from then on. True when this copy is now the first.
    bool TakeOverWhenFree(int waitMs);

    const QString& lockPath() const { return lockPath_; }
    const QString& socketPath() const { return socketPath_; }

    static constexpr const char* comeForwardRequest = "raise";
    static QByteArray showRequest(ShowTarget target);

    // Sends `request` to the copy running under `title` with its socket in
    // `folder`, without taking the lock: true once it has acknowledged.
    static bool askRunningCopy(const QString& title, const QString& folder, const QByteArray& request);

signals:
    // A request a later copy sent, once it was carried out; `done` tells what
    // was done: see bringForward; for a request to show a window, the windows
    // then showing, or "held" while the windows are being made.
    void requestHandled(const QByteArray& request, const QStringList& done);
    // A request to show a window, carried out by the control box.
    void showRequested(ShowTarget target);

private:
    void listen();
    void handle(const QByteArray& request);

    std::unique_ptr<platform::InstanceLock> lock_;
    platform::ForwardServer* server_ = nullptr;
    QString lockPath_;
    QString socketPath_;
    bool found_ = false;
    std::optional<ShowTarget> showRequest_;
    bool holding_ = false;
    QList<ShowTarget> held_;
};

// The title a program has before it sets its own: the program file's name
// after the last separator, cut at the first dot, every character after the
// first lower-cased ("/opt/kavro/KavroStart.bin" gives "Kavrostart").
QString defaultApplicationTitle(const QString& programFile);

// The process-wide probe, or null when none was made.
TPreviousInstance* previousInstance();
void setPreviousInstance(TPreviousInstance* probe);

// Brings the program forward: each of `windows` that is showing, in order,
// is restored when minimised and then raised; other hidden windows stay
// hidden. When none is showing, the first (the control box) is shown.
// Returns one entry per window acted on: "<name> restored", "<name> raised"
// or "<name> shown".
QStringList bringForward(const QList<QWidget*>& windows);

// Created while the control box is built. In a second copy it asks the
// first to come forward and requests the end of this process, which then
// ends at the first turn of its event loop, without a message. In the first
// copy it hands on the requests to show a window.
class TJustOne32 final : public QObject {
    Q_OBJECT
public:
    explicit TJustOne32(QWidget* owner);

signals:
    void OnShowRequest(ShowTarget target);
};
