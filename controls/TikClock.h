// Analogue clock control: a face with hands, ticked by its own worker thread.
//
// The clock's files, and each one's share:
//   controls/TikClock        this control, TTickingClock: the face, the hands' pens and lengths, the
//                            modes and Tick(); it keeps the dial (the face with the hour and minute
//                            hands) and the second hand's pixels for each second, and shows them
//                            through the server canvas or else by painting through Qt.
//   controls/TickingThread   the worker, TTickingThread, and its hand-over: it asks for a tick once a
//                            second and waits until the user-interface thread has carried it out;
//                            stopping drops a tick not yet begun.
//   platform/ThreadWakeup    how the worker wakes the user-interface thread: an event counter that
//                            thread's event loop watches; it carries no data.
//   controls/ClockHands      where the hands lie for a time of day: plain geometry, tested on numbers.
//   controls/PenRuns         the pixels a pen's line covers, as runs of one colour, so that the second
//                            hand can be filled in without a painter.
//   platform/ServerCanvas    the X server drawing into the clock's own window (below).
//   platform/Clock           the time of day a tick shows (tests set it), and ZoneWatch, which this
//                            control keeps in clock mode so that a new time zone shows at the next tick.
//   controls/AccessibleControls  the clock as screen readers see it, its time as its value.
//   desk/ClockFace           the control box's face picture and hand settings.
//   desk/Scrollpas           the control box, which runs its clock in clock mode.
// Their tests are tests/controls/TikClockTest, TickingThreadTest (also built alone under
// ThreadSanitizer, tests_clock_tsan), ClockHandsTest, PenRunsTest and tests/platform/ClockTest;
// bench/idle_cpu.cpp measures what the ticking costs.
//
// Why the server canvas: the clock ticks every second for as long as the program runs, so what a
// tick costs is what the program costs at rest. On an X server the clock has a window of its own.
// The server keeps the dial in a pixmap, sent again only when the dial changes (as the minute hand
// moves), and a tick asks it to copy the dial in and fill the second hand's runs: two small
// requests, for the control box's clock under 250 bytes together, and no repaint through Qt. A pen
// that blends, a scaled screen, a window of another pixel format, no X server, or a picture taken
// of the control: these paint through Qt instead.
#pragma once

#include "controls/ClockHands.h"
#include "controls/PenRuns.h"
#include "platform/Bitmap.h"

#include <QBrush>
#include <QImage>
#include <QPen>
#include <QPoint>
#include <QWidget>
#include <memory>
#include <optional>
#include <vector>

namespace platform {
class ServerCanvas;
class ThreadWakeup;
class ZoneWatch;
} // namespace platform

class QPainter;
class TTickingThread;

enum class TTickingClockMode { tcmIdle, tcmChronoMeter, tcmClock };

// An analogue clock: a face bitmap with the hour and minute hands drawn as
// filled kites and the second hand as a line. On an X server it has a window
// of its own, which the server draws from the clock's pictures.
class TTickingClock final : public QWidget {
    Q_OBJECT
public:
    explicit TTickingClock(QWidget* parent = nullptr);
    // Stops the worker before anything else goes.
    ~TTickingClock() override;

    bool AutoSize() const { return autoSize_; }
    void setAutoSize(bool value) { autoSize_ = value; }

    // Setting the face resizes the control (with AutoSize) and recomputes the
    // pivot and the three hand lengths.
    const platform::TBitmap& Bitmap() const { return bitmap_; }
    void setBitmap(const QImage& image);

    TTickingClockMode Mode() const { return mode_; }
    // A running mode starts the worker if there is none; idle stops it.
    void setMode(TTickingClockMode mode);

    // A changed value is stored and painted at once.
    quint8 Hour() const { return hour_; }
    void setHour(quint8 value);
    quint8 Min() const { return min_; }
    void setMin(quint8 value);
    quint8 Sec() const { return sec_; }
    void setSec(quint8 value);

