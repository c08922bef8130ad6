#!/usr/bin/python3
"""Works Kavro Start through AT-SPI, as a screen reader would.

Usage: atspi_gadgets.py PROGRAM GADGET MARKER

Run under dbus-run-session, in the start folder, with DISPLAY set. Waits for
the accessibility registry, starts PROGRAM with accessibility on, finds it in
the registry by its process id, presses the control box's "Main Screen"
button through its action, prints the names of the launcher's buttons as a
JSON line {"clock": ..., "launcher": [...]}, presses the button named GADGET
through its action and waits until the file MARKER exists. The program is
ended before this script ends; the exit status is 0 when every step worked.
"""
import json
import os
import subprocess
import sys
import time

import gi

gi.require_version("Atspi", "2.0")
from gi.repository import Atspi  # noqa: E402

TIMEOUT = 30.0


def wait_for(what, probe):
    """Polls probe() until it gives something other than None."""
    deadline = time.monotonic() + TIMEOUT
    while time.monotonic() < deadline:
        try:
            found = probe()
        except gi.repository.GLib.Error:
            found = None
        if found is not None:
            return found
        time.sleep(0.1)
    sys.exit(f"timed out waiting for {what}")


def descendants(node):
    for i in range(node.get_child_count()):
        child = node.get_child_at_index(i)
        if child is None:
            continue
        yield child
        yield from descendants(child)


def showing(node):
    return node.get_state_set().contains(Atspi.StateType.SHOWING)


def press(node):
    action = node.get_action_iface()
    if action is None:
        sys.exit(f"{node.get_name()!r} has no action")
    names = [action.get_action_name(i) for i in range(action.get_n_actions())]
    if "Press" not in names:
        sys.exit(f"{node.get_name()!r} has no Press action, only {names}")
    action.do_action(names.index("Press"))


def application(pid):
    desktop = Atspi.get_desktop(0)
    for i in range(desktop.get_child_count()):
        app = desktop.get_child_at_index(i)
        if app is not None and app.get_process_id() == pid and app.get_child_count() > 0:
            return app
    return None


def buttons(frame):
    return [node for node in descendants(frame) if node.get_role() == Atspi.Role.PUSH_BUTTON]


def launcher(app):
    """The showing window with the 56 gadgets and the close button."""
    for i in range(app.get_child_count()):
        frame = app.get_child_at_index(i)
        if frame is not None and showing(frame):
            found = buttons(frame)
            if len(found) >= 57:
                return found
    return None


def named(app, role, name):
    """The first object of this role and name; of any role when role is None."""
    for node in descendants(app):
        if role in (None, node.get_role()) and node.get_name() == name:
            return node
    return None


def main():
    if len(sys.argv) != 4:
        sys.exit(__doc__)
    program, gadget, marker = sys.argv[1:]
    Atspi.init()
    wait_for("the accessibility registry", lambda: Atspi.get_desktop(0).get_child_count() >= 0 or None)

    environment = dict(os.environ, QT_LINUX_ACCESSIBILITY_ALWAYS_ON="1")
    started = subprocess.Popen([program], env=environment)
    try:
        app = wait_for("the program in the registry", lambda: application(started.pid))
        press(wait_for('"Main Screen"', lambda: named(app, Atspi.Role.PUSH_BUTTON, "Main Screen")))
        found = wait_for("the launcher's buttons", lambda: launcher(app))
        # The toolkit's bridge gives a clock no role of its own: it is found by name.
        clock = named(app, None, "Clock")
        print(json.dumps({"clock": clock.get_description() if clock else None,
                          "launcher": [node.get_name() for node in found]}), flush=True)
        press(next(node for node in found if node.get_name() == gadget))
        wait_for(f"the gadget's program to write {marker}", lambda: os.path.exists(marker) or None)
    finally:
        started.terminate()
        started.wait(10)


if __name__ == "__main__":
    main()
