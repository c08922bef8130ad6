// A month calendar on a 7 x 7 grid: a row of weekday names over six rows
// of day numbers; clicks, arrow keys and the date setters change the date.
#pragma once

#include <QDate>
#include <QPoint>
#include <QRect>
#include <QWidget>

namespace calendar {

// The number the first cell of row 1 would show, between -5 and 1, for a
// month whose 1st falls on `firstWeekday` (1 Sunday .. 7 Saturday) when
// column 0 is the weekday `startOfWeek` (0 Sunday .. 6 Saturday).
int monthOffset(int firstWeekday, int startOfWeek);

// Sunday 1 .. Saturday 7.
int weekdayOf(const QDate& date);

// The day number cell (c, r), r >= 1, shows; 0 for an empty cell.
int cellDay(int offset, int monthLength, int column, int row);

// Column (x) and row (y) of the cell that shows `day`.
QPoint cellOfDay(int offset, int day);

// Cell sizes that fill a client area of this size with seven columns and
// seven rows separated by lines of `lineWidth`.
int cellWidth(int clientWidth, int lineWidth);
int cellHeight(int clientHeight, int lineWidth);

// Cell (c, r) in client coordinates.
QRect cellRect(int column, int row, int width, int height, int lineWidth);

// The cell under a client point, or (-1, -1).
QPoint cellAt(const QPoint& point, int width, int height, int lineWidth);

// Top left of a text centred in a cell, halves rounded toward zero.
QPoint centredText(const QRect& cell, int textWidth, int textHeight);

} // namespace calendar

class TCalendar final : public QWidget {
    Q_OBJECT
public:
    explicit TCalendar(QWidget* parent = nullptr);

    QDate ShownDate() const { return shownDate_; }
    // Shows `date` and reports the change.
    void SetShownDate(const QDate& date);

    int Day() const { return shownDate_.day(); }
    int Month() const { return shownDate_.month(); }
    int Year() const { return shownDate_.year(); }
    // Each ignores a value below 1, beyond its range or unchanged, raises
    // "Invalid argument to date encode" (changing nothing) for a
    // combination that is no date, and reports a change.
    void setDay(int value);
    void setMonth(int value);
    void setYear(int value);

    // One month back or forward, keeping the day number as far as the new month allows.
    void MonthBack();
    void MonthForward();

    int StartOfWeek() const { return startOfWeek_; }
    void setStartOfWeek(int day);
    bool UseCurrentDate() const { return useCurrentDate_; }
    void setUseCurrentDate(bool value);
    bool ReadOnly() const { return readOnly_; }
    void setReadOnly(bool value) { readOnly_ = value; }
    int GridLineWidth() const { return gridLineWidth_; }
    void setGridLineWidth(int width);
    void setColor(const QColor& color);

    int MonthOffset() const { return monthOffset_; }
    int MonthLength(int year, int month) const;
    int ShownMonthLength() const { return MonthLength(Year(), Month()); }
    bool IsLeap(int year) const;

    QString DayCellText(int column, int row) const;
    // The selected cell: column in x, row in y.
    QPoint Selection() const { return selection_; }
    // Whether the user may select the cell.
    bool SelectCell(int column, int row) const;
    // Selects a cell as the user does, then acts on the click; false when it cannot be selected.
    bool ClickCell(int column, int row);

    // Seven columns and seven rows fill the client area, whatever its size.
    int DefaultColWidth() const { return calendar::cellWidth(clientArea().width(), gridLineWidth_); }
    int DefaultRowHeight() const { return calendar::cellHeight(clientArea().height(), gridLineWidth_); }
    QRect clientArea() const;

signals:
    void OnChange();
    void OnClick();

protected:
    void Relayout();
    void NotifyChange();
    void Click();

    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void step(int months);
    void setDate(const QDate& date);

    QDate shownDate_;
    int monthOffset_ = 1;
    int startOfWeek_ = 0;
    bool useCurrentDate_ = true;
    bool readOnly_ = false;
    bool updating_ = false;
    int gridLineWidth_ = 1;
    QColor color_;
    QPoint selection_ { 0, 1 };
};
