// The system's file dialog for calendar files.
#include "planner/CalendarFileDialog.h"

#include <QFileDialog>

namespace plan {

namespace {

class SystemCalendarFileDialog final : public CalendarFileDialog {
public:
    std::optional<QString> chooseCalendarFile(
        QWidget* parent, CalendarFileUse use, const QString& folder, const QString& fileName) override
    {
        const bool exporting = use == CalendarFileUse::Export;
        QFileDialog dialog(parent,
            exporting ? QStringLiteral("Export iCalendar File") : QStringLiteral("Import iCalendar File"), folder);
        dialog.setOption(QFileDialog::DontUseNativeDialog);
        dialog.setAcceptMode(exporting ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
        dialog.setFileMode(exporting ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
        dialog.setNameFilters(
            { QStringLiteral("iCalendar files (*.ics *.ical *.ifb *.icalendar)"), QStringLiteral("All files (*)") });
        if (exporting) {
            dialog.setDefaultSuffix(QStringLiteral("ics"));
            dialog.selectFile(fileName);
        }
        const int result = dialog.exec();
        if (parent)
            parent->activateWindow();
        if (result != QDialog::Accepted || dialog.selectedFiles().isEmpty())
            return std::nullopt;
        return dialog.selectedFiles().first();
    }
};

SystemCalendarFileDialog systemDialog;
CalendarFileDialog* current = nullptr;

} // namespace

CalendarFileDialog& calendarFileDialog() { return current ? *current : systemDialog; }

void setCalendarFileDialog(CalendarFileDialog* replacement) { current = replacement; }

} // namespace plan
