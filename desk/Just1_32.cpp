// Single instance guard.
#include "desk/Just1_32.h"

#include "platform/Guard.h"
#include "platform/Quit.h"
#include "platform/SingleInstance.h"
#include "session/Session.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QThread>
#include <QWidget>
#include <algorithm>
#include <utility>

namespace {

TPreviousInstance* theProbe = nullptr;

// How long a second copy tries to reach the first, and then waits for the
// first to end, before it ends regardless.
constexpr int reachTimeoutMs = 2000;
constexpr int takeOverTimeoutMs = 3000;

constexpr std::pair<ShowTarget, const char*> showTargetWords[]
    = { { ShowTarget::Box, "box" }, { ShowTarget::Launcher, "launcher" }, { ShowTarget::Planner, "planner" },
          { ShowTarget::Alarm, "alarm" }, { ShowTarget::Blanker, "blanker" }, { ShowTarget::Notes, "notes" } };

QString socketPathOf(const QString& title, const QString& folder)
{
    return folder + u'/' + platform::userScopedName(title) + QStringLiteral(".socket");
}

} // namespace

QString showWord(ShowTarget target)
{
    for (const auto& [each, word] : showTargetWords)
        if (each == target)
            return QLatin1String(word);
    return {};
}

std::optional<ShowTarget> showTargetOf(QStringView word)
{
    for (const auto& [target, each] : showTargetWords)
        if (word == QLatin1String(each))
            return target;
    return std::nullopt;
}

QString showWords()
{
    QStringList words;
    for (const auto& [target, word] : showTargetWords)
        words.append(QLatin1String(word));
    return words.mid(0, words.size() - 1).join(QStringLiteral(", ")) + QStringLiteral(" or ") + words.last();
}

TPreviousInstance::TPreviousInstance(const QString& title, const QString& folder)
{
    // Without a folder of the user's own the program starts as if it were the only copy.
    if (folder.isEmpty())
        return;
    lockPath_ = folder + u'/' + platform::userScopedName(title) + QStringLiteral(".lock");
    socketPath_ = socketPathOf(title, folder);
    lock_ = std::make_unique<platform::InstanceLock>(lockPath_);
    found_ = lock_->state() == platform::InstanceLock::State::HeldElsewhere;
    if (lock_->state() == platform::InstanceLock::State::Held)
        listen();
}

void TPreviousInstance::listen()
{
    server_ = new platform::ForwardServer(socketPath_, this);
    connect(server_, &platform::ForwardServer::requestReceived, this, &TPreviousInstance::handle);
}

bool TPreviousInstance::TakeOverWhenFree(int waitMs)
{
    if (!found_)
        return false;
    const QDeadlineTimer deadline(waitMs);
    for (;;) {
        auto lock = std::make_unique<platform::InstanceLock>(lockPath_);
        if (lock->state() == platform::InstanceLock::State::Held) {
            lock_ = std::move(lock);
            found_ = false;
            listen();
            return true;
        }
        if (lock->state() == platform::InstanceLock::State::Unavailable || deadline.hasExpired())
            return false;
        QThread::msleep(ulong(std::clamp<qint64>(deadline.remainingTime(), 1, 50)));
    }
}

// The server goes first: the socket is removed while the lock is still held.
TPreviousInstance::~TPreviousInstance()
{
    delete server_;
    lock_.reset();
}

bool TPreviousInstance::AskToComeForward() const
{
    const QByteArray request = showRequest_ ? showRequest(*showRequest_) : QByteArray(comeForwardRequest);
    return platform::sendForwardRequest(socketPath_, request, reachTimeoutMs);
}

QByteArray TPreviousInstance::showRequest(ShowTarget target) { return "show " + showWord(target).toLatin1(); }

bool TPreviousInstance::askRunningCopy(const QString& title, const QString& folder, const QByteArray& request)
{
    return !folder.isEmpty() && platform::sendForwardRequest(socketPathOf(title, folder), request, reachTimeoutMs);
}

void TPreviousInstance::setShowRequest(ShowTarget target)
{
    showRequest_ = target;
    held_.prepend(target);
}

void TPreviousInstance::showHeldRequests()
{
    holding_ = false;
    // A copy that handed its own request to the first one only ends.
    if (found_)
        return;
    for (const ShowTarget target : std::exchange(held_, {}))
        emit showRequested(target);
}

void TPreviousInstance::handle(const QByteArray& request)
{
    QStringList done;
    if (request == comeForwardRequest) {
        done = bringForward(programWindows());
    } else if (request.startsWith("show ")) {
        // Any other word, from whatever sent it, is no request.
        if (const std::optional<ShowTarget> target = showTargetOf(QString::fromLatin1(request.mid(5)))) {
            if (holding_) {
                held_.append(*target);
                done.append(QStringLiteral("held"));
            } else {
                emit showRequested(*target);
                for (const QWidget* window : programWindows())
                    if (window && window->isVisible())
                        done.append(window->objectName());
            }
        }
    }
    emit requestHandled(request, done);
}

QString defaultApplicationTitle(const QString& programFile)
{
    QString name = programFile.mid(programFile.lastIndexOf(u'/') + 1);
    name = name.left(name.indexOf(u'.'));
    return name.left(1) + name.mid(1).toLower();
}

TPreviousInstance* previousInstance() { return theProbe; }

void setPreviousInstance(TPreviousInstance* probe) { theProbe = probe; }

QStringList bringForward(const QList<QWidget*>& windows)
{
    QStringList done;
    for (QWidget* window : windows) {
        if (!window || !window->isVisible())
            continue;
        const bool minimised = window->isMinimized();
        if (minimised)
            window->setWindowState(window->windowState() & ~Qt::WindowMinimized);
        window->raise();
        window->activateWindow();
        done.append(window->objectName() + (minimised ? QStringLiteral(" restored") : QStringLiteral(" raised")));
    }
    // With nothing showing the program would seem not to run at all.
    QWidget* first = windows.value(0);
    if (done.isEmpty() && first) {
        first->show();
        first->raise();
        first->activateWindow();
        done.append(first->objectName() + QStringLiteral(" shown"));
    }
    return done;
}

TJustOne32::TJustOne32(QWidget* owner)
    : QObject(owner)
{
    TPreviousInstance* probe = previousInstance();
    if (!probe)
        return;
    // A first copy that is ending no longer answers; once it has ended this
    // copy takes its place instead of ending as well.
    if (probe->Found() && (probe->AskToComeForward() || !probe->TakeOverWhenFree(takeOverTimeoutMs))) {
        platform::postQuit();
        return;
    }
    connect(probe, &TPreviousInstance::showRequested, this,
        [this](ShowTarget target) { platform::guarded([this, target] { emit OnShowRequest(target); }); });
}
