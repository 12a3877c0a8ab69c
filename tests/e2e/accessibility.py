"""What a screen reader finds in the running program through AT-SPI, while keys drive it.

Started by accessibility.sh with the program showing a sheet of 40 filled rows (A1 12, every
other cell =A1+(100 * row + column)) and holding the keyboard.
"""
import subprocess
import sys
import time

import pyatspi
from gi.repository import GLib

failures = []


def fail(message):
    print("FAIL " + message)
    failures.append(message)


def keys(*names, repeat=1):
    subprocess.run(["xdotool", "key", "--delay", "20", "--repeat", str(repeat), *names], check=True)


def typed(text):
    subprocess.run(["xdotool", "type", "--delay", "30", text], check=True)


# Every event the program raises, as (type, detail1, role, name) read when it arrives.
events = []


def on_event(event):
    try:
        role, name = event.source.getRole(), event.source.name
    except Exception:  # a cell let go since
        role, name = None, None
    events.append((event.type, event.detail1, role, name))


def pump(seconds):
    context = GLib.MainContext.default()
    end = time.monotonic() + seconds
    while time.monotonic() < end:
        if not context.iteration(False):
            time.sleep(0.01)


def wait_for(found, timeout=5.0):
    end = time.monotonic() + timeout
    while time.monotonic() < end:
        pump(0.05)
        if found():
            return True
    return False


def cell_focus(name):
    return any(t.startswith("object:state-changed:focused") and d == 1 and r == pyatspi.ROLE_TABLE_CELL and n == name
               for t, d, r, n in events)


def find(node, role, skip_tables=True):
    if node.getRole() == role:
        return node
    if skip_tables and node.getRole() == pyatspi.ROLE_TABLE:
        return None
    for i in range(node.childCount):
        child = node.getChildAtIndex(i)
        if child is not None:
            found = find(child, role, skip_tables)
            if found is not None:
                return found
    return None


# Controls a user reaches; containers such as fillers, panels and menus need no name.
CONTROLS = {pyatspi.ROLE_PUSH_BUTTON, pyatspi.ROLE_TOGGLE_BUTTON, pyatspi.ROLE_CHECK_BOX, pyatspi.ROLE_RADIO_BUTTON,
            pyatspi.ROLE_TEXT, pyatspi.ROLE_ENTRY, pyatspi.ROLE_LABEL, pyatspi.ROLE_COMBO_BOX, pyatspi.ROLE_MENU_ITEM,
            pyatspi.ROLE_TABLE, pyatspi.ROLE_SPIN_BUTTON, pyatspi.ROLE_SLIDER, pyatspi.ROLE_SCROLL_BAR,
            pyatspi.ROLE_TOOL_BAR, pyatspi.ROLE_LIST}


def unnamed_controls(node, path=""):
    here = path + "/" + node.getRoleName()
    found = [here] if node.getRole() in CONTROLS and not node.name else []
    if node.getRole() != pyatspi.ROLE_TABLE:  # cells are named by what they show, empty ones by nothing
        for i in range(node.childCount):
            child = node.getChildAtIndex(i)
            if child is not None:
                found += unnamed_controls(child, here)
    return found


def table_count(start):
    """Events from the table and its cells since start, leaving out the focus leaving a cell."""
    return [e for e in events[start:] if e[2] in (pyatspi.ROLE_TABLE, pyatspi.ROLE_TABLE_CELL)
            and not (e[0].startswith("object:state-changed:focused") and e[1] == 0)]


pyatspi.Registry.registerEventListener(on_event, "object:", "focus:")

app = None
end = time.monotonic() + 10
while app is None and time.monotonic() < end:
    for candidate in pyatspi.Registry.getDesktop(0):
        if candidate is not None and candidate.name == "表計算Tarn!":
            app = candidate
    pump(0.1)
if app is None:
    fail("no application 表計算Tarn! on the accessibility bus")
    sys.exit(1)

table_node = find(app, pyatspi.ROLE_TABLE)
if table_node is None:
    fail("no table in the application")
    sys.exit(1)
table = table_node.queryTable()
if (table.nRows, table.nColumns) != (500, 26):
    fail("table of %d x %d" % (table.nRows, table.nColumns))
headers = (table.getColumnHeader(0).name, table.getColumnHeader(25).name, table.getRowHeader(0).name,
           table.getRowHeader(499).name)
