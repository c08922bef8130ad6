// What screen readers learn of the custom-painted controls, through the
// toolkit's accessibility interfaces: the colour speed button is a button
// named by its caption with a Press action, the ticking clock a clock whose
// value is the time it shows, a panel a pane or a text named by its caption,
// and the calendar a table of its days (AccessibleCalendar.h). Nothing here
// runs until an assistive technology or a test asks, and the announcements
// below do nothing unless one listens.
#pragma once

#include <QString>

class QObject;

namespace accessibility {

// Makes the controls' interfaces known to the toolkit; cheap, and calling it again changes nothing.
void installControlInterfaces();

// A caption as it is read aloud: the accelerator marks go ("&&" stands for one "&").
QString withoutAccelerator(const QString& caption);

// The name of a colour speed button: the name set for it, else its caption,
// else its hint; a button with neither a caption, a hint nor a picture is "empty".
QString buttonName(const QString& given, const QString& caption, const QString& hint, bool hasPicture);

// The time a clock shows, as "hh:mm:ss".
QString clockText(int hour, int minute, int second);

// Tell a listening assistive technology that a control's name, or the time
// a clock shows, has changed.
void announceNameChange(QObject* control);
void announceTimeChange(QObject* clock);

} // namespace accessibility
