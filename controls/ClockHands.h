// Where an analogue clock's hands lie for a time of day.
#pragma once

#include <QPoint>
#include <QPolygon>

struct HandLengths {
    int hour = 0;
    int minute = 0;
    int second = 0;
    bool operator==(const HandLengths&) const = default;
};

// Where the hands lie, in control pixels.
struct ClockHands {
    QPolygon hour; // centre, side, tip, side, centre
    QPolygon minute; // the same for the minute hand
    QPoint secondEnd; // the second hand runs from the centre to here
};

// The point at `angle` (radians; 0 is 3 o'clock, y grows downwards) and
// `radius` from `centre`, each offset rounded to the nearest integer, ties to even.
QPoint clockPoint(QPoint centre, long double angle, long double radius);

// The hands for a time of day; hours 12 to 23 draw like 0 to 11, and the
// hour hand moves with the minutes but not with the seconds.
ClockHands clockHands(QPoint centre, int hour, int minute, int second, HandLengths lengths);
// Where the second hand of that length ends.
QPoint secondHandEnd(QPoint centre, int second, int length);
