// What a screen reader finds in the seven windows: a name for every control
// a user can act on, and the names the controls are known by.
#include "controls/Form.h"
#include "session/Menu.h"
#include "session/Session.h"
#include "support/WindowsFixture.h"

#include <QAccessible>
#include <QLocale>
#include <QTest>

namespace {

struct Found {
    QString path; // the classes and object names from the window down
    QAccessible::Role role;
    QString name;
    bool actable;
};

// A control the user can act on: it takes the focus or has an action, or it
// is a custom-painted control that reports clicks yet tells nothing of itself.
bool actable(QAccessibleInterface& item)
{
    if (item.state().focusable)
        return true;
    if (const QAccessibleActionInterface* actions = item.actionInterface()) {
        for (const QString& action : actions->actionNames()) {
            if (action != QAccessibleActionInterface::setFocusAction())
                return true;
        }
    }
    const QObject* object = item.object();
    return item.role() == QAccessible::Client && item.childCount() == 0 && object
        && object->metaObject()->indexOfSignal("clicked()") >= 0;
}

// Everything a screen reader can reach under `item`; hidden parts are left out.
void walk(QAccessibleInterface* item, const QString& path, std::vector<Found>& found)
{
    if (!item || item->state().invisible)
        return;
    const QObject* object = item->object();
    const QString here = path + u'/'
        + (object ? QString::fromLatin1(object->metaObject()->className()) + u'#' + object->objectName()
                  : QStringLiteral("role %1").arg(int(item->role())));
    found.push_back({ here, item->role(), item->text(QAccessible::Name), actable(*item) });
    for (int i = 0; i < item->childCount(); ++i)
        walk(item->child(i), here, found);
}

class Accessibility : public WindowsFixture {
protected:
    void SetUp() override
    {
        QList<QByteArray> menu = testing_support::sampleMenuLines();
        menu[menufile::gadgetLine(5, menufile::GadgetName) - 1] = " ";
        menu[menufile::gadgetLine(6, menufile::GadgetName) - 1] = "";
        menu[menufile::gadgetLine(6, menufile::FilesPath) - 1] = "/usr/bin/pictured.sh";
        menu[menufile::gadgetLine(6, menufile::GraphicPath) - 1]
            = writeBitmap(QStringLiteral("p.bmp"), QSize(16, 16), Qt::blue).toLocal8Bit();
        menu[menufile::gadgetLine(6, menufile::GraphicSide) - 1] = "0";
        start(menu);
    }

    testing_support::FixedClock clock_ { QDateTime(QDate(1997, 3, 15), QTime(9, 30)) };
};

// Each window is shown in turn and walked.
TEST_F(Accessibility, EveryControlAUserCanActOnHasANameAndControlsAreKnownByWhatTheyShow)
{
    std::vector<Found> found;
    const Session& s = session();
    for (TForm* window : { s.Form1, s.MainForm, s.Form2, s.MainFormer, s.Alarm1, s.Form3, s.Form4 }) {
        window->show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(window));
        walk(QAccessible::queryAccessibleInterface(window), {}, found);
        window->hide();
    }
    for (const Found& item : found) {
        if (item.actable) {
            EXPECT_FALSE(item.name.trimmed().isEmpty()) << item.path.toStdString() << " has no name";
        }
    }

    const struct {
        QAccessible::Role role;
        QString name;
    } expected[] = {
        { QAccessible::Button, QStringLiteral("G1") },
        { QAccessible::Button, QStringLiteral("empty") },
        { QAccessible::Button, QStringLiteral("pictured") },
        { QAccessible::Button, QStringLiteral("Main Screen") },
        { QAccessible::Clock, QStringLiteral("Clock") },
        { QAccessible::StaticText, QStringLiteral("T3") },
        { QAccessible::Cell, QStringLiteral("Phone, 19h-20h: empty") },
        { QAccessible::Cell, QLocale().toString(QDate(1997, 3, 15), QLocale::LongFormat) },
        { QAccessible::EditableText, QStringLiteral("Pass") },
    };
    for (const auto& want : expected) {
        const bool there = std::any_of(found.begin(), found.end(),
            [&](const Found& item) { return item.role == want.role && item.name == want.name; });
        EXPECT_TRUE(there) << want.name.toStdString() << " (role " << int(want.role) << ") is missing";
    }
}

} // namespace
