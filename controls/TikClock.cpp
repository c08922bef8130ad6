// Analogue clock control and its worker thread.
#include "controls/TikClock.h"

#include "platform/Clock.h"
#include "platform/Guard.h"
#include "platform/ThreadWakeup.h"

#include <QMouseEvent>
#include <QPainter>
#include <cmath>
#include <condition_variable>
#include <mutex>
#include <numbers>

QPoint clockPoint(QPoint centre, long double angle, long double radius)
{
    // nearbyint rounds in the current mode, which is to nearest with ties to even.
    const auto dx = static_cast<int>(std::nearbyint(std::cos(angle) * radius));
    const auto dy = static_cast<int>(std::nearbyint(std::sin(angle) * radius));
    return { centre.x() + dx, centre.y() + dy };
}

namespace {

constexpr long double pi = std::numbers::pi_v<long double>;

QPolygon kite(QPoint centre, float angle, long double offset, int length)
{
    const long double sideRadius = length * 0.8L;
    return QPolygon({ centre, clockPoint(centre, angle - offset, sideRadius), clockPoint(centre, angle, length),
        clockPoint(centre, angle + offset, sideRadius), centre });
}

} // namespace

QPoint secondHandEnd(QPoint centre, int second, int length)
{
    // Worked out in extended precision and kept as a single float, like the other hands' angles.
    const auto secondAngle = static_cast<float>(second * 2 * pi / 60 - pi / 2);
    return clockPoint(centre, secondAngle, length);
}

ClockHands clockHands(QPoint centre, int hour, int minute, int second, HandLengths lengths)
{
    // Worked out in extended precision and kept as single floats.
    const auto minuteAngle = static_cast<float>(minute * 2 * pi / 60 - pi / 2);
    const auto hourAngle = static_cast<float>((hour + minute / 60.0L) * 2 * pi / 12 - pi / 2);
    ClockHands hands;
    hands.hour = kite(centre, hourAngle, 0.16L, lengths.hour);
    hands.minute = kite(centre, minuteAngle, 0.18L, lengths.minute);
    hands.secondEnd = secondHandEnd(centre, second, lengths.second);
    return hands;
}

// ---------------------------------------------------------------------------

struct TTickingThread::HandOver {
    enum class Tick { None, Requested, Running, Done };

    std::mutex mutex;
    std::condition_variable changed;
    bool terminated = false;
    Tick tick = Tick::None;
};

TTickingThread::TTickingThread(std::function<void()> requestTick, Period period)
    : handOver_(std::make_shared<HandOver>())
{
    thread_ = std::thread([handOver = handOver_, requestTick = std::move(requestTick), period] {
        Execute(*handOver, requestTick, period);
    });
}

TTickingThread::~TTickingThread()
{
    Terminate();
    WaitFor();
}

void TTickingThread::Terminate()
{
    {
        std::lock_guard lock(handOver_->mutex);
        handOver_->terminated = true;
    }
    handOver_->changed.notify_all();
}

void TTickingThread::WaitFor()
{
    {
        std::lock_guard lock(handOver_->mutex);
        handOver_->terminated = true;
        if (handOver_->tick == HandOver::Tick::Requested)
            handOver_->tick = HandOver::Tick::None;
    }
    handOver_->changed.notify_all();
    if (thread_.joinable())
        thread_.join();
}

bool TTickingThread::CarryOutTick(const std::function<void()>& tick)
{
    // Held here, not through `this`, which the tick may free.
    const std::shared_ptr<HandOver> handOver = handOver_;
    {
        std::lock_guard lock(handOver->mutex);
        if (handOver->terminated || handOver->tick != HandOver::Tick::Requested)
            return false;
        handOver->tick = HandOver::Tick::Running;
    }
    struct Finish {
        HandOver& handOver;
        ~Finish()
        {
            {
                std::lock_guard lock(handOver.mutex);
                if (handOver.tick == HandOver::Tick::Running)
                    handOver.tick = HandOver::Tick::Done;
            }
            handOver.changed.notify_all();
        }
    } finish { *handOver };
    tick();
    return true;
}

void TTickingThread::Execute(HandOver& h, const std::function<void()>& requestTick, Period period)
{
    using Tick = HandOver::Tick;
    std::unique_lock lock(h.mutex);
    while (!h.terminated) {
        h.tick = Tick::Requested;
        lock.unlock();
        requestTick();
        lock.lock();
        // A stop ends the wait too: the user-interface thread may be the one
        // stopping us, from inside the tick or instead of running it.
        h.changed.wait(lock, [&h] { return h.terminated || h.tick == Tick::Done; });
        h.tick = Tick::None;
        if (h.terminated)
            break;
        h.changed.wait_for(lock, period, [&h] { return h.terminated; });
    }
}

// ---------------------------------------------------------------------------

TTickingClock::TTickingClock(QWidget* parent)
    : QWidget(parent)
    , wakeup_(new platform::ThreadWakeup(this))
{
    // Every paint covers the whole control, so what lies beneath is never drawn first.
    setAttribute(Qt::WA_OpaquePaintEvent);
    bitmap_.OnChange = [this] { bitmapChanged(); };
    connect(wakeup_, &platform::ThreadWakeup::woken, this, &TTickingClock::tickRequested);
}

TTickingClock::~TTickingClock() { stopWorker(); }

void TTickingClock::setBitmap(const QImage& image) { bitmap_.Assign(image); }

void TTickingClock::bitmapChanged()
{
    if (autoSize_)
        setGeometry(x(), y(), bitmap_.Width(), bitmap_.Height());
    centre_ = QPoint(bitmap_.Width() / 2, bitmap_.Height() / 2);
    const QImage& face = bitmap_.image();
    paintedFace_ = face.isNull()
        ? QImage()
        : face.convertToFormat(face.hasAlphaChannel() ? QImage::Format_ARGB32_Premultiplied : QImage::Format_RGB32);
    dial_ = QImage();
    setHourSize(centre_.x() / 2);
    setMinSize(centre_.x() * 3 / 4);
    setSecSize(centre_.x() * 4 / 5);
    update();
}

