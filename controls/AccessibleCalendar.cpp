// Accessible interfaces of the calendar and of its days.
#include "controls/AccessibleCalendar.h"

#include "controls/Calendar.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QLocale>
#include <QPointer>
#include <array>

namespace {

constexpr int LongestMonth = 31;

// Day `day` of the month the calendar shows. It has no object of its own:
// its parent keeps it, one for each day number, whatever month is shown.
class AccessibleCalendarDay final : public QAccessibleInterface, public QAccessibleActionInterface {
public:
    AccessibleCalendarDay(TCalendar* calendar, int day)
        : calendar_(calendar)
        , day_(day)
    {
    }

    bool isValid() const override { return calendar_ && day_ <= calendar_->ShownMonthLength(); }
    QObject* object() const override { return nullptr; }
    QWindow* window() const override { return calendar_ ? calendar_->window()->windowHandle() : nullptr; }
    QAccessibleInterface* parent() const override { return QAccessible::queryAccessibleInterface(calendar_); }
    QAccessibleInterface* child(int) const override { return nullptr; }
    int childCount() const override { return 0; }
    int indexOfChild(const QAccessibleInterface*) const override { return -1; }
    QAccessibleInterface* childAt(int, int) const override { return nullptr; }
    QAccessibleInterface* focusChild() const override { return nullptr; }

    QString text(QAccessible::Text kind) const override
    {
        if (kind != QAccessible::Name || !isValid())
            return {};
        return QLocale().toString(QDate(calendar_->Year(), calendar_->Month(), day_), QLocale::LongFormat);
    }
    void setText(QAccessible::Text, const QString&) override { }

    QRect rect() const override
    {
        if (!isValid())
            return {};
        const QPoint cell = calendar::cellOfDay(calendar_->MonthOffset(), day_);
        const QRect r = calendar::cellRect(
            cell.x(), cell.y(), calendar_->DefaultColWidth(), calendar_->DefaultRowHeight(), calendar_->GridLineWidth())
                            .translated(calendar_->clientArea().topLeft());
        return { calendar_->mapToGlobal(r.topLeft()), r.size() };
    }

    QAccessible::Role role() const override { return QAccessible::Cell; }

    QAccessible::State state() const override
    {
        QAccessible::State state;
        if (!isValid())
            return state;
        state.invisible = !calendar_->isVisible();
        state.disabled = !calendar_->isEnabled();
        state.selectable = !calendar_->ReadOnly();
        state.selected = day_ == calendar_->Day();
        state.focused = state.selected && calendar_->hasFocus();
        return state;
    }

    void* interface_cast(QAccessible::InterfaceType type) override
    {
        return type == QAccessible::ActionInterface ? static_cast<QAccessibleActionInterface*>(this) : nullptr;
    }

    QStringList actionNames() const override { return { pressAction() }; }
    QStringList keyBindingsForAction(const QString&) const override { return {}; }

    // Selects the day's cell as a click on it does (a read-only calendar refuses).
    void doAction(const QString& action) override
    {
        if (action != pressAction() || !calendar_)
            return;
        QMetaObject::invokeMethod(
            calendar_,
            [calendar = calendar_, day = day_] {
                if (!calendar || !calendar->isEnabled() || !calendar->isVisible() || day > calendar->ShownMonthLength())
                    return;
                const QPoint cell = calendar::cellOfDay(calendar->MonthOffset(), day);
                calendar->ClickCell(cell.x(), cell.y());
            },
            Qt::QueuedConnection);
    }

private:
    QPointer<TCalendar> calendar_;
    int day_;
};

class AccessibleCalendar final : public QAccessibleWidget {
public:
    explicit AccessibleCalendar(TCalendar* calendar)
        : QAccessibleWidget(calendar, QAccessible::Table)
    {
    }
    ~AccessibleCalendar() override
    {
        for (QAccessible::Id id : days_) {
            if (id != 0)
                QAccessible::deleteAccessibleInterface(id);
        }
    }

    QString text(QAccessible::Text kind) const override
    {
        switch (kind) {
        case QAccessible::Name:
            return widget()->accessibleName().isEmpty() ? QStringLiteral("Calendar") : widget()->accessibleName();
        case QAccessible::Value:
            return QLocale().toString(calendar().ShownDate(), QLocale::LongFormat);
        default:
            return QAccessibleWidget::text(kind);
        }
    }

    int childCount() const override { return calendar().ShownMonthLength(); }

    QAccessibleInterface* child(int index) const override
    {
        if (index < 0 || index >= childCount())
            return nullptr;
        QAccessible::Id& id = days_.at(size_t(index));
        if (id == 0)
            id = QAccessible::registerAccessibleInterface(new AccessibleCalendarDay(&calendar(), index + 1));
        return QAccessible::accessibleInterface(id);
    }

    int indexOfChild(const QAccessibleInterface* child) const override
    {
        for (size_t i = 0; i < days_.size(); ++i) {
            if (days_.at(i) != 0 && QAccessible::accessibleInterface(days_.at(i)) == child)
                return int(i);
        }
        return -1;
    }

    QAccessibleInterface* childAt(int x, int y) const override
    {
        const TCalendar& c = calendar();
        const QPoint point = c.mapFromGlobal(QPoint(x, y)) - c.clientArea().topLeft();
        const QPoint cell = calendar::cellAt(point, c.DefaultColWidth(), c.DefaultRowHeight(), c.GridLineWidth());
        if (cell.y() < 1)
            return nullptr;
        const int day = calendar::cellDay(c.MonthOffset(), c.ShownMonthLength(), cell.x(), cell.y());
        return day > 0 ? child(day - 1) : nullptr;
    }

    QAccessibleInterface* focusChild() const override
    {
        return calendar().hasFocus() ? child(calendar().Day() - 1) : nullptr;
    }

private:
    TCalendar& calendar() const { return *static_cast<TCalendar*>(widget()); }

    mutable std::array<QAccessible::Id, LongestMonth> days_ {};
};

} // namespace

QAccessibleInterface* accessibility::calendarInterface(TCalendar* calendar) { return new AccessibleCalendar(calendar); }

void accessibility::announceDayShown(TCalendar* calendar)
{
    if (!QAccessible::isActive())
        return;
    QAccessibleInterface* shown = QAccessible::queryAccessibleInterface(calendar);
    if (!shown)
        return;
    QAccessibleValueChangeEvent value(calendar, shown->text(QAccessible::Value));
    QAccessible::updateAccessibility(&value);
    if (!calendar->hasFocus())
        return;
    if (QAccessibleInterface* day = shown->child(calendar->Day() - 1)) {
        QAccessibleEvent focus(day, QAccessible::Focus);
        QAccessible::updateAccessibility(&focus);
    }
}
