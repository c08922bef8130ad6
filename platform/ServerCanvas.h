// Pictures that the X server itself draws into a native window: a picture it
// keeps is copied in and runs of one colour are filled over it, so showing a
// change sends a few dozen bytes instead of the window's pixels.
#pragma once

#include <QRect>
#include <QRgb>
#include <QtGui/qwindowdefs.h>
#include <memory>
#include <span>

class QImage;

namespace platform {

class ServerCanvas final {
public:
    // Nothing unless the application paints on an X server that takes
    // QImage::Format_RGB32 rows as they are: 24-bit pixels sent as 32 bits
    // each, in this machine's byte order.
    static std::unique_ptr<ServerCanvas> open();
    ~ServerCanvas();
    ServerCanvas(const ServerCanvas&) = delete;
    ServerCanvas& operator=(const ServerCanvas&) = delete;

    // Shows `picture` (Format_RGB32) at the window's top left corner, then
    // fills `runs` in `colour`. The picture is sent only when it is not the
    // one the server holds already. False, with nothing drawn, when the
    // window's pixels are not 24-bit true colour with red, green and blue in
    // RGB32's places; that is looked up once for each window.
    bool show(WId window, const QImage& picture, QRgb colour, std::span<const QRect> runs);

private:
    struct Server;
    explicit ServerCanvas(std::unique_ptr<Server> server);
    bool fits(WId window);
    void hold(WId window, const QImage& picture);

    std::unique_ptr<Server> server_;
};

} // namespace platform
