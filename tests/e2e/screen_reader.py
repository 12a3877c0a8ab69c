"""What Orca says about the sheet, key by key. Started by screen_reader.sh inside a D-Bus session
with an accessibility bus and a display: arguments PROGRAM WORK ORCA_WRAPPER. WORK holds
fruit.csv (A1 品名, B1 数量 / A2 りんご, B2 3 / A3 =B2*2, B3 4). Two runs of Orca: one cell at a
time (readFullRowInGUITable off), then a short one in Orca's default of whole rows. Exit 0 when
every check passed, 1 when one failed, 77 when Orca cannot start here."""
import os
import re
import subprocess
import sys
import time

program, work, wrapper = sys.argv[1:4]
failures = []


def fail(message):
    print("FAIL " + message)
    failures.append(message)


def xdo(*args):
    subprocess.run(["xdotool", *args], check=False)


class Orca:
    """Orca started with a debug file; what it spoke since a mark, one utterance a line."""

    def __init__(self, name, cell_mode):
        self.log = os.path.join(work, name + ".log")
        prefs = os.path.join(work, name + "-prefs")
        os.makedirs(prefs, exist_ok=True)
        with open(os.path.join(prefs, "orca-customizations.py"), "w") as f:
            f.write("import orca.settings\n")
            f.write("orca.settings.readFullRowInGUITable = %s\n" % (not cell_mode))
        self.process = subprocess.Popen(["/usr/bin/python3", wrapper, "--debug-file", self.log, "-u", prefs],
                                        stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        self.mark = 0

    def text(self):
        try:
            with open(self.log, encoding="utf-8", errors="replace") as f:
                return f.read()
        except FileNotFoundError:
            return ""

    def started(self, timeout=30):
        end = time.monotonic() + timeout
        while time.monotonic() < end:
            if "Startup complete notification made" in self.text():
                return True
            if self.process.poll() is not None:
                return False
            time.sleep(0.2)
        return False

    def utterances(self):
        # SPEECH OUTPUT: 'text'{...}, where text may run over lines.
        found = re.findall(r"SPEECH OUTPUT: '(.*?)' ?\{", self.text()[self.mark:], re.S)
        return [" ".join(u.split()) for u in found]

    def step(self, *keys, mouse=None, settle=0.8, timeout=6):
        """Presses keys (or runs the xdotool mouse arguments), then waits until Orca has said
        nothing new for settle seconds. The mark is taken first: Orca may speak before xdotool
        has returned."""
        self.listen()
        if keys:
            xdo("key", "--delay", "150", *keys)
        if mouse:
            xdo(*mouse)
        return self.heard(settle, timeout)

    def listen(self):
        """What Orca says from now on is what heard() returns."""
        self.mark = len(self.text())

    def heard(self, settle=0.8, timeout=6):
        """What Orca said since listen(), once it has said something and then nothing new for
        settle seconds (a busy machine may take a while to begin)."""
        end = time.monotonic() + timeout
        seen, quiet_since = 0, time.monotonic()
        while time.monotonic() < end:
            count = len(self.utterances())
            if count != seen:
                seen, quiet_since = count, time.monotonic()
            elif seen and time.monotonic() - quiet_since >= settle:
                break
            time.sleep(0.1)
        return self.utterances()

    def stop(self):
        # Reaped before the next Orca starts: that one refuses to run beside any process named
        # orca, a killed one not yet waited for included.
        self.process.terminate()
        try:
            self.process.wait(10)
        except subprocess.TimeoutExpired:
            self.process.kill()
            self.process.wait()


def said_in_order(what, said, *expected):
    """Every expected text was said, each after the one before (in the same utterance or a
    later one)."""
    spoken = " | ".join(said)
    at = 0
    for text in expected:
        found = spoken.find(text, at)
        if found < 0:
            fail("%s: expected %r in order %r, Orca said %r" % (what, text, expected, said))
            return
        at = found + len(text)


def said_nothing_of(what, said, text):
    if any(text in u for u in said):
        fail("%s: Orca said %r: %r" % (what, text, said))


def windows_of(pid):
    out = subprocess.run(["xdotool", "search", "--onlyvisible", "--pid", str(pid), ""],
                         capture_output=True, text=True).stdout
    return out.split()


def window_named(pid, name, timeout=10):
    end = time.monotonic() + timeout
    while time.monotonic() < end:
        for w in windows_of(pid):
            got = subprocess.run(["xdotool", "getwindowname", w], capture_output=True, text=True).stdout.strip()
            if got == name or got.startswith(name + " - "):
                return w
        time.sleep(0.1)
    return None


def start_program(name):
    # Data of its own for each start: a copy a killed run left is not offered to the next.
    env = dict(os.environ, XDG_DATA_HOME=os.path.join(work, name + "-program-data"))
    process = subprocess.Popen([program, os.path.join(work, "fruit.csv")], env=env,
                               stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    window = window_named(process.pid, "表計算Tarn!")
    if window:
        xdo("windowfocus", "--sync", window)
    return process, window


def current_cell_box(orca):
    """The current cell's rectangle on the screen, from the program's test dump (its key's echo
    heard out, so that it is not taken for what the next step makes Orca say)."""
    dump = os.environ["ZELTARN_TEST_DUMP"]
    if os.path.exists(dump):
        os.remove(dump)
    orca.step("ctrl+shift+F12")
    for _ in range(50):
        if os.path.exists(dump) and os.path.getsize(dump):
            break
        time.sleep(0.05)
    for line in open(dump, encoding="utf-8"):
        if line.startswith("@"):
            x, y, w, h = (int(v) for v in line.split("\t")[1:5])
            return x, y, w, h
    return None


def with_orca(name, cell_mode, steps):
    """Starts Orca and then the program, and runs steps(orca, program, window) once Orca has
    said what it says on arrival; false when Orca does not start."""
    orca = Orca(name, cell_mode)
    if not orca.started():
        orca.stop()
        return False
    # Orca may greet the window before xdotool has found it.
    orca.listen()
    program_process, window = start_program(name)
    try:
        if not window:
            fail("the program shows no window")
            return True
        steps(orca, program_process, window, orca.heard(settle=1.5, timeout=15))
        if program_process.poll() is not None:
            fail("the program ended")
    finally:
        program_process.kill()
        program_process.wait()
        orca.stop()
    return True


def cell_steps(orca, program_process, window, said):
    said_in_order("arriving on A1", said, "品名", "A1")
    said_nothing_of("arriving on A1", said, "layered pane")

    said_in_order("Down to A2", orca.step("Down"), "2 row header りんご", "A2")
    said_in_order("Down to the formula in A3", orca.step("Down"), "3 row header 6", "A3 =B2*2")
    said_in_order("Right to B3", orca.step("Right"), "B column header 4", "B3")
    said_in_order("Down to the empty B4", orca.step("Down"), "4 row header", "B4")
    said = orca.step("Next")
    if not any(re.fullmatch(r"B(\d+)\.", u) and int(u[1:-1]) > 4 for u in said):
        fail("PageDown: no cell below B4 named, Orca said %r" % said)
    said_in_order("Ctrl+Home", orca.step("ctrl+Home"), "品名", "A1")
    said_in_order("End", orca.step("End"), "Z column header", "Z1")
    said_in_order("Home", orca.step("Home"), "A column header 品名", "A1")
    said_nothing_of("single moves", orca.step("Down", "Up"), "選択")

    box = current_cell_box(orca)
    if box:
        x, y, w, h = box
        said = orca.step(mouse=("mousemove", str(x + w + w // 2), str(y + h + h // 2), "click", "1"))
        said_in_order("a click on B2", said, "3", "B2")

    # Typing goes to the editor named by its cell; Enter's move is told as the new cell.
    said_in_order("typing 7 on B2", orca.step("7"), "セル入力 B2")
    said_in_order("Enter", orca.step("Return"), "B3")
    orca.step("Escape")

    said_in_order("Shift+Down", orca.step("shift+Down"), "B3:B4 選択")
    said_in_order("Shift+Right", orca.step("shift+Right"), "B3:C4 選択")
    said = orca.step("Left")
    said_in_order("Left after a block", said, "A3")
    said_nothing_of("Left after a block", said, "選択")

    # A menu entry with its shortcut; back from the menu, the cell, not the containers.
    said_in_order("the Edit menu", orca.step("alt+e", "Down", "Down"), "コピー", "Ctrl+C")
    # The focus comes back once both menus have closed, which a busy machine tells later.
    said = orca.step("Escape", "Escape", settle=2)
    said_in_order("back from the menu", said, "A3")
    said_nothing_of("back from the menu", said, "layered pane")

    # Ctrl+F4 asks about the changed sheet; its question is read whole. Cancel keeps it.
    said = orca.step("ctrl+F4", settle=1.5)
    said_in_order("Ctrl+F4", said, "保存の確認", "変更されています。 保存しますか？")
    box_window = window_named(program_process.pid, "保存の確認", timeout=5)
    if box_window:
        xdo("windowfocus", "--sync", box_window)
        orca.step("Escape")
        xdo("windowfocus", "--sync", window)


def row_steps(orca, program_process, window, said):
    # The whole row, then the cell that has the focus.
    said_in_order("Down in row mode", orca.step("Down"), "りんご", "3", "A2")
    said_in_order("Down to the formula in row mode", orca.step("Down"), "6", "4", "A3 =B2*2")


if not with_orca("cells", True, cell_steps) or not with_orca("rows", False, row_steps):
    print("SKIP Orca did not start here")
    sys.exit(77)
sys.exit(1 if failures else 0)
