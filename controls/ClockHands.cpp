// Hand geometry of the analogue clock.
#include "controls/ClockHands.h"

#include <cmath>
#include <numbers>

QPoint clockPoint(QPoint centre, long double angle, long double radius)
{
    // nearbyint rounds in the current mode, which is to nearest with ties to even.
    const auto dx = static_cast<int>(std::nearbyint(std::cos(angle) * radius));
    const auto dy = static_cast<int>(std::nearbyint(std::sin(angle) * radius));
    return { centre.x() + dx, centre.y() + dy };
}

namespace {

constexpr long double pi = std::numbers::pi_v<long double>;

QPolygon kite(QPoint centre, float angle, long double offset, int length)
{
    const long double sideRadius = length * 0.8L;
    return QPolygon({ centre, clockPoint(centre, angle - offset, sideRadius), clockPoint(centre, angle, length),
        clockPoint(centre, angle + offset, sideRadius), centre });
}

} // namespace

QPoint secondHandEnd(QPoint centre, int second, int length)
{
    // Worked out in extended precision and kept as a single float, like the other hands' angles.
    const auto secondAngle = static_cast<float>(second * 2 * pi / 60 - pi / 2);
    return clockPoint(centre, secondAngle, length);
}

ClockHands clockHands(QPoint centre, int hour, int minute, int second, HandLengths lengths)
{
    // Worked out in extended precision and kept as single floats.
    const auto minuteAngle = static_cast<float>(minute * 2 * pi / 60 - pi / 2);
    const auto hourAngle = static_cast<float>((hour + minute / 60.0L) * 2 * pi / 12 - pi / 2);
    ClockHands hands;
    hands.hour = kite(centre, hourAngle, 0.16L, lengths.hour);
    hands.minute = kite(centre, minuteAngle, 0.18L, lengths.minute);
    hands.secondEnd = secondHandEnd(centre, second, lengths.second);
    return hands;
}