void TTickingClock::setMode(TTickingClockMode mode)
{
    if (mode == mode_)
        return;
    mode_ = mode;
    if (mode != TTickingClockMode::tcmIdle && !worker_)
        worker_ = std::make_unique<TTickingThread>([wakeup = wakeup_] { wakeup->wake(); });
    else if (mode == TTickingClockMode::tcmIdle)
        stopWorker();
}

void TTickingClock::stopWorker()
{
    if (!worker_)
        return;
    worker_->Terminate();
    worker_->WaitFor();
    worker_.reset();
}

void TTickingClock::tickRequested()
{
    if (worker_)
        worker_->CarryOutTick([this] { platform::guarded([this] { Tick(); }); });
}

void TTickingClock::setHour(quint8 value)
{
    if (value == hour_)
        return;
    hour_ = value;
    repaint();
}

void TTickingClock::setMin(quint8 value)
{
    if (value == min_)
        return;
    min_ = value;
    repaint();
}

void TTickingClock::setSec(quint8 value)
{
    if (value == sec_)
        return;
    sec_ = value;
    repaint();
}

void TTickingClock::setPenHour(const QPen& pen)
{
    penHour_ = pen;
    dial_ = QImage();
    update();
}

void TTickingClock::setPenMin(const QPen& pen)
{
    penMin_ = pen;
    dial_ = QImage();
    update();
}

void TTickingClock::setPenSec(const QPen& pen)
{
    penSec_ = pen;
    update();
}

void TTickingClock::setBrushHour(const QBrush& brush)
{
    brushHour_ = brush;
    dial_ = QImage();
    update();
}

void TTickingClock::setBrushMin(const QBrush& brush)
{
    brushMin_ = brush;
    dial_ = QImage();
    update();
}

void TTickingClock::setHourSize(int value)
{
    lengths_.hour = value;
    update();
}

void TTickingClock::setMinSize(int value)
{
    lengths_.minute = value;
    update();
}

void TTickingClock::setSecSize(int value)
{
    lengths_.second = value;
    update();
}

void TTickingClock::SetTime(int hour, int minute, int second)
{
    const auto h = static_cast<quint8>(hour);
    const auto m = static_cast<quint8>(minute);
    const auto s = static_cast<quint8>(second);
    if (h == hour_ && m == min_ && s == sec_)
        return;
    hour_ = h;
    min_ = m;
    sec_ = s;
    repaint();
}

void TTickingClock::SetSeconds(int seconds) { SetTime(seconds / 3600, seconds / 60 % 60, seconds % 60); }

void TTickingClock::Tick()
{
    switch (mode_) {
    case TTickingClockMode::tcmChronoMeter:
        if (sec_ < 59)
            setSec(sec_ + 1);
        else if (min_ < 59)
            SetTime(hour_, min_ + 1, 0);
        else if (hour_ < 23)
            SetTime(hour_ + 1, 0, 0);
        else
            SetTime(0, 0, 0);
        break;
    case TTickingClockMode::tcmClock: {
        const QTime now = platform::now().time();
        SetTime(now.hour(), now.minute(), now.second());
        break;
    }
    case TTickingClockMode::tcmIdle:
        break;
    }
    // Last, so that a handler may even free the clock.
    emit OnTick(this);
}

void TTickingClock::drawFace(QPainter& painter) const
{
    if (paintedFace_.hasAlphaChannel() || !paintedFace_.rect().contains(rect()))
        painter.fillRect(rect(), Qt::black);
    painter.drawImage(0, 0, paintedFace_);
}

const QImage& TTickingClock::dial()
{
    const DialKey key { hour_, min_, centre_, size(), lengths_ };
    if (key == dialKey_ && !dial_.isNull())
        return dial_;
    dialKey_ = key;
    dial_ = QImage(size(), QImage::Format_RGB32);
    QPainter painter(&dial_);
    drawFace(painter);
    const ClockHands hands = clockHands(centre_, hour_, min_, 0, lengths_);
    painter.setPen(penHour_);
    painter.setBrush(brushHour_);
    painter.drawPolygon(hands.hour);
    painter.setPen(penMin_);
    painter.setBrush(brushMin_);
    painter.drawPolygon(hands.minute);
    return dial_;
}

void TTickingClock::paintEvent(QPaintEvent*)
{
    // Painting goes to the window's back buffer, which reaches the screen in
    // one step once the paint is over, so the hands never flicker. The order
    // is face, hour hand, minute hand, second hand.
    QPainter painter(this);
    if (!Enabled()) {
        drawFace(painter);
        return;
    }
    painter.drawImage(0, 0, dial());
    painter.setPen(penSec_);
    painter.drawLine(centre_, secondHandEnd(centre_, sec_, lengths_.second));
}

void TTickingClock::mousePressEvent(QMouseEvent* event)
{
    pressed_ = event->button() == Qt::LeftButton;
    event->accept();
}

void TTickingClock::mouseReleaseEvent(QMouseEvent* event)
{
    const bool click = pressed_ && event->button() == Qt::LeftButton && rect().contains(event->position().toPoint());
    pressed_ = false;
    event->accept();
    if (click)
        emit clicked();
}

// The second press of a double click is a double click, not another click.
void TTickingClock::mouseDoubleClickEvent(QMouseEvent* event)
{
    pressed_ = false;
    event->accept();
    if (event->button() == Qt::LeftButton)
        emit doubleClicked();
}
