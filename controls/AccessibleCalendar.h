// The calendar as screen readers see it: a table named "Calendar" whose
// value is the date shown, with one cell for each day of the shown month,
// named by its date, selected when it is the day shown, and pressed to show it.
#pragma once

class QAccessibleInterface;
class TCalendar;

namespace accessibility {

QAccessibleInterface* calendarInterface(TCalendar* calendar);

// Tells a listening assistive technology that the calendar shows another
// day; the day's cell takes the focus when the calendar has it.
void announceDayShown(TCalendar* calendar);

} // namespace accessibility
