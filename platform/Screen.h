// Size of the primary screen, replaceable by tests.
#pragma once

#include <QSize>
#include <optional>

namespace platform {

QSize primaryScreenSize();

void setScreenSizeForTesting(std::optional<QSize> size);

} // namespace platform