    const QPen& PenHour() const { return penHour_; }
    void setPenHour(const QPen& pen);
    const QPen& PenMin() const { return penMin_; }
    void setPenMin(const QPen& pen);
    const QPen& PenSec() const { return penSec_; }
    void setPenSec(const QPen& pen);
    const QBrush& BrushHour() const { return brushHour_; }
    void setBrushHour(const QBrush& brush);
    const QBrush& BrushMin() const { return brushMin_; }
    void setBrushMin(const QBrush& brush);

    int HourSize() const { return lengths_.hour; }
    void setHourSize(int value);
    int MinSize() const { return lengths_.minute; }
    void setMinSize(int value);
    int SecSize() const { return lengths_.second; }
    void setSecSize(int value);

    // The pivot of the hands, in control pixels.
    QPoint Centre() const { return centre_; }

    // The clock's own enabled setting, whatever its parents': a clock in a
    // disabled window keeps its hands. A disabled clock shows only its face.
    bool Enabled() const { return !testAttribute(Qt::WA_ForceDisabled); }

    // Stores all three values and paints once, if any of them differs.
    void SetTime(int hour, int minute, int second);
    // The time from a count of seconds.
    void SetSeconds(int seconds);

    // One tick of the current mode, then OnTick. The worker's ticks come here.
    void Tick();

    // The running worker, if any.
    const TTickingThread* Worker() const { return worker_.get(); }

signals:
    // After every tick, with the clock as sender.
    void OnTick(TTickingClock* sender);
    void clicked();
    void doubleClicked();

protected:
    // Only asked for when the X server draws the clock, which needs no engine of ours.
    QPaintEngine* paintEngine() const override { return nullptr; }
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;

private:
    void bitmapChanged();
    const QImage& dial();
    const QImage& bareFace();
    void drawFace(QPainter& painter) const;
    void drawClock(QPainter& painter);
    void showNow();
    void showOnServer();
    void paintThroughToolkit();
    const std::optional<PenRuns>& secondHandRuns();
    void stopWorker();
    void tickRequested();

    platform::TBitmap bitmap_;
    // The face in the pixel format painting wants, so a paint copies it without converting.
    QImage paintedFace_;
    // The face with the hour and minute hands at the control's size, drawn
    // again only when one of them changes: a tick moves the second hand alone.
    struct DialKey {
        int hour = -1;
        int minute = -1;
        QPoint centre;
        QSize size;
        HandLengths lengths;
        bool operator==(const DialKey&) const = default;
    };
    DialKey dialKey_;
    QImage dial_;
    // A disabled clock's face at the control's size, for the X server.
    QImage bareFace_;
    // On an X server, the server copies the dial in and fills the second
    // hand's pixels: a tick then sends a few dozen bytes, not the clock's
    // pixels, and needs no trip through the toolkit's painting.
    std::unique_ptr<platform::ServerCanvas> serverCanvas_;
    // The second hand's pixels for each second of the minute; none for a
    // pen that blends, whose clock goes to the server whole.
    struct SecondHandKey {
        QSize size;
        QPoint centre;
        int length = 0;
        QPen pen;
        bool operator==(const SecondHandKey&) const = default;
    };
    SecondHandKey secondHandKey_;
    std::vector<std::optional<PenRuns>> secondHands_;
    std::optional<PenRuns> otherSecond_; // past the minute's sixty, for a time set out of range
    QPen penHour_;
    QPen penMin_;
    QPen penSec_;
    QBrush brushHour_ { Qt::white, Qt::SolidPattern };
    QBrush brushMin_ { Qt::white, Qt::SolidPattern };
    quint8 hour_ = 0;
    quint8 min_ = 0;
    quint8 sec_ = 0;
    HandLengths lengths_;
    bool autoSize_ = true;
    TTickingClockMode mode_ = TTickingClockMode::tcmIdle;
    QPoint centre_;
    platform::ThreadWakeup* wakeup_;
    std::unique_ptr<TTickingThread> worker_;
    // In clock mode: a new time zone shows at the next tick.
    std::unique_ptr<platform::ZoneWatch> zoneWatch_;
    bool pressed_ = false;
};
