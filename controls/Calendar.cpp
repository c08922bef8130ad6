// Month calendar.
#include "controls/Calendar.h"

#include "controls/AccessibleCalendar.h"
#include "controls/Panel.h"
#include "platform/Clock.h"
#include "platform/Guard.h"
#include "platform/SystemColors.h"
#include "rtl/DateUtils.h"
#include "rtl/Errors.h"

#include <QKeyEvent>
#include <QLocale>
#include <QMouseEvent>
#include <QPainter>

namespace calendar {

int monthOffset(int firstWeekday, int startOfWeek)
{
    const int k = (firstWeekday - startOfWeek + 7) % 7;
    return k == 0 ? -5 : 2 - k;
}

int weekdayOf(const QDate& date) { return date.dayOfWeek() % 7 + 1; }

int cellDay(int offset, int monthLength, int column, int row)
{
    if (row < 1)
        return 0;
    const int n = offset + column + (row - 1) * 7;
    return n >= 1 && n <= monthLength ? n : 0;
}

QPoint cellOfDay(int offset, int day) { return QPoint((day - offset) % 7, (day - offset) / 7 + 1); }

int cellWidth(int clientWidth, int lineWidth) { return (clientWidth - 6 * lineWidth) / 7; }

int cellHeight(int clientHeight, int lineWidth) { return (clientHeight - 6 * lineWidth) / 7; }

QRect cellRect(int column, int row, int width, int height, int lineWidth)
{
    return QRect(column * (width + lineWidth), row * (height + lineWidth), width, height);
}

QPoint cellAt(const QPoint& point, int width, int height, int lineWidth)
{
    if (point.x() < 0 || point.y() < 0 || width + lineWidth <= 0 || height + lineWidth <= 0)
        return { -1, -1 };
    const int column = point.x() / (width + lineWidth);
    const int row = point.y() / (height + lineWidth);
    if (column > 6 || row > 6)
        return { -1, -1 };
    return { column, row };
}

QPoint centredText(const QRect& cell, int textWidth, int textHeight)
{
    return QPoint(cell.left() + (cell.width() - textWidth) / 2, cell.top() + (cell.height() - textHeight) / 2);
}

} // namespace calendar

TCalendar::TCalendar(QWidget* parent)
    : QWidget(parent)
    , shownDate_(platform::now().date())
    , color_(platform::sysColor(platform::COLOR_WINDOW))
{
    setFocusPolicy(Qt::StrongFocus);
    setAttribute(Qt::WA_OpaquePaintEvent);
    Relayout();
}

int TCalendar::MonthLength(int year, int month) const { return rtl::MonthLength(year, month); }

bool TCalendar::IsLeap(int year) const { return rtl::IsLeap(year); }

QRect TCalendar::clientArea() const { return rect().adjusted(2, 2, -2, -2); }

void TCalendar::setColor(const QColor& color)
{
    color_ = color;
    update();
}

void TCalendar::setGridLineWidth(int width)
{
    if (width < 0 || width == gridLineWidth_)
        return;
    gridLineWidth_ = width;
    update();
}

void TCalendar::SetShownDate(const QDate& date)
{
    if (!date.isValid())
        rtl::raiseInvalidDate();
    shownDate_ = date;
    Relayout();
    NotifyChange();
}

void TCalendar::setDate(const QDate& date)
{
    shownDate_ = date;
    useCurrentDate_ = false;
    Relayout();
    NotifyChange();
}

void TCalendar::setDay(int value)
{
    if (value < 1 || value > ShownMonthLength() || value == Day())
        return;
    setDate(rtl::EncodeDate(Year(), Month(), value));
}

void TCalendar::setMonth(int value)
{
    if (value < 1 || value > 12 || value == Month())
        return;
    setDate(rtl::EncodeDate(Year(), value, Day()));
}

void TCalendar::setYear(int value)
{
    if (value < 1 || value == Year())
        return;
    setDate(rtl::EncodeDate(value, Month(), Day()));
}

void TCalendar::step(int months)
{
    const int day = Day();
    const QDate first(Year(), Month(), 1);
    const QDate target = months < 0 ? first.addDays(-1) : first.addDays(ShownMonthLength());
    const int length = MonthLength(target.year(), target.month());
    SetShownDate(rtl::EncodeDate(target.year(), target.month(), day < length ? day : length));
}

void TCalendar::MonthBack() { step(-1); }

void TCalendar::MonthForward() { step(1); }

void TCalendar::setStartOfWeek(int day)
{
    if (day < 0 || day > 6 || day == startOfWeek_)
        return;
    startOfWeek_ = day;
    Relayout();
}

void TCalendar::setUseCurrentDate(bool value)
{
    if (value == useCurrentDate_)
        return;
    useCurrentDate_ = value;
    if (value) {
        shownDate_ = platform::now().date();
        Relayout();
    }
}

QString TCalendar::DayCellText(int column, int row) const
{
    if (row == 0) {
        const int weekday = (startOfWeek_ + column) % 7; // 0 Sunday
        return QLocale().dayName(weekday == 0 ? 7 : weekday, QLocale::ShortFormat);
    }
    const int day = calendar::cellDay(monthOffset_, ShownMonthLength(), column, row);
    return day == 0 ? QString() : QString::number(day);
}

