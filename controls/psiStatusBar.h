// A two-panel status bar: a line of explanation and a date-and-time panel
// refreshed every second by a timer of the bar's own.
#pragma once

#include <QDateTime>
#include <QLocale>
#include <QRect>
#include <QString>
#include <QWidget>
#include <functional>
#include <vector>

class QTimer;

namespace psi {

constexpr int ClockPanelWidth = 126;

// The clock panel's text: the date in `shortDateFormat`, two blanks, the
// time in `longTimeFormat` (blanks trimmed, cut to 11 characters) up to its
// second ":", a blank and its last two characters in lower case (the 12-hour
// marker). A format without a marker shows hours and minutes alone; a time
// text with fewer than two ":" is shown in the locale's short time format.
// Time zone fields are dropped from both time formats.
QString clockText(
    const QDateTime& at, const QLocale& locale, const QString& shortDateFormat, const QString& longTimeFormat);
// The same with the locale's own short date and long time formats.
QString clockText(const QDateTime& at, const QLocale& locale);

// Width of the explanation panel for a form of this outer width.
constexpr int messagePanelWidth(int formOuterWidth)
{
    return formOuterWidth > ClockPanelWidth - 1 ? formOuterWidth - ClockPanelWidth : 0;
}

// Rectangles of the panels in a bar of this size, left to right, each with
// a two-pixel gap after it and cut at the bar's right edge.
std::vector<QRect> panelRects(QSize bar, const std::vector<int>& widths);

} // namespace psi

struct TStatusPanel {
    QString Text;
    int Width = 0;
};

class TpsiStatusBar : public QWidget {
    Q_OBJECT
public:
    using TNotifyEvent = std::function<void(TpsiStatusBar* sender)>;

    explicit TpsiStatusBar(QWidget* parent = nullptr);
    ~TpsiStatusBar() override;

    int panelCount() const { return int(panels_.size()); }
    QString panelText(int index) const { return panels_.at(size_t(index)).Text; }
    void setPanelText(int index, const QString& text);
    int panelWidth(int index) const { return panels_.at(size_t(index)).Width; }
    void setPanelWidth(int index, int width);

    bool SizeGrip() const { return sizeGrip_; }
    void setSizeGrip(bool value);
    // Whether the bar's hint shows as a tooltip.
    bool ShowHint() const { return showHint_; }
    void setShowHint(bool value);
    QString Hint() const { return hint_; }

    void setOnResize(TNotifyEvent handler) { onResize_ = std::move(handler); }
    // Stores the handler and restarts the one-second cycle from now.
    void setOnTimer(TNotifyEvent handler);

    // Restarts the one-second cycle; while the bar is hidden and OnTimer is
    // not assigned the cycle rests, and showing the bar ticks at once and restarts it.
    void StartTimer();
    bool TimerRunning() const;
    // One tick: the clock panel, then the hint, then OnTimer.
    void TimerTick();
    void UpdateClock();

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void alignToParentBottom();
    bool timerWanted() const;

    std::vector<TStatusPanel> panels_;
    bool sizeGrip_ = true;
    bool showHint_ = true;
    QString hint_;
    TNotifyEvent onResize_;
    TNotifyEvent onTimer_;
    QTimer* timer_;
};
