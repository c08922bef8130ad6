// System message boxes.
#include "platform/Dialogs.h"

#include "rtl/Errors.h"

#include <QMessageBox>
#include <QShowEvent>

namespace platform {

namespace {

// Comes up above every window of the program, stay-on-top ones included,
// and takes the focus, so nothing covers it or keeps its keys.
class ForegroundMessageBox final : public QMessageBox {
public:
    ForegroundMessageBox(Icon icon, const QString& caption, const QString& text)
        : QMessageBox(icon, caption, text, QMessageBox::Ok, nullptr,
            Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowStaysOnTopHint)
    {
        // Texts come from menu files, user names and error messages: never markup.
        setTextFormat(Qt::PlainText);
    }

protected:
    void showEvent(QShowEvent* event) override
    {
        QMessageBox::showEvent(event);
        raise();
        activateWindow();
    }
};

class SystemDialogs final : public Dialogs {
public:
    void information(const QString& caption, const QString& text) override
    {
        messageBox(BoxKind::Information, caption, text)->exec();
    }

    void error(const QString& text) override
    {
        messageBox(BoxKind::Error, QStringLiteral("Kavro Start"), text)->exec();
    }

    bool informationWithChoice(const QString& caption, const QString& text, const QString& otherButton) override
    {
        const auto box = messageBox(caption, text, otherButton);
        box->exec();
        return box->buttonRole(box->clickedButton()) == QMessageBox::ActionRole;
    }
};

SystemDialogs systemDialogs;
Dialogs* current = nullptr;

} // namespace

std::unique_ptr<QMessageBox> messageBox(BoxKind kind, const QString& caption, const QString& text)
{
    const auto icon = kind == BoxKind::Information ? QMessageBox::Information : QMessageBox::Critical;
    return std::make_unique<ForegroundMessageBox>(icon, caption, text);
}

std::unique_ptr<QMessageBox> messageBox(const QString& caption, const QString& text, const QString& otherButton)
{
    auto box = messageBox(BoxKind::Information, caption, text);
    box->addButton(otherButton, QMessageBox::ActionRole);
    box->setDefaultButton(QMessageBox::Ok);
    box->setEscapeButton(QMessageBox::Ok);
    return box;
}

Dialogs& dialogs()
{
    if (current)
        return *current;
    return systemDialogs;
}

void setDialogs(Dialogs* replacement) { current = replacement; }

void reportException(const std::exception& error)
{
    QString message;
    if (const auto* own = dynamic_cast<const rtl::Exception*>(&error))
        message = own->message();
    else
        message = QString::fromLocal8Bit(error.what());
    if (!message.endsWith(u'.'))
        message += u'.';
    dialogs().error(message);
}

} // namespace platform
