// Analogue clock control.
#include "controls/TikClock.h"

#include "controls/AccessibleControls.h"
#include "controls/TickingThread.h"
#include "platform/Clock.h"
#include "platform/Guard.h"
#include "platform/ServerCanvas.h"
#include "platform/ThreadWakeup.h"

#include <QMouseEvent>
#include <QPainter>
#include <QWindow>

TTickingClock::TTickingClock(QWidget* parent)
    : QWidget(parent)
    , wakeup_(new platform::ThreadWakeup(this))
{
    // Every paint covers the whole control, so what lies beneath is never drawn first.
    setAttribute(Qt::WA_OpaquePaintEvent);
    serverCanvas_ = platform::ServerCanvas::open();
    if (serverCanvas_) {
        // A window of its own on the server, which the toolkit leaves to us to paint.
        setAttribute(Qt::WA_DontCreateNativeAncestors);
        setAttribute(Qt::WA_NativeWindow);
        setAttribute(Qt::WA_PaintOnScreen);
    }
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
    bareFace_ = QImage();
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
    if (mode != TTickingClockMode::tcmClock)
        zoneWatch_.reset();
    else if (!zoneWatch_)
        zoneWatch_ = std::make_unique<platform::ZoneWatch>();
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
        worker_->CarryOutTick(platform::guardedSlot([this] { Tick(); }));
}

void TTickingClock::setHour(quint8 value)
{
    if (value == hour_)
        return;
    hour_ = value;
    showNow();
}

void TTickingClock::setMin(quint8 value)
{
    if (value == min_)
        return;
    min_ = value;
    showNow();
}

void TTickingClock::setSec(quint8 value)
{
    if (value == sec_)
        return;
    sec_ = value;
    showNow();
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
    showNow();
    accessibility::announceTimeChange(this);
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
        const QTime now = platform::timeOfDay();
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

const QImage& TTickingClock::bareFace()
{
    if (bareFace_.size() == size())
        return bareFace_;
    bareFace_ = QImage(size(), QImage::Format_RGB32);
    QPainter painter(&bareFace_);
    drawFace(painter);
    return bareFace_;
}

const std::optional<PenRuns>& TTickingClock::secondHandRuns()
{
    const auto runsAt = [this](int second) {
        return lineRuns(size(), penSec_, centre_, secondHandEnd(centre_, second, lengths_.second));
    };
    const SecondHandKey key { size(), centre_, lengths_.second, penSec_ };
    if (!(key == secondHandKey_) || secondHands_.empty()) {
        // All sixty in one go, while the painter's code stays in the processor's
        // caches; one a tick, each would find them cold again.
        secondHandKey_ = key;
        secondHands_.clear();
        for (int second = 0; second < 60; ++second)
            secondHands_.push_back(runsAt(second));
    }
    if (sec_ < secondHands_.size())
        return secondHands_[sec_];
    otherSecond_ = runsAt(sec_);
    return otherSecond_;
}

// A changed time shows at once.
void TTickingClock::showNow()
{
    if (serverCanvas_ && isVisible() && updatesEnabled() && internalWinId())
        showOnServer();
    else
        repaint();
}

void TTickingClock::showOnServer()
{
    const WId window = internalWinId();
    // The server draws the control's pixels one to one: too few for a screen
    // that scales them. Asked of the control's own window, which knows at once.
    const QWindow* own = windowHandle();
    const bool shown = own && own->devicePixelRatio() == 1 && [&] {
        if (!Enabled())
            return serverCanvas_->show(window, bareFace(), 0, {});
        if (const std::optional<PenRuns>& hand = secondHandRuns())
            return serverCanvas_->show(window, dial(), hand->colour, hand->runs);
        QImage whole(size(), QImage::Format_RGB32);
        QPainter painter(&whole);
        drawClock(painter);
        painter.end();
        return serverCanvas_->show(window, whole, 0, {});
    }();
    if (!shown)
        paintThroughToolkit();
}

// For a window the server's canvas cannot draw on, the clock paints like any other control.
void TTickingClock::paintThroughToolkit()
{
    serverCanvas_.reset();
    setAttribute(Qt::WA_PaintOnScreen, false);
    update();
}

void TTickingClock::drawClock(QPainter& painter)
{
    if (!Enabled()) {
        drawFace(painter);
        return;
    }
    painter.drawImage(0, 0, dial());
    painter.setPen(penSec_);
    painter.drawLine(centre_, secondHandEnd(centre_, sec_, lengths_.second));
}

void TTickingClock::paintEvent(QPaintEvent*)
{
    // Painting to the screen itself, not into a picture of the control.
    if (serverCanvas_ && !QWidget::redirected(nullptr) && !sharedPainter()) {
        showOnServer();
        return;
    }
    // Painting goes to the window's back buffer, which reaches the screen in
    // one step once the paint is over, so the hands never flicker. The order
    // is face, hour hand, minute hand, second hand.
    QPainter painter(this);
    drawClock(painter);
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
        platform::guarded([this] { emit clicked(); });
}

// The second press of a double click is a double click, not another click.
void TTickingClock::mouseDoubleClickEvent(QMouseEvent* event)
{
    pressed_ = false;
    event->accept();
    if (event->button() == Qt::LeftButton)
        platform::guarded([this] { emit doubleClicked(); });
}
