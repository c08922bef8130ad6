// Hint status bar.
#include "controls/psiStatusBar.h"

#include "controls/Fonts.h"
#include "controls/Panel.h"
#include "platform/Clock.h"
#include "platform/Guard.h"
#include "platform/SystemColors.h"

#include <QEvent>
#include <QPainter>
#include <QTimer>

namespace psi {

namespace {

// The format without its time zone field and what only framed or set it off:
// brackets left empty, and blanks and commas at either end.
QString withoutTimeZone(const QString& format)
{
    QString result;
    bool quoted = false;
    for (const QChar c : format) {
        if (c == u'\'')
            quoted = !quoted;
        if (quoted || c != u't')
            result += c;
    }
    for (const QLatin1StringView empty : { QLatin1StringView("()"), QLatin1StringView("[]") })
        result.remove(empty);
    const auto isFraming = [](QChar c) { return c.isSpace() || c == u',' || c == QChar(0x060C); };
    qsizetype first = 0, last = result.size();
    while (first < last && isFraming(result[first]))
        ++first;
    while (last > first && isFraming(result[last - 1]))
        --last;
    return result.mid(first, last - first);
}

// Whether the format's last field is the 12-hour marker ("AP", "ap", "A" or "a").
bool endsWithDayHalfMarker(const QString& format)
{
    return !format.isEmpty()
        && (format.back() == u'a' || format.back() == u'A' || format.endsWith(u"AP") || format.endsWith(u"ap"));
}

} // namespace

QString clockText(
    const QDateTime& at, const QLocale& locale, const QString& shortDateFormat, const QString& longTimeFormat)
{
    const QString timeFormat = withoutTimeZone(longTimeFormat);
    const QString t = locale.toString(at.time(), timeFormat).trimmed().left(11);
    QString text = locale.toString(at.date(), shortDateFormat) + QStringLiteral("  ");
    const qsizetype firstColon = t.indexOf(u':');
    const qsizetype secondColon = firstColon < 0 ? -1 : t.indexOf(u':', firstColon + 1);
    if (secondColon < 0)
        return text + locale.toString(at.time(), withoutTimeZone(locale.timeFormat(QLocale::ShortFormat))).trimmed();
    text += t.left(secondColon);
    // A marker elsewhere (first, as some locales have it) already stands in
    // the hours and minutes taken; only one at the end is taken from there.
    const QString marker = locale.toString(at.time(), QStringLiteral("AP")).trimmed();
    if (endsWithDayHalfMarker(timeFormat) && !marker.isEmpty())
        text += u' ' + marker.toLower();
    return text;
}

QString clockText(const QDateTime& at, const QLocale& locale)
{
    return clockText(at, locale, locale.dateFormat(QLocale::ShortFormat), locale.timeFormat(QLocale::LongFormat));
}

std::vector<QRect> panelRects(QSize bar, const std::vector<int>& widths)
{
    std::vector<QRect> rects;
    int left = 0;
    for (const int width : widths) {
        const int right = std::min(left + width - 2, bar.width()) - 1;
        rects.emplace_back(QPoint(left, 2), QPoint(std::max(right, left - 1), bar.height() - 1));
        left += width;
    }
    return rects;
}

} // namespace psi

TpsiStatusBar::TpsiStatusBar(QWidget* parent)
    : QWidget(parent)
    , timer_(new QTimer(this))
{
    setFont(designFont(11));
    QPalette colours = palette();
    colours.setColor(QPalette::WindowText, Qt::black);
    setPalette(colours);
    resize(parent ? parent->width() : width(), 19);
    panels_.push_back({ QString(), width() - psi::ClockPanelWidth });
    panels_.push_back({ QString(), width() - panels_[0].Width });
    if (parent) {
        parent->installEventFilter(this);
        alignToParentBottom();
    }
    timer_->setInterval(1000);
    connect(timer_, &QTimer::timeout, this, platform::guardedSlot([this] { TimerTick(); }));
    StartTimer();
    platform::guarded([this] { UpdateClock(); });
}

