#!/usr/bin/python3
"""The main window as a screen reader or an automation tool sees it over AT-SPI.

Run inside its own session bus and X server:
  dbus-run-session -- xvfb-run -a /usr/bin/python3 tests/gui/atspi_main_window.py build/app/quorvin
Starts the demo day (its exchange is the loopback emulator) and, through the
bus alone: finds every button of the main window by role and name, presses
Send and answers the confirmation it asks with No, then picks Pay Out and
waits for Load Payin to be renamed Load Payout, with its name-changed event.
"""
import os
import subprocess
import sys
import time

import pyatspi
from gi.repository import GLib

BUTTONS = ["Search", "Auto-Fill", "Summarize", "Check", "Report", "Save", "Reload",
           "Load Payin", "Send", "List", "Settings", "Exit"]
BOXES = (pyatspi.ROLE_DIALOG, pyatspi.ROLE_ALERT)

renamed = []  # the names carried by the name-changed events seen


def on_name_changed(event):
    try:
        renamed.append(event.source.name)
    except Exception:  # a source gone meanwhile
        pass


def wait_for(what, find, timeout=30.0):
    """Polls `find` until it gives something, dispatching the bus's events meanwhile."""
    end = time.monotonic() + timeout
    context = GLib.MainContext.default()
    while time.monotonic() < end:
        found = find()
        if found is not None:
            return found
        pause = time.monotonic() + 0.2
        while time.monotonic() < pause:
            if not context.iteration(False):
                time.sleep(0.01)
    sys.exit(f"FAIL: no {what} within {timeout:.0f} s")


def application(pid):
    for app in pyatspi.Registry.getDesktop(0):
        try:
            if app is not None and app.get_process_id() == pid:
                return app
        except Exception:  # an application that went away meanwhile
            continue
    return None


def windows(app):
    return [c for c in app if c is not None and c.getRole() in
            (pyatspi.ROLE_FRAME, pyatspi.ROLE_WINDOW) + BOXES]


def descendants(node, role):
    return pyatspi.findAllDescendants(node, lambda n: n is not None and n.getRole() == role)


def action_names(node):
    action = node.queryAction()
    return [action.getName(i) for i in range(action.nActions)]


def act(node, *wanted):
    """Runs the first of the `wanted` actions that `node` offers."""
    names = action_names(node)
    for name in wanted:
        if name in names:
            node.queryAction().doAction(names.index(name))
            return
    sys.exit(f"FAIL: {node.name!r} offers {names}, none of {list(wanted)}")


def main():
    program = os.path.abspath(sys.argv[1])
    env = dict(os.environ, QT_LINUX_ACCESSIBILITY_ALWAYS_ON="1", QT_ACCESSIBILITY="1",
               QT_QPA_PLATFORM="xcb")
    pyatspi.Registry.registerEventListener(on_name_changed,
                                           "object:property-change:accessible-name")
    proc = subprocess.Popen([program, "--demo"], env=env)
    try:
        app = wait_for("application on the bus", lambda: application(proc.pid))
        main_window = wait_for("main window", lambda: next(
            (f for f in windows(app) if "Pay In" in (f.name or "")), None))

        # Every Glimmet reads as a push button named by its caption, says what
        # it does, and can be pressed and focused.
        def all_buttons():
            found = {b.name: b for b in descendants(main_window, pyatspi.ROLE_PUSH_BUTTON)}
            return found if all(n in found for n in BUTTONS) else None
        buttons = wait_for("buttons " + ", ".join(BUTTONS), all_buttons)
        for name in BUTTONS:
            b = buttons[name]
            actions = action_names(b)
            if not b.description:
                sys.exit(f"FAIL: {name!r} has no description")
            if "Press" not in actions or "SetFocus" not in actions:
                sys.exit(f"FAIL: {name!r} offers {actions}")
            print(f"ok  push button {name!r} {actions}: {b.description!r}")

        # Send runs once the call has returned; the first thing it does is ask.
        before = {f.name for f in windows(app)}
        act(buttons["Send"], "Press")
        box = wait_for("box from Send", lambda: next(
            (f for f in windows(app) if f.getRole() in BOXES and f.name not in before), None))
        texts = [l.name for l in descendants(box, pyatspi.ROLE_LABEL) if l.name]
        print(f"ok  Send opened {box.name!r}: {texts}")
        if "Send Confirmation" not in box.name:
            sys.exit(f"FAIL: Send opened {box.name!r}, not its confirmation")
        answers = {b.name: b for b in descendants(box, pyatspi.ROLE_PUSH_BUTTON)}
        if "No" not in answers:
            sys.exit(f"FAIL: the confirmation offers {sorted(answers)}, no No")
        act(answers["No"], "Press")
        wait_for("confirmation to close", lambda: None if any(
            f.name == box.name for f in windows(app)) else True)
        print("ok  answered No; the confirmation closed")

        # Pay Out renames Load Payin, and says so on the bus.
        pay_out = next((r for r in descendants(main_window, pyatspi.ROLE_RADIO_BUTTON)
                        if r.name == "Pay Out Date :"), None)
        if pay_out is None:
            sys.exit("FAIL: no radio button 'Pay Out Date :'")
        load = buttons["Load Payin"]
        act(pay_out, "Toggle", "Press")
        wait_for("name-changed event 'Load Payout'",
                 lambda: True if "Load Payout" in renamed else None)
        if load.name != "Load Payout":
            sys.exit(f"FAIL: the load button reads {load.name!r}")
        print("ok  Pay Out picked; 'Load Payin' is now 'Load Payout', event seen")
        print("PASS")
    finally:
        proc.terminate()
        try:
            proc.wait(timeout=15)
        except subprocess.TimeoutExpired:
            proc.kill()


if __name__ == "__main__":
    main()