bool TCalendar::SelectCell(int column, int row) const
{
    if (updating_)
        return true;
    return !readOnly_ && row >= 1 && row <= 6 && column >= 0 && column <= 6 && !DayCellText(column, row).isEmpty();
}

bool TCalendar::ClickCell(int column, int row)
{
    if (!SelectCell(column, row))
        return false;
    selection_ = QPoint(column, row);
    update();
    Click();
    return true;
}

void TCalendar::Relayout()
{
    struct Updating {
        bool& flag;
        explicit Updating(bool& f)
            : flag(f)
        {
            flag = true;
        }
        ~Updating() { flag = false; }
    } updating(updating_);
    monthOffset_ = calendar::monthOffset(calendar::weekdayOf(QDate(Year(), Month(), 1)), startOfWeek_);
    // Selecting the shown day is no click: no change is reported.
    selection_ = calendar::cellOfDay(monthOffset_, Day());
    update();
    accessibility::announceDayShown(this);
}

void TCalendar::NotifyChange()
{
    platform::guarded([this] { emit OnChange(); });
}

void TCalendar::Click()
{
    platform::guarded([this] { emit OnClick(); });
    const QString text = DayCellText(selection_.x(), selection_.y());
    if (!text.isEmpty())
        setDay(text.toInt());
}

void TCalendar::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    QRect frame = rect();
    frame3D(painter, frame, platform::sysColor(platform::COLOR_BTNSHADOW),
        platform::sysColor(platform::COLOR_BTNHIGHLIGHT));
    frame3D(
        painter, frame, platform::sysColor(platform::COLOR_3DDKSHADOW), platform::sysColor(platform::COLOR_3DLIGHT));
    const QRect client = clientArea();
    painter.fillRect(client, color_);
    painter.setClipRect(client);
    painter.translate(client.topLeft());
    const QColor face = platform::sysColor(platform::COLOR_BTNFACE);
    const QColor lines = color_ == QColor(192, 192, 192) ? QColor(128, 128, 128) : QColor(192, 192, 192);
    const QFontMetrics metrics = fontMetrics();
    const int colWidth = DefaultColWidth(), rowHeight = DefaultRowHeight();
    for (int r = 0; r < 7; ++r) {
        for (int c = 0; c < 7; ++c) {
            QRect cell = calendar::cellRect(c, r, colWidth, rowHeight, gridLineWidth_);
            const QRect withLines = cell.adjusted(0, 0, gridLineWidth_, gridLineWidth_);
            const bool selected = r >= 1 && QPoint(c, r) == selection_;
            QColor textColour = palette().color(QPalette::WindowText);
            if (r == 0) {
                painter.fillRect(withLines, Qt::black);
                painter.fillRect(cell, face);
                QRect edge = cell;
                frame3D(painter, edge, platform::sysColor(platform::COLOR_BTNHIGHLIGHT),
                    platform::sysColor(platform::COLOR_BTNSHADOW));
            } else {
                painter.fillRect(withLines, lines);
                painter.fillRect(cell, selected ? platform::sysColor(platform::COLOR_HIGHLIGHT) : color_);
                if (selected)
                    textColour = platform::sysColor(platform::COLOR_HIGHLIGHTTEXT);
            }
            const QString text = DayCellText(c, r);
            if (!text.isEmpty()) {
                const QPoint at = calendar::centredText(cell, metrics.horizontalAdvance(text), metrics.height());
                painter.setPen(textColour);
                painter.drawText(at.x(), at.y() + metrics.ascent(), text);
            }
            if (selected && hasFocus()) {
                QPen dotted(platform::sysColor(platform::COLOR_HIGHLIGHTTEXT));
                dotted.setStyle(Qt::DotLine);
                painter.setPen(dotted);
                painter.setBrush(Qt::NoBrush);
                painter.drawRect(cell.adjusted(0, 0, -1, -1));
            }
        }
    }
}

void TCalendar::mousePressEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton) {
        QWidget::mousePressEvent(event);
        return;
    }
    setFocus(Qt::MouseFocusReason);
    const QPoint cell = calendar::cellAt(
        event->position().toPoint() - clientArea().topLeft(), DefaultColWidth(), DefaultRowHeight(), gridLineWidth_);
    if (cell.x() >= 0)
        ClickCell(cell.x(), cell.y());
    event->accept();
}

void TCalendar::keyPressEvent(QKeyEvent* event)
{
    QPoint to = selection_;
    switch (event->key()) {
    case Qt::Key_Left:
        to.rx() -= 1;
        break;
    case Qt::Key_Right:
        to.rx() += 1;
        break;
    case Qt::Key_Up:
        to.ry() -= 1;
        break;
    case Qt::Key_Down:
        to.ry() += 1;
        break;
    default:
        QWidget::keyPressEvent(event);
        return;
    }
    event->accept();
    ClickCell(to.x(), to.y());
}
