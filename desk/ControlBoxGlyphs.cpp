// Pictures of the control box's buttons, drawn as 16-colour pixel art.
#include "desk/ControlBoxGlyphs.h"

#include "controls/PixelArt.h"

namespace controlboxglyphs {

QImage alarmClock()
{
    return pixelart::withDisabledImage(pixelart::fromRows({
        "................",
        ".kk..........kk.",
        "krrk..kkkk..krrk",
        "krrkkkrrrrkkkrrk",
        ".kkkrrwwwwrrkkk.",
        "..krwwwkwwwwrk..",
        "..krwwwkwwwwrk..",
        ".krwwwwkwwwwwrk.",
        ".krwwwwkkkkwwrk.",
        ".krwwwwwwwwwwrk.",
        ".krwwwwwwwwwwrk.",
        "..krwwwwwwwwrk..",
        "..krrwwwwwwrrk..",
        "...kkrrrrrrkk...",
        "...k.kkkkkk.k...",
        "..k..........k..",
    }));
}

QImage mainScreen()
{
    return pixelart::fromRows({
        "....................",
        ".kkkkkkkkkkkkkkkkkk.",
        ".knnnnnnnnnnnnnssnk.",
        ".knnnnnnnnnnnnnnknk.",
        ".kssssssssssssssssk.",
        ".ksrrrrrrrrrrrrrssk.",
        ".ksrrrrrrrrrrrrrssk.",
        ".ksyyyyyyyyyssssssk.",
        ".ksyyyyyyyyyssssssk.",
        ".ksllllllllllllsssk.",
        ".ksllllllllllllsssk.",
        ".ksbbbbbbbssssssssk.",
        ".ksbbbbbbbssssssssk.",
        ".kssssssssssssssssk.",
        ".kkkkkkkkkkkkkkkkkk.",
        "....................",
    });
}

QImage calendarPage()
{
    return pixelart::withDisabledImage(pixelart::fromRows({
        "....k......k....",
        "....k......k....",
        ".kkkdkkkkkkdkkk.",
        ".krrrrrrrrrrrrk.",
        ".krrrrrrrrrrrrk.",
        ".kwwwwwwwwwwwwk.",
        ".kwnwnwnwnwnwwk.",
        ".kwwwwwwwwwwwwk.",
        ".kwnwnwnwnwnwwk.",
        ".kwwwwwwwwwwwwk.",
        ".kwnwnwnwrwnwwk.",
        ".kwwwwwwwwwwwwk.",
        ".kwnwnwnwnwnwwk.",
        ".kwwwwwwwwwwwwk.",
        ".kwwwwwwwwwwwwk.",
        ".kkkkkkkkkkkkkk.",
    }));
}

} // namespace controlboxglyphs
