# SPDX-FileCopyrightText: 2026 The Kelmora developers
#
# SPDX-License-Identifier: GPL-3.0-or-later

"""What a screen reader does with the running tool, through AT-SPI, one step per call.

Runs under the system's Python, which has the pyatspi bindings, on the session bus that
DBUS_SESSION_BUS_ADDRESS names. Prints its answer as JSON on stdout:

    atspi_client.py controls PID        the window and its controls, once they are all there
    atspi_client.py set PID NAME TEXT   sets the text of the control named NAME
    atspi_client.py press PID NAME      runs the control's Press action
    atspi_client.py text PID NAME       the control's text
"""

import json
import sys
import time

import pyatspi

DEADLINE = 15.0
POLL = 0.1


def application_window(pid, controls=5):
    """The first window of the application with process id pid, once it shows its controls."""
    end = time.monotonic() + DEADLINE
    while True:
        desktop = pyatspi.Registry.getDesktop(0)
        for app in desktop:
            if app is not None and app.get_process_id() == pid and app.childCount:
                window = app.getChildAtIndex(0)
                if window is not None and window.childCount >= controls:
                    return window
        if time.monotonic() > end:
            raise SystemExit(f"no application with process id {pid} showed its window on AT-SPI")
        time.sleep(POLL)


def control_named(pid, name):
    for child in application_window(pid):
        if child.name == name:
            return child
    raise SystemExit(f"the window has no control named {name!r}")


def describe(node):
    extents = node.queryComponent().getExtents(pyatspi.WINDOW_COORDS)
    return {
        "name": node.name,
        "role": node.getRoleName(),
        "interfaces": sorted(pyatspi.listInterfaces(node)),
        "extents": [extents.x, extents.y, extents.width, extents.height],
    }


def main(command, pid, *args):
    pid = int(pid)
    if command == "controls":
        window = application_window(pid)
        answer = {"window": describe(window), "controls": [describe(child) for child in window]}
    elif command == "set":
        name, text = args
        answer = control_named(pid, name).queryEditableText().setTextContents(text)
    elif command == "press":
        (name,) = args
        action = control_named(pid, name).queryAction()
        names = [action.getName(i) for i in range(action.nActions)]
        if "Press" not in names:
            raise SystemExit(f"{name!r} offers no Press action, only {names}")
        answer = action.doAction(names.index("Press"))
    elif command == "text":
        (name,) = args
        answer = control_named(pid, name).queryText().getText(0, -1)
    else:
        raise SystemExit(f"unknown command {command!r}")
    json.dump(answer, sys.stdout, ensure_ascii=False)


if __name__ == "__main__":
    main(*sys.argv[1:])