TpsiStatusBar::~TpsiStatusBar() { timer_->stop(); }

void TpsiStatusBar::setPanelText(int index, const QString& text)
{
    panels_.at(size_t(index)).Text = text;
    update();
}

void TpsiStatusBar::setPanelWidth(int index, int width)
{
    panels_.at(size_t(index)).Width = width;
    update();
}

void TpsiStatusBar::setSizeGrip(bool value)
{
    sizeGrip_ = value;
    update();
}

void TpsiStatusBar::setShowHint(bool value)
{
    showHint_ = value;
    setToolTip(showHint_ ? hint_ : QString());
}

void TpsiStatusBar::setOnTimer(TNotifyEvent handler)
{
    onTimer_ = std::move(handler);
    StartTimer();
}

// Nothing needs the timer while the bar is hidden and nobody listens to
// OnTimer: it rests then, and the bar catches up when it shows again.
bool TpsiStatusBar::timerWanted() const { return isVisible() || onTimer_; }

void TpsiStatusBar::StartTimer()
{
    timer_->stop();
    if (timerWanted())
        timer_->start();
}

bool TpsiStatusBar::TimerRunning() const { return timer_->isActive(); }

void TpsiStatusBar::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    if (!timer_->isActive()) {
        platform::guarded([this] { TimerTick(); });
        StartTimer();
    }
}

void TpsiStatusBar::hideEvent(QHideEvent* event)
{
    QWidget::hideEvent(event);
    if (!timerWanted())
        timer_->stop();
}

void TpsiStatusBar::TimerTick()
{
    UpdateClock();
    hint_ = panelText(0);
    if (showHint_)
        setToolTip(hint_);
    if (onTimer_)
        onTimer_(this);
}

void TpsiStatusBar::UpdateClock() { setPanelText(1, psi::clockText(platform::now(), QLocale())); }

void TpsiStatusBar::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.fillRect(rect(), platform::sysColor(platform::COLOR_BTNFACE));
    std::vector<int> widths;
    for (const TStatusPanel& panel : panels_)
        widths.push_back(panel.Width);
    const std::vector<QRect> rects = psi::panelRects(size(), widths);
    const QColor shadow = platform::sysColor(platform::COLOR_BTNSHADOW);
    const QColor highlight = platform::sysColor(platform::COLOR_BTNHIGHLIGHT);
    painter.setFont(font());
    painter.setPen(palette().color(QPalette::WindowText));
    for (size_t i = 0; i < rects.size(); ++i) {
        QRect r = rects[i];
        if (r.width() <= 0)
            continue;
        frame3D(painter, r, shadow, highlight);
        painter.setPen(palette().color(QPalette::WindowText));
        painter.setClipRect(r);
        painter.drawText(
            r.adjusted(1, 0, 0, 0), Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine, panels_[i].Text);
        painter.setClipping(false);
    }
    if (sizeGrip_) {
        // Three pairs of diagonal strokes in the bottom-right corner.
        const int right = width() - 1, bottom = height() - 1;
        for (int step = 0; step < 3; ++step) {
            const int offset = 4 * step + 2;
            painter.setPen(highlight);
            painter.drawLine(right - offset - 1, bottom, right, bottom - offset - 1);
            painter.setPen(shadow);
            painter.drawLine(right - offset, bottom, right, bottom - offset);
            painter.drawLine(right - offset + 1, bottom, right, bottom - offset + 1);
        }
    }
}

void TpsiStatusBar::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    platform::guarded([this] {
        if (onResize_)
            onResize_(this);
        setPanelWidth(0, psi::messagePanelWidth(window()->frameGeometry().width()));
    });
}

bool TpsiStatusBar::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == parentWidget() && event->type() == QEvent::Resize)
        alignToParentBottom();
    return QWidget::eventFilter(watched, event);
}

void TpsiStatusBar::alignToParentBottom()
{
    const QWidget* parent = parentWidget();
    setGeometry(0, parent->height() - height(), parent->width(), height());
}
