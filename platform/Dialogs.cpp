// System message boxes.
#include "platform/Dialogs.h"

#include "rtl/Errors.h"

#include <QMessageBox>

namespace platform {

namespace {

class SystemDialogs final : public Dialogs {
public:
    void information(const QString& caption, const QString& text) override
    {
        QMessageBox box(QMessageBox::Information, caption, text, QMessageBox::Ok);
        box.exec();
    }

    void error(const QString& text) override
    {
        QMessageBox box(QMessageBox::Critical, QStringLiteral("Kavro Start"), text, QMessageBox::Ok);
        box.exec();
    }
};

SystemDialogs systemDialogs;
Dialogs* current = nullptr;

} // namespace

Dialogs& dialogs() { return current ? *current : systemDialogs; }

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
