// Window base.
#include "controls/Form.h"

#include "platform/Guard.h"
#include "platform/WindowSystem.h"

#include <QCloseEvent>
#include <QShowEvent>

TForm::TForm(QWidget* parent, Qt::WindowFlags flags)
    : QWidget(parent, flags)
{
}

void TForm::ensureControls()
{
    if (controlsCreated_)
        return;
    controlsCreated_ = true;
    createControls();
}

void TForm::setVisible(bool visible)
{
    if (visible)
        ensureControls();
    QWidget::setVisible(visible);
}

void TForm::coverScreen(const QRect& area)
{
    setGeometry(area);
    // A compositor places windows itself and leaves its panel above one
    // merely sized to the screen: only the full-screen state covers it.
    if (!platform::windowsPlaceable())
        setWindowState(windowState() | Qt::WindowFullScreen);
}

void TForm::showAndRaise()
{
    show();
    raise();
    activateWindow();
}

void TForm::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    if (!event->spontaneous())
        platform::guarded([this] { FormShow(); });
}

void TForm::closeEvent(QCloseEvent* event)
{
    if (!FormCloseQuery()) {
        event->ignore();
        return;
    }
    platform::guarded([this] { FormClose(); });
    event->accept();
}

void TForm::changeEvent(QEvent* event)
{
    QWidget::changeEvent(event);
    if (!comesBack_ || event->type() != QEvent::WindowStateChange || !isMinimized())
        return;
    // Not from within the window system's own report of the change.
    QMetaObject::invokeMethod(
        this,
        [this] {
            if (!isMinimized() || !isVisible())
                return;
            setWindowState(windowState() & ~Qt::WindowMinimized);
            showAndRaise();
        },
        Qt::QueuedConnection);
}
