// The boundary between an event handler and the event loop: an error that
// the handler does not catch ends the handler and is shown in the standard
// error box; the program goes on.
//
// Who guards: the code that emits. A control of ours runs each signal it
// emits through `guarded`, and each handler it runs itself (a tick, a
// timer, an event such as FormShow), so that whoever connects to it
// connects plainly, and one guard serves every window that listens. Qt's
// own senders (QAction, QAbstractButton and its kin, QLineEdit, QTimer, a
// queued call) emit unguarded, so for them alone the line that connects
// stands in for the emitter, through `guardedSlot`. A path is guarded once:
// never wrap a slot connected to a control of ours.
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

// `handler` as a slot that runs it through `guarded`.
template <class Handler> auto guardedSlot(Handler handler)
{
    return [handler = std::move(handler)] { guarded(handler); };
}

} // namespace platform
