// The request for X made before the application object exists, and its withdrawal.
#include "platform/WindowSystem.h"

#include "support/TestSupport.h"

#include <gtest/gtest.h>
#include <optional>

using testing_support::ScopedEnvironment;

namespace {

std::optional<QByteArray> platformVariable()
{
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        return std::nullopt;
    return qgetenv("QT_QPA_PLATFORM");
}

TEST(XPlatformRequest, AsksForXOnlyWhenOfferedAndUnchosenAndLeavesTheEnvironmentAsItWas)
{
    const QByteArray unset; // null: not in the environment
    const struct {
        const char* what;
        QByteArray display, wayland, platform;
        const char* argument;
        std::optional<QByteArray> asked;
    } cases[] = {
        { "X alone", ":5", unset, unset, nullptr, "xcb" },
        { "X beside Wayland", ":5", "wayland-0", unset, nullptr, "xcb;wayland" },
        { "an empty choice is none", ":5", "wayland-0", "", nullptr, "xcb;wayland" },
        { "the user's variable", ":5", "wayland-0", "wayland", nullptr, std::nullopt },
        { "the user's argument", ":5", "wayland-0", unset, "-platform", std::nullopt },
        { "no X server", unset, "wayland-0", unset, nullptr, std::nullopt },
    };
    for (const auto& c : cases) {
        const ScopedEnvironment display("DISPLAY", c.display);
        const ScopedEnvironment wayland("WAYLAND_DISPLAY", c.wayland);
        const ScopedEnvironment platform("QT_QPA_PLATFORM", c.platform);
        const std::optional<QByteArray> before = platformVariable();
        const char* argv[] = { "KavroStart", c.argument ? c.argument : "--user-folder", "wayland" };
        platform::XPlatformRequest request(3, argv);
        EXPECT_EQ(request.made(), c.asked.has_value()) << c.what;
        EXPECT_EQ(platformVariable(), c.asked ? c.asked : before) << c.what;
        request.withdraw();
        EXPECT_EQ(platformVariable(), before) << c.what;
    }
}

} // namespace