if headers != ("A", "Z", "1", "500"):
    fail("headers %s" % (headers,))
missing = unnamed_controls(app)
if missing:
    fail("controls without a name: %s" % missing)


def cell(row, col):
    return table.getAccessibleAt(row, col)


if cell(0, 0).name != "12" or cell(1, 1).name != "214" or cell(1, 1).description != "B2 =A1+202":
    fail("A1 [%s], B2 [%s] described [%s]" % (cell(0, 0).name, cell(1, 1).name, cell(1, 1).description))

# Moving with the keys from A1, where a loaded sheet starts: each new cell takes the focus under
# its own name.
for key, name in (("Right", "114"), ("Down", "214"), ("Left", "213"), ("ctrl+Home", "12")):
    del events[:]
    keys(key)
    if not wait_for(lambda: cell_focus(name)):
        fail("%s: no focus on a cell named %s, got %s" % (key, name, [e for e in events if "focus" in e[0]]))

# A formula typed into the last cell is heard in the editor as it is typed, then as the cell's value.
keys("ctrl+End")
del events[:]
typed("=a1*3")
editor = None
if wait_for(lambda: any(e[0].startswith("object:state-changed:focused") and e[1] == 1 and e[2] == pyatspi.ROLE_TEXT
                        for e in events)):
    # The editor shown over the cells follows them among the table's children.
    editor = table_node.getChildAtIndex(table_node.childCount - 1)
try:
    read = editor.getRole(), editor.name, editor.queryText().getText(0, -1), editor.queryEditableText() is not None
except (AttributeError, NotImplementedError) as e:
    read = repr(e)
if read != (pyatspi.ROLE_TEXT, "セル入力 Z500", "=a1*3", True):
    fail("the editor reads %s, not an editable text named セル入力 Z500 holding =a1*3" % (read,))
del events[:]
keys("Return")
if not wait_for(lambda: any(e[0] == "object:property-change:accessible-name" and e[3] == "36" for e in events)):
    fail("the entered cell did not change its name to 36: %s" % events)
if cell(499, 25).name != "36" or cell(499, 25).description != "Z500 =A1*3":
    fail("Z500 reads [%s] described [%s]" % (cell(499, 25).name, cell(499, 25).description))
keys("Escape")

# A block selected with Shift and the arrows.
keys("ctrl+Home")
pump(0.3)
del events[:]
keys("shift+Right", "shift+Down")
pump(0.5)
selected = [[table.isSelected(r, c) for c in range(3)] for r in range(3)]
if selected != [[True, True, False], [True, True, False], [False, False, False]]:
    fail("selection A1:B2 reads %s" % selected)
if not cell(1, 1).getState().contains(pyatspi.STATE_SELECTED):
    fail("B2 is not in the selected state")
if not any(e[0] == "object:state-changed:selected" and e[1] == 1 for e in events):
    fail("no selection event")

# 再計算 after a change of A1 changes every cell: at most a few events, not one a cell.
typed("5")
keys("Return", "Escape")
pump(0.5)
start = len(events)
keys("alt+e")
pump(0.3)
keys("Return")
if not wait_for(lambda: cell(1, 1).name == "207", timeout=10):
    fail("after 再計算 B2 reads [%s]" % cell(1, 1).name)
pump(0.5)
recalculation = table_count(start)

# The whole block copied and pasted below itself.
keys("ctrl+Home", "shift+End")
keys("shift+Down", repeat=39)
keys("ctrl+c")  # leaves the current cell on the block's last cell, Z40
keys("Down", "Home")
pump(0.5)
start = len(events)
keys("ctrl+v")
if not wait_for(lambda: cell(79, 25).name == "4031", timeout=10) or cell(41, 1).name != "207":
    fail("pasted B42 [%s], Z80 [%s]" % (cell(41, 1).name, cell(79, 25).name))
pump(0.5)
paste = table_count(start)

print("events: 再計算 of 1040 cells %d, paste of 1040 cells %d" % (len(recalculation), len(paste)))
for what, seen in (("再計算", recalculation), ("paste", paste)):
    if len(seen) > 6:
        fail("%s raised %d events: %s" % (what, len(seen), seen[:10]))
sys.exit(1 if failures else 0)
