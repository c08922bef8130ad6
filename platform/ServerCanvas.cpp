// Drawing by the X server into a native window.
#include "platform/ServerCanvas.h"

#include <QGuiApplication>
#include <QImage>
#include <QSysInfo>
#include <algorithm>
#include <cstdlib>
#include <vector>

#if KAVRO_HAVE_XCB
#include <xcb/xcb.h>
#endif

namespace platform {

#if KAVRO_HAVE_XCB

namespace {

xcb_connection_t* applicationConnection()
{
    auto* x11 = qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    return x11 ? x11->connection() : nullptr;
}

// Pixels of this depth travel as 32 bits each with rows padded to 32 bits:
// QImage's RGB32 rows go as they are.
bool takesRgb32Rows(const xcb_setup_t& setup)
{
    if (setup.image_byte_order != XCB_IMAGE_ORDER_LSB_FIRST || QSysInfo::ByteOrder != QSysInfo::LittleEndian)
        return false;
    for (auto format = xcb_setup_pixmap_formats_iterator(&setup); format.rem; xcb_format_next(&format)) {
        if (format.data->depth == 24)
            return format.data->bits_per_pixel == 32 && format.data->scanline_pad == 32;
    }
    return false;
}

bool isRgb32Visual(const xcb_setup_t& setup, xcb_window_t root, xcb_visualid_t visual)
{
    for (auto screen = xcb_setup_roots_iterator(&setup); screen.rem; xcb_screen_next(&screen)) {
        if (screen.data->root != root)
            continue;
        for (auto depth = xcb_screen_allowed_depths_iterator(screen.data); depth.rem; xcb_depth_next(&depth)) {
            if (depth.data->depth != 24)
                continue;
            for (auto type = xcb_depth_visuals_iterator(depth.data); type.rem; xcb_visualtype_next(&type)) {
                if (type.data->visual_id == visual)
                    return type.data->_class == XCB_VISUAL_CLASS_TRUE_COLOR && type.data->red_mask == 0xff0000
                        && type.data->green_mask == 0x00ff00 && type.data->blue_mask == 0x0000ff;
            }
        }
    }
    return false;
}

template <typename Reply> using Owned = std::unique_ptr<Reply, decltype(&std::free)>;

template <typename Reply> Owned<Reply> owned(Reply* reply) { return Owned<Reply>(reply, &std::free); }

} // namespace

struct ServerCanvas::Server {
    xcb_connection_t* connection = nullptr;
    xcb_gcontext_t gc = 0;
    quint32 foreground = 0;
    xcb_pixmap_t pixmap = 0;
    QSize pixmapSize;
    qint64 picture = 0; // the cache key of the picture the pixmap holds
    WId checkedWindow = 0;
    bool windowFits = false;
    std::vector<xcb_rectangle_t> rectangles; // kept, so that a paint allocates nothing
};

std::unique_ptr<ServerCanvas> ServerCanvas::open()
{
    xcb_connection_t* connection = applicationConnection();
    if (!connection || xcb_connection_has_error(connection) || !takesRgb32Rows(*xcb_get_setup(connection)))
        return nullptr;
    auto server = std::make_unique<Server>();
    server->connection = connection;
    return std::unique_ptr<ServerCanvas>(new ServerCanvas(std::move(server)));
}

ServerCanvas::~ServerCanvas()
{
    // Once the application has closed its connection, the server has freed them.
    xcb_connection_t* connection = server_->connection;
    if (applicationConnection() != connection)
        return;
    if (server_->pixmap)
        xcb_free_pixmap(connection, server_->pixmap);
    if (server_->gc)
        xcb_free_gc(connection, server_->gc);
    xcb_flush(connection);
}

bool ServerCanvas::fits(WId window)
{
    if (window == server_->checkedWindow)
        return server_->windowFits;
    xcb_connection_t* connection = server_->connection;
    const auto id = static_cast<xcb_window_t>(window);
    const auto geometryAsked = xcb_get_geometry(connection, id);
    const auto attributesAsked = xcb_get_window_attributes(connection, id);
    const auto geometry = owned(xcb_get_geometry_reply(connection, geometryAsked, nullptr));
    const auto attributes = owned(xcb_get_window_attributes_reply(connection, attributesAsked, nullptr));
    server_->checkedWindow = window;
    server_->windowFits = geometry && attributes && geometry->depth == 24
        && isRgb32Visual(*xcb_get_setup(connection), geometry->root, attributes->visual);
    return server_->windowFits;
}

void ServerCanvas::hold(WId window, const QImage& picture)
{
    if (picture.cacheKey() == server_->picture && picture.size() == server_->pixmapSize)
        return;
    xcb_connection_t* connection = server_->connection;
    const auto id = static_cast<xcb_window_t>(window);
    if (!server_->gc) {
        server_->gc = xcb_generate_id(connection);
        const quint32 values[] = { server_->foreground, 0 };
        xcb_create_gc(connection, server_->gc, id, XCB_GC_FOREGROUND | XCB_GC_GRAPHICS_EXPOSURES, values);
    }
    if (picture.size() != server_->pixmapSize) {
        if (server_->pixmap)
            xcb_free_pixmap(connection, server_->pixmap);
        server_->pixmap = xcb_generate_id(connection);
        xcb_create_pixmap(connection, 24, server_->pixmap, id, static_cast<quint16>(picture.width()),
            static_cast<quint16>(picture.height()));
        server_->pixmapSize = picture.size();
    }
    // In bands of rows that each fit in one request.
    const QImage rows
        = picture.format() == QImage::Format_RGB32 ? picture : picture.convertToFormat(QImage::Format_RGB32);
    constexpr std::uint32_t header = 24;
    const std::uint64_t largest = std::uint64_t { xcb_get_maximum_request_length(connection) } * 4 - header;
    const auto line = static_cast<std::uint64_t>(rows.bytesPerLine());
    const int band = static_cast<int>(std::clamp<std::uint64_t>(largest / line, 1, rows.height()));
    for (int top = 0; top < rows.height(); top += band) {
        const int height = std::min(band, rows.height() - top);
        xcb_put_image(connection, XCB_IMAGE_FORMAT_Z_PIXMAP, server_->pixmap, server_->gc,
            static_cast<quint16>(rows.width()), static_cast<quint16>(height), 0, static_cast<qint16>(top), 0, 24,
            static_cast<quint32>(line * height), rows.constScanLine(top));
    }
    server_->picture = picture.cacheKey();
}

bool ServerCanvas::show(WId window, const QImage& picture, QRgb colour, std::span<const QRect> runs)
{
    if (!window || picture.isNull() || !fits(window))
        return false;
    xcb_connection_t* connection = server_->connection;
    const auto id = static_cast<xcb_window_t>(window);
    hold(window, picture);
    xcb_copy_area(connection, server_->pixmap, id, server_->gc, 0, 0, 0, 0, static_cast<quint16>(picture.width()),
        static_cast<quint16>(picture.height()));
    if (!runs.empty()) {
        const quint32 pixel = colour & 0xffffffu;
        if (pixel != server_->foreground) {
            xcb_change_gc(connection, server_->gc, XCB_GC_FOREGROUND, &pixel);
            server_->foreground = pixel;
        }
        std::vector<xcb_rectangle_t>& rectangles = server_->rectangles;
        rectangles.clear();
        for (const QRect& run : runs)
            rectangles.push_back({ static_cast<qint16>(run.x()), static_cast<qint16>(run.y()),
                static_cast<quint16>(run.width()), static_cast<quint16>(run.height()) });
        xcb_poly_fill_rectangle(
            connection, id, server_->gc, static_cast<quint32>(rectangles.size()), rectangles.data());
    }
    xcb_flush(connection);
    return true;
}

#else

struct ServerCanvas::Server { };

std::unique_ptr<ServerCanvas> ServerCanvas::open() { return nullptr; }

ServerCanvas::~ServerCanvas() = default;

bool ServerCanvas::show(WId, const QImage&, QRgb, std::span<const QRect>) { return false; }

#endif

ServerCanvas::ServerCanvas(std::unique_ptr<Server> server)
    : server_(std::move(server))
{
}

} // namespace platform
