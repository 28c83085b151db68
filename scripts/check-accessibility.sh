#!/usr/bin/env bash
# Checks what a screen reader meets in the real window: under Xvfb, with a D-Bus session and the
# accessibility bus, the program runs on the sample set-up and an AT-SPI client walks its tree.
# The main window must offer its context menu's commands (Backups, Add packages, About) as
# buttons that can be pressed, and no control a player can work may lack a name: in the main
# window, the options dialog, the backups list, the About box and the "Error" box.
#   scripts/check-accessibility.sh [BUILD]    the build folder, ./build unless given
set -euo pipefail

here=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$here/build}
"$here/scripts/install-packages.sh" --no-install-recommends xvfb xdotool dbus at-spi2-core python3-pyatspi

work=$(mktemp -d)
trap 'kill $(jobs -p) 2>/dev/null || true; rm -rf "$work"' EXIT
"$build/tools/sample_setup/wendmoor-sample-setup" -- "$work/sample" >/dev/null
Xvfb :97 -screen 0 1600x1000x24 -nolisten tcp &
export DISPLAY=:97 QT_QPA_PLATFORM=xcb QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 NO_AT_BRIDGE=0
export WENDMOOR_SETTINGS=$work/sample/wendmoor-sample.ini XDG_DATA_HOME=$work/data

cat >"$work/walk.py" <<"PY"
import subprocess, sys, time
import pyatspi

INTERACTIVE = {pyatspi.ROLE_PUSH_BUTTON, pyatspi.ROLE_RADIO_BUTTON, pyatspi.ROLE_LIST,
               pyatspi.ROLE_LIST_BOX, pyatspi.ROLE_TEXT, pyatspi.ROLE_ENTRY,
               pyatspi.ROLE_COMBO_BOX, pyatspi.ROLE_LINK, pyatspi.ROLE_TABLE,
               pyatspi.ROLE_TREE_TABLE, pyatspi.ROLE_TREE, pyatspi.ROLE_CHECK_BOX,
               pyatspi.ROLE_MENU_ITEM, pyatspi.ROLE_PAGE_TAB}

def app():
    for _ in range(100):
        for found in pyatspi.Registry.getDesktop(0):
            if found is not None and found.name == "wendmoor":
                return found
        time.sleep(0.2)
    sys.exit("the program did not appear on the accessibility bus")

def window(title):
    for _ in range(50):
        for found in app():
            if found is not None and found.name == title:
                return found
        time.sleep(0.2)
    sys.exit("no window %r among %r" % (title, [found.name for found in app()]))

def walk(node, path=""):
    yield node, path
    for child in node:
        if child is not None:
            yield from walk(child, path + "/" + child.getRoleName())

checked = []

def unnamed(top):
    controls = [(node, path) for node, path in walk(top) if node.getRole() in INTERACTIVE]
    checked.append("%s: %d" % (top.name, len(controls)))
    return ["%s %s" % (path, node.getRoleName()) for node, path in controls
            if not node.name.strip()]

def press(node, name, role=pyatspi.ROLE_PUSH_BUTTON):
    for found, _ in walk(node):
        if found.getRole() == role and found.name == name:
            try:
                found.queryAction().doAction(0)
            except Exception:
                pass  # a button that opens a modal dialog answers only when it closes
            return
    sys.exit("nothing named %r to press" % name)

failures = []
main = window("Wendmoor")
commands = [child.name for child in main if child.getRole() == pyatspi.ROLE_PUSH_BUTTON]
print("buttons of the main window itself:", commands)
for command in ("Backups...", "Add packages...", "Info über QARN..."):
    if command not in commands:
        failures.append("the window lacks the command %r" % command)
failures += ["Wendmoor: " + line for line in unnamed(main)]
# A game is chosen with the mouse, as a player does: the radio buttons' toggle action checks
# the button without the click that selects the game.
for found, _ in walk(main):
    if found.getRole() == pyatspi.ROLE_RADIO_BUTTON and found.name == "Zeus":
        box = found.queryComponent().getExtents(pyatspi.DESKTOP_COORDS)
        subprocess.run(["xdotool", "mousemove", str(box.x + box.width // 2),
                        str(box.y + box.height // 2), "click", "1"], check=True)
time.sleep(1)
for command, title in (("Info über QARN...", "Info über QARN"), ("Backups...", "Backups of Zeus")):
    press(main, command)
    dialog = window(title)
    failures += [title + ": " + line for line in unnamed(dialog)]
    press(dialog, "OK" if title.startswith("Info") else "Close")
    time.sleep(0.5)
press(main, "Options")
options = window("QARN Options Dialog")
failures += ["Options: " + line for line in unnamed(options)]
press(options, "Cancel")
time.sleep(0.5)
# "Start" without wine, or with a game that does not run, brings the "Error" box.
press(main, "Start")
error = window("Error")
failures += ["Error: " + line for line in unnamed(error)]
press(error, "OK")
time.sleep(0.5)
press(main, "Bye Bye ...")
print("interactive controls checked:", ", ".join(checked))
print("\n".join(failures) if failures else "every interactive control has a name")
sys.exit(1 if failures else 0)
PY
cat >"$work/session.sh" <<"SH"
/usr/libexec/at-spi-bus-launcher --launch-immediately &
sleep 1
"$1" &
/usr/bin/python3 "$2"
SH
cd "$here/data"
dbus-run-session -- bash "$work/session.sh" "$build/src/app/wendmoor" "$work/walk.py"
