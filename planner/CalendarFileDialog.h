// The planner's choice of a calendar file behind one seam, so that tests
// never open a real file dialog.
#pragma once

#include <QString>
#include <optional>

class QWidget;

namespace plan {

enum class CalendarFileUse { Import, Export };

class CalendarFileDialog {
public:
    virtual ~CalendarFileDialog() = default;

    // The file chosen in `folder` (offering `fileName` to an export), or
    // nothing on Cancel. An export's dialog asks before an existing file is
    // replaced and adds ".ics" to a name without a suffix.
    virtual std::optional<QString> chooseCalendarFile(
        QWidget* parent, CalendarFileUse use, const QString& folder, const QString& fileName)
        = 0;
};

// The dialog in use: the system's unless a test installed its own.
CalendarFileDialog& calendarFileDialog();
// Installs `replacement` (not owned); nullptr restores the system's dialog.
void setCalendarFileDialog(CalendarFileDialog* replacement);

} // namespace plan
