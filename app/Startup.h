// Start-up: the seven windows, created hidden in their fixed order.
#pragma once

#include "session/Session.h"

#include <functional>
#include <memory>
#include <vector>

class QWidget;
class TPreviousInstance;

// Owns the seven windows and keeps the session's references to them: each
// is set as its window is created, and cleared as the windows are destroyed
// in the reverse order. Here alone the windows are known by their classes,
// so the hand-offs that need more than a TForm are wired here too.
class Windows final {
public:
    // `afterControlBox` runs once the control box exists, before the other six are made.
    explicit Windows(const std::function<void()>& afterControlBox = {});
    ~Windows();
    Windows(const Windows&) = delete;
    Windows& operator=(const Windows&) = delete;

private:
    template <class Window> Window& create(TForm* Session::*reference);

    struct Owned {
        std::unique_ptr<TForm> window;
        TForm* Session::*reference;
    };
    std::vector<Owned> owned_;
};

// Where a test build of the program looks in during start-up (testhooks/);
// the shipped program passes none.
struct StartupHooks {
    // The single-instance probe exists; no window does yet.
    std::function<void(TPreviousInstance& probe)> probeMade;
    // The control box exists and is about to show.
    std::function<void(QWidget& controlBox)> controlBoxShowing;
    // Every window exists and the event loop is about to start.
    std::function<void()> eventLoopStarting;
};

// The whole program: the application title, the windows, the event loop.
int runKavroStart(int argc, char** argv, const StartupHooks& hooks = {});
