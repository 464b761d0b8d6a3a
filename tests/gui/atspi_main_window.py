#!/usr/bin/python3
"""The main window as a screen reader or an automation tool sees it over AT-SPI.

Run inside its own session bus and X server:
  dbus-run-session -- xvfb-run -a tests/gui/atspi_main_window.py build/app/quorvin
Starts the demo day (its exchange is the loopback emulator), finds every button
of the main window by role and name, presses Send through the bus and waits for
the box that Send's first check opens on the still empty grid.
"""
import os
import subprocess
import sys
import time

import pyatspi

BUTTONS = ["Search", "Auto-Fill", "Summarize", "Check", "Report", "Save", "Reload",
           "Load Payin", "Send", "List", "Settings", "Exit"]


def wait_for(what, find, timeout=30.0):
    end = time.monotonic() + timeout
    while time.monotonic() < end:
        found = find()
        if found is not None:
            return found
        time.sleep(0.2)
    sys.exit(f"FAIL: no {what} within {timeout:.0f} s")


def application(pid):
    desktop = pyatspi.Registry.getDesktop(0)
    for app in desktop:
        try:
            if app is not None and app.get_process_id() == pid:
                return app
        except Exception:  # an application that went away meanwhile
            continue
    return None


def frames(app):
    return [c for c in app if c is not None and c.getRole() in
            (pyatspi.ROLE_FRAME, pyatspi.ROLE_DIALOG, pyatspi.ROLE_WINDOW, pyatspi.ROLE_ALERT)]


def descendants(node, role):
    return pyatspi.findAllDescendants(node, lambda n: n is not None and n.getRole() == role)


def press(node):
    action = node.queryAction()
    names = [action.getName(i).lower() for i in range(action.nActions)]
    if "press" not in names:
        sys.exit(f"FAIL: {node.name!r} offers {names}, no Press")
    action.doAction(names.index("press"))


def main():
    program = os.path.abspath(sys.argv[1])
    env = dict(os.environ, QT_LINUX_ACCESSIBILITY_ALWAYS_ON="1", QT_ACCESSIBILITY="1",
               QT_QPA_PLATFORM="xcb")
    proc = subprocess.Popen([program, "--demo"], env=env)
    try:
        app = wait_for("application on the bus", lambda: application(proc.pid))
        main_frame = wait_for("main window", lambda: next(
            (f for f in frames(app) if "Pay In" in (f.name or "")), None))
        # Every Glimmet reads as a push button with its caption as name.
        buttons = {}
        def all_buttons():
            found = {b.name: b for b in descendants(main_frame, pyatspi.ROLE_PUSH_BUTTON)}
            return found if all(n in found for n in BUTTONS) else None
        buttons = wait_for("buttons " + ", ".join(BUTTONS), all_buttons)
        for name in BUTTONS:
            b = buttons[name]
            if not b.description:
                sys.exit(f"FAIL: {name!r} has no description")
            print(f"ok  push button {name!r}: {b.description!r}")
        before = {f.name for f in frames(app)}
        press(buttons["Send"])
        # Send runs after the call has returned; its first check finds the
        # grid empty and says so in a box of its own.
        box = wait_for("box from Send", lambda: next(
            (f for f in frames(app) if f.getRole() in (pyatspi.ROLE_DIALOG, pyatspi.ROLE_ALERT)
             and f.name not in before), None))
        texts = [l.name for l in descendants(box, pyatspi.ROLE_LABEL) if l.name]
        print(f"ok  Send opened {box.name!r}: {texts}")
        ok = next((b for b in descendants(box, pyatspi.ROLE_PUSH_BUTTON) if b.name == "OK"), None)
        if ok is None:
            sys.exit("FAIL: the box has no OK button")
        press(ok)
        wait_for("box to close", lambda: None if any(
            f.name == box.name and f.getRole() in (pyatspi.ROLE_DIALOG, pyatspi.ROLE_ALERT)
            for f in frames(app)) else True)
        print("PASS")
    finally:
        proc.terminate()
        try:
            proc.wait(timeout=15)
        except subprocess.TimeoutExpired:
            proc.kill()


if __name__ == "__main__":
    main()
