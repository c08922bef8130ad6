// The boundary between an event handler and the event loop: an error that
// the handler does not catch ends the handler and is shown in the standard
// error box; the program goes on.
#pragma once

#include "platform/Dialogs.h"

#include <exception>
#include <utility>

namespace platform {

template <class Handler> void guarded(Handler&& handler)
{
    try {
        std::forward<Handler>(handler)();
    } catch (const std::exception& error) {
        reportException(error);
    }
}

} // namespace platform
