// System message boxes.
#include "platform/Dialogs.h"

#include "rtl/Errors.h"

#include <QMessageBox>
#include <cstdio>

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

// Prints each box on standard output and returns at once; chosen with the
// environment variable KAVRO_DIALOGS=print, for tests that run the whole program.
class PrintingDialogs final : public Dialogs {
public:
    void information(const QString& caption, const QString& text) override { print("information", caption, text); }
    void error(const QString& text) override { print("error", QStringLiteral("Kavro Start"), text); }

private:
    static void print(const char* kind, const QString& caption, const QString& text)
    {
        std::fprintf(stdout, "%s|%s|%s\n", kind, caption.toLocal8Bit().constData(), text.toLocal8Bit().constData());
        std::fflush(stdout);
    }
};

SystemDialogs systemDialogs;
PrintingDialogs printingDialogs;
Dialogs* current = nullptr;

} // namespace

Dialogs& dialogs()
{
    static const bool printing = qEnvironmentVariable("KAVRO_DIALOGS") == QLatin1String("print");
    if (current)
        return *current;
    return printing ? static_cast<Dialogs&>(printingDialogs) : systemDialogs;
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
