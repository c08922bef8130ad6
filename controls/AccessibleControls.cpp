// Accessible interfaces of the colour speed button, the ticking clock and the panel.
#include "controls/AccessibleControls.h"

#include "controls/AccessibleCalendar.h"
#include "controls/Calendar.h"
#include "controls/Colorbut.h"
#include "controls/Panel.h"
#include "controls/Split32.h"
#include "controls/TikClock.h"
#include "platform/Guard.h"

#include <QAccessible>
#include <QAccessibleWidget>

namespace accessibility {

QString withoutAccelerator(const QString& caption)
{
    QString spoken;
    spoken.reserve(caption.size());
    for (qsizetype i = 0; i < caption.size(); ++i) {
        if (caption[i] == u'&' && i + 1 < caption.size())
            ++i;
        else if (caption[i] == u'&')
            continue;
        spoken += caption[i];
    }
    return spoken;
}

QString buttonName(const QString& given, const QString& caption, const QString& hint, bool hasPicture)
{
    for (const QString& name : { given, withoutAccelerator(caption), hint }) {
        if (!name.trimmed().isEmpty())
            return name.trimmed();
    }
    return hasPicture ? QString() : QStringLiteral("empty");
}

QString clockText(int hour, int minute, int second)
{
    return QString::asprintf("%02d:%02d:%02d", hour, minute, second);
}

void announceNameChange(QObject* control)
{
    if (!QAccessible::isActive())
        return;
    QAccessibleEvent event(control, QAccessible::NameChanged);
    QAccessible::updateAccessibility(&event);
}

void announceTimeChange(QObject* clock)
{
    if (!QAccessible::isActive())
        return;
    const QAccessibleInterface* shown = QAccessible::queryAccessibleInterface(clock);
    if (!shown)
        return;
    QAccessibleValueChangeEvent value(clock, shown->text(QAccessible::Value));
    QAccessible::updateAccessibility(&value);
    QAccessibleEvent description(clock, QAccessible::DescriptionChanged);
    QAccessible::updateAccessibility(&description);
}

} // namespace accessibility

namespace {

// Carries out a click once the event loop runs again, so that an assistive
// technology's call returns at once even when the click opens a message box;
// nothing happens to a control that is gone, disabled or hidden by then.
template <class Control, class Click> void clickLater(Control* control, Click click)
{
    QMetaObject::invokeMethod(
        control,
        [control, click] {
            if (control->isEnabled() && control->isVisible())
                platform::guarded([control, &click] { click(*control); });
        },
        Qt::QueuedConnection);
}

class AccessibleSpeedButton final : public QAccessibleWidget {
public:
    explicit AccessibleSpeedButton(TColorSpeedButton* button)
        : QAccessibleWidget(button, QAccessible::Button)
    {
    }

    QString text(QAccessible::Text kind) const override
    {
        const TColorSpeedButton& b = button();
        QString name
            = accessibility::buttonName(b.accessibleName(), b.Caption(), b.toolTip(), !b.GlyphObject().Glyph().Empty());
        if (kind == QAccessible::Name)
            return name;
        const QString other = QAccessibleWidget::text(kind);
        return kind == QAccessible::Description && other.trimmed() == name ? QString() : other;
    }

    QAccessible::State state() const override
    {
        QAccessible::State state = QAccessibleWidget::state();
        state.pressed = button().State() == TButtonState::bsDown;
        if (button().GroupIndex() != 0) {
            state.checkable = true;
            state.checked = button().Down();
        }
        return state;
    }

    QStringList actionNames() const override { return QStringList(pressAction()) + QAccessibleWidget::actionNames(); }

    // What a click with the mouse does: a button of a group toggles, then the click is reported.
    void doAction(const QString& action) override
    {
        if (action != pressAction()) {
            QAccessibleWidget::doAction(action);
            return;
        }
        clickLater(&button(), [](TColorSpeedButton& b) {
            if (b.GroupIndex() != 0)
                b.setDown(!b.Down());
            emit b.clicked();
        });
    }

private:
    TColorSpeedButton& button() const { return *static_cast<TColorSpeedButton*>(widget()); }
};

class AccessibleClock final : public QAccessibleWidget {
public:
    explicit AccessibleClock(TTickingClock* clock)
        : QAccessibleWidget(clock, QAccessible::Clock)
    {
    }

    // The time also stands in the description, which reaches screen readers
    // that read no value of a control without a number.
    QString text(QAccessible::Text kind) const override
    {
        switch (kind) {
        case QAccessible::Name:
            return widget()->accessibleName().isEmpty() ? QStringLiteral("Clock") : widget()->accessibleName();
        case QAccessible::Value:
        case QAccessible::Description:
            return accessibility::clockText(clock().Hour(), clock().Min(), clock().Sec());
        default:
            return QAccessibleWidget::text(kind);
        }
    }

    QStringList actionNames() const override { return QStringList(pressAction()) + QAccessibleWidget::actionNames(); }

    void doAction(const QString& action) override
    {
        if (action == pressAction())
            clickLater(&clock(), [](TTickingClock& c) { emit c.clicked(); });
        else
            QAccessibleWidget::doAction(action);
    }

private:
    TTickingClock& clock() const { return *static_cast<TTickingClock*>(widget()); }
};

// A panel that holds controls is a pane; one that holds none shows only its
// caption, or is a mere line without one.
class AccessiblePanel final : public QAccessibleWidget {
public:
    explicit AccessiblePanel(TPanel* panel)
        : QAccessibleWidget(panel)
    {
    }

    QAccessible::Role role() const override
    {
        const auto* panel = static_cast<const TPanel*>(widget());
        if (qobject_cast<const TSplitter*>(panel))
            return QAccessible::Splitter;
        if (panel->findChild<QWidget*>(QString(), Qt::FindDirectChildrenOnly))
            return QAccessible::Pane;
        return panel->Caption().trimmed().isEmpty() ? QAccessible::Separator : QAccessible::StaticText;
    }

    QString text(QAccessible::Text kind) const override
    {
        QString given = QAccessibleWidget::text(kind);
        if (kind != QAccessible::Name || !given.isEmpty())
            return given;
        return static_cast<const TPanel*>(widget())->Caption().trimmed();
    }
};

QAccessibleInterface* controlInterface(const QString& className, QObject* object)
{
    if (className == QLatin1String("TColorSpeedButton"))
        return new AccessibleSpeedButton(static_cast<TColorSpeedButton*>(object));
    if (className == QLatin1String("TTickingClock"))
        return new AccessibleClock(static_cast<TTickingClock*>(object));
    if (className == QLatin1String("TCalendar"))
        return accessibility::calendarInterface(static_cast<TCalendar*>(object));
    if (className == QLatin1String("TPanel"))
        return new AccessiblePanel(static_cast<TPanel*>(object));
    return nullptr;
}

} // namespace

void accessibility::installControlInterfaces() { QAccessible::installFactory(controlInterface); }
