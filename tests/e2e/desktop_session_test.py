#!/usr/bin/env python3
"""Drives the real vornik executable in a real X server, as a user would.

Starts Xvfb with the openbox window manager, copies the program beside a
fresh copy of the sample data, and works it only from outside: keys and
typed text through xdotool, files on disk, the X clipboard through xclip.

    desktop_session_test.py --program PATH/vornik --samples PATH/samples

Exits 0 when every step passed, 1 on the first failing step (with a picture
of the screen saved for it), and 77 when the desktop tools are missing.
"""

import argparse
import os
import shutil
import struct
import subprocess
import sys
import tempfile
import time

SKIP_CODE = 77
MAIN_TITLE = "Vornik for Windows - ["
SCREEN = "1280x800x24"
TOOLS = ("Xvfb", "openbox", "xdotool", "xclip", "xwd", "xprop", "xwininfo")
WINDOW_MANAGER_SECONDS = 10
# A window with fewer colours than this has not been painted yet.
PAINTED_COLOURS = 20


class StepFailed(Exception):
    pass


def sjis_lines(*lines):
    """The bytes the program writes: Shift-JIS, every line ended by CR LF."""
    return "".join(line + "\r\n" for line in lines).encode("cp932")


# ---- expected outputs --------------------------------------------------------
# First-run columns: 名前, ﾗﾝｸ, 限界, 素材 (crystal in front), 説明; rows
# sorted by 限界 after the search. Worked out by hand from samples/vornik.txt.

CSV_HEADER = "名前,ﾗﾝｸ,限界,素材,説明"

EXPECTED_START_CSV = sjis_lines(
    CSV_HEADER,
    " 灰銅塊,素人,鍛冶: 10 ,(炎) 灰銅鉱×4　,鍛冶の基本となる金属塊。",
    " 灰銅の短剣,素人,鍛冶: 15 ,(炎) 灰銅塊　革紐　,（短剣） 威力6 間隔210 Lv1～ All Job",
    " 灰銅の細剣,素人,鍛冶: 18 ,(炎) 灰銅塊×2　革紐　,（片手剣） 威力9 間隔240 Lv3～ All Job",
)

TYPED_QUERY = "灰銅の"
EXPECTED_TYPED_CSV = sjis_lines(
    CSV_HEADER,
    " 灰銅の短剣,素人,鍛冶: 15 ,(炎) 灰銅塊　革紐　,（短剣） 威力6 間隔210 Lv1～ All Job",
    " 灰銅の細剣,素人,鍛冶: 18 ,(炎) 灰銅塊×2　革紐　,（片手剣） 威力9 間隔240 Lv3～ All Job",
)

# The clipboard copy of the first row of the typed search (灰銅の短剣).
EXPECTED_CLIPBOARD = "\r\n".join([
    "名前：灰銅の短剣",
    "ｸﾘｽﾀﾙ：炎",
    "ｽｷﾙ：鍛冶",
    "ﾗﾝｸ：素人",
    "必要：鍛冶:  5 ",
    "限界：鍛冶: 15 ",
    "材料：灰銅塊　革紐　",
    "説明：（短剣） 威力6 間隔210Lv1～ All Job",
    "ﾊｲｸｫﾘﾃｨ：(1)灰銅の短剣改　(2) -　(3) -",
    "分解：灰銅塊",
    "属性：ｽﾀｯｸ不可 ",
])

NEW_RECORD_NAME = "試作の銀鈴"
EXPECTED_NEW_RECORD_CSV = sjis_lines(
    CSV_HEADER,
    # No skill: rank "-", no levels, no crystal in front of the empty
    # material summary (one full-width blank).
    " 試作の銀鈴,-,,　,",
)


# ---- processes and the X session ---------------------------------------------


def run(args, env, timeout=15, check=True):
    result = subprocess.run(args, env=env, capture_output=True, timeout=timeout)
    if check and result.returncode != 0:
        raise StepFailed("%s failed: %s" % (" ".join(args), result.stderr.decode(errors="replace").strip()))
    return result


def start_xvfb(env):
    """Xvfb on the first free display; returns (process, ":N")."""
    read_end, write_end = os.pipe()
    server = subprocess.Popen(
        ["Xvfb", "-displayfd", str(write_end), "-screen", "0", SCREEN, "-nolisten", "tcp"],
        env=env, pass_fds=(write_end,), stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    os.close(write_end)
    number = b""
    with os.fdopen(read_end, "rb") as pipe:
        number = pipe.readline().strip()
    if not number:
        server.kill()
        raise StepFailed("Xvfb did not start")
    display = ":" + number.decode()
    # Xvfb names its display a moment before it takes connections; a client
    # started in between (seen: openbox, with several X servers starting at
    # once) fails with "Failed to open the display".
    probe = dict(env, DISPLAY=display)
    deadline = time.monotonic() + WINDOW_MANAGER_SECONDS
    while run(["xprop", "-root", "-notype", "WM_NAME"], probe, check=False).returncode != 0:
        if server.poll() is not None or time.monotonic() > deadline:
            server.kill()
            raise StepFailed("Xvfb on %s never took a connection" % display)
        time.sleep(0.02)
    return server, display


def window_manager_ready(env):
    """True once a window manager manages the screen.

    A window manager announces itself by setting _NET_SUPPORTING_WM_CHECK on
    the root window after it has taken over the display. A window mapped
    before that moment may never be managed: its map request is lost while
    openbox starts, and the window stays unmapped for good.
    """
    result = run(["xprop", "-root", "-notype", "_NET_SUPPORTING_WM_CHECK"], env, check=False)
    return result.returncode == 0 and b"window id #" in result.stdout


def start_window_manager(env, attempts=3):
    """openbox on the display of env, returned once it manages the screen.

    With several X servers starting on the machine at once (other test runs),
    openbox's first connection is now and then refused ("Failed to open the
    display") although the server is up and took a connection before; openbox
    then exits at once, having changed nothing, and is started again. Any
    other failure ends the test.
    """
    # What openbox says goes to openbox.log in the work folder (HOME).
    log_path = os.path.join(env["HOME"], "openbox.log")
    for attempt in range(attempts):
        with open(log_path, "ab") as log:
            start = log.tell()
            manager = subprocess.Popen(["openbox", "--sm-disable"], env=env, stdout=log, stderr=log)
        deadline = time.monotonic() + WINDOW_MANAGER_SECONDS
        while not window_manager_ready(env):
            if manager.poll() is not None:
                break
            if time.monotonic() > deadline:
                manager.kill()
                raise StepFailed("openbox did not take over the display within %d s" % WINDOW_MANAGER_SECONDS)
            time.sleep(0.02)
        else:
            return manager
        with open(log_path, "rb") as log:
            log.seek(start)
            said = log.read().decode(errors="replace").strip()
        if "Failed to open the display" not in said or attempt + 1 == attempts:
            raise StepFailed("openbox exited with status %d before managing the screen (it said: %s)"
                             % (manager.returncode, said or "nothing"))
    raise StepFailed("openbox could not be started")


class Desktop:
    def __init__(self, env):
        self.env = env

    def xdo(self, *args, check=True):
        return run(["xdotool", *args], self.env, check=check).stdout.decode(errors="replace").strip()

    def active_window(self):
        window = self.xdo("getactivewindow", check=False)
        if not window:
            return None, ""
        return window, self.xdo("getwindowname", window, check=False)

    def wait_until(self, condition, what, timeout=10.0):
        deadline = time.monotonic() + timeout
        while time.monotonic() < deadline:
            value = condition()
            if value:
                return value
            time.sleep(0.1)
        raise StepFailed("timed out waiting for " + what)

    def input_focus(self):
        return self.xdo("getwindowfocus", "-f", check=False)

    def wait_active(self, title_part, timeout=10.0, other_than=None):
        """Waits until the focused window's title contains title_part and the
        keyboard goes to it; with other_than, a window of that title that has
        just closed does not count."""
        def found():
            window, name = self.active_window()
            return window if window and title_part in name and window != other_than else None
        window = self.wait_until(found, "a window titled '%s' to get the focus (now '%s')"
                                 % (title_part, self.active_window()[1]), timeout)
        # The window manager marks a window active before the program has
        # taken the input focus; a key pressed in between would go to the
        # window before. Keys sent once the X focus is there arrive after the
        # focus change, in order.
        self.wait_until(lambda: self.input_focus() == window,
                        "the keyboard focus to reach '%s'" % title_part, timeout)
        return window

    def visible_popup(self, pid):
        """A shown popup (menu, drop-down) of the process: a window the window
        manager does not manage."""
        for window in self.xdo("search", "--onlyvisible", "--pid", str(pid), check=False).split():
            info = run(["xwininfo", "-id", window], self.env, check=False).stdout
            if b"Override Redirect State: yes" in info:
                return window
        return None

    def wait_painted(self, window):
        self.wait_until(lambda: self.distinct_colours(window) >= PAINTED_COLOURS,
                        "the window to be painted")

    def main_windows(self):
        found = self.xdo("search", "--onlyvisible", "--name", r"^Vornik for Windows - \[", check=False)
        return found.split() if found else []

    def key(self, *names):
        self.xdo("key", "--clearmodifiers", "--delay", "60", *names)

    def clipboard(self):
        result = run(["xclip", "-o", "-selection", "clipboard"], self.env, check=False)
        return result.stdout.decode("utf-8", errors="replace")

    def offer_clipboard(self, text):
        """Puts text on the clipboard through an xclip that serves it until
        another program takes the clipboard; returns that xclip process."""
        owner = subprocess.Popen(["xclip", "-i", "-quiet", "-selection", "clipboard"], env=self.env,
                                 stdin=subprocess.PIPE, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        owner.stdin.write(text.encode("utf-8"))
        owner.stdin.close()
        self.wait_until(lambda: self.clipboard() == text, "xclip to hold the clipboard")
        return owner

    def type_into_focused_box(self, text):
        """Puts text into the focused single-line box, replacing what it held.

        Text outside the keyboard map is pasted, as an input method commits a
        whole string: xdotool would type such a character by remapping a key
        for a moment, and the program, reading the map when it handles the
        key, may see the map of the next character instead. The box is read
        back (select all, copy): once the xclip that held the clipboard has
        gone, the program has handled every key before the copy.
        """
        owner = self.offer_clipboard(text)
        try:
            if text.isascii():
                self.key("ctrl+a", "BackSpace")
                self.xdo("type", "--delay", "60", text)
            else:
                self.key("ctrl+a", "ctrl+v")
            self.key("ctrl+a", "ctrl+c")
            self.wait_until(lambda: owner.poll() is not None, "the program to copy the box back")
        finally:
            if owner.poll() is None:
                owner.kill()
        if self.clipboard() != text:
            raise StepFailed("could not type '%s' (the box holds '%s')" % (text, self.clipboard()))

    def distinct_colours(self, window):
        """Number of different pixel values in a picture of the window."""
        image = run(["xwd", "-silent", "-id", window], self.env).stdout
        header = struct.unpack(">25I", image[:100])
        header_size, width, height = header[0], header[4], header[5]
        bits_per_pixel, bytes_per_line, colours = header[11], header[12], header[19]
        pixels = image[header_size + colours * 12:]
        step = bits_per_pixel // 8
        seen = set()
        for row in range(0, height, 2):
            line = pixels[row * bytes_per_line: row * bytes_per_line + width * step]
            for at in range(0, len(line), step * 2):
                seen.add(line[at:at + step])
        return len(seen)

    def client_geometry(self, window):
        """Position and size of the window's client area on the screen."""
        info = run(["xwininfo", "-id", window], self.env).stdout.decode()
        values = {}
        for line in info.splitlines():
            key, _, value = line.strip().partition(":")
            values[key] = value.strip()
        return tuple(int(values[key]) for key in ("Absolute upper-left X", "Absolute upper-left Y",
                                                  "Width", "Height"))

    def window_pixels(self, window):
        """A picture of the window as (width, height, colour_at(x, y) -> (r, g, b))."""
        image = run(["xwd", "-silent", "-id", window], self.env).stdout
        header = struct.unpack(">25I", image[:100])
        header_size, width, height, byte_order = header[0], header[4], header[5], header[7]
        bits_per_pixel, bytes_per_line, colours = header[11], header[12], header[19]
        masks = header[14:17]
        pixels = image[header_size + colours * 12:]
        step = bits_per_pixel // 8
        order = "little" if byte_order == 0 else "big"

        def channel(value, mask):
            shift = (mask & -mask).bit_length() - 1
            return (value & mask) >> shift

        def colour_at(x, y):
            at = y * bytes_per_line + x * step
            value = int.from_bytes(pixels[at:at + step], order)
            return tuple(channel(value, mask) for mask in masks)
        return width, height, colour_at

    def save_screen(self, path):
        with open(path, "wb") as out:
            out.write(run(["xwd", "-silent", "-root"], self.env).stdout)


# ---- the user's actions ----------------------------------------------------------


class Session:
    def __init__(self, desktop, program_dir):
        self.desktop = desktop
        self.program_dir = program_dir
        self.main_window = None

    def start_program(self, program, *args):
        """Starts the program; what it prints goes to program.log in the work
        folder, which is kept when a step fails."""
        log_path = os.path.join(os.path.dirname(self.program_dir), "program.log")
        with open(log_path, "ab") as log:
            return subprocess.Popen([program, *args], cwd=self.program_dir, env=self.desktop.env,
                                    stdout=log, stderr=log)

    def focus_main(self):
        self.desktop.xdo("windowactivate", "--sync", self.main_window)
        self.desktop.wait_active(MAIN_TITLE)

    def search_for(self, name):
        self.focus_main()
        self.desktop.key("alt+i")
        self.desktop.type_into_focused_box(name)
        self.desktop.key("Return")

    def menu(self, menu_key, *item_keys):
        self.focus_main()
        self.desktop.key(menu_key)
        # Item keys go to the menu once it is open, not before.
        popup = self.desktop.wait_until(lambda: self.desktop.visible_popup(self.process.pid),
                                        "the menu opened by " + menu_key)
        self.desktop.wait_painted(popup)
        self.desktop.key(*item_keys)

    def export_csv(self, file_name):
        """ファイル > 表示データをファイルに出力 through the program's file dialog."""
        target = os.path.join(self.program_dir, file_name)
        # "開く(&O)..." shares the menu letter; the item has a key of its own.
        self.focus_main()
        self.desktop.key("ctrl+shift+o")
        file_dialog = self.desktop.wait_active("表示データを出力")
        self.desktop.type_into_focused_box(target)
        self.desktop.key("Return")
        self.desktop.wait_until(lambda: os.path.exists(target), "the export file " + target)
        # The completion question has the file dialog's title: do not open the file.
        self.desktop.wait_active("表示データを出力", other_than=file_dialog)
        self.desktop.key("Escape")
        self.desktop.wait_active(MAIN_TITLE)
        with open(target, "rb") as exported:
            return exported.read()

    def select_first_row(self):
        """Needs two rows or more. Home or Space would not do: Home leaves an
        unselected current row alone, and Space is a type-ahead search."""
        self.focus_main()
        self.desktop.key("Down", "Up")


def expect_bytes(actual, expected, what):
    if actual != expected:
        raise StepFailed("%s differs.\n  expected: %r\n  actual:   %r"
                         % (what, expected.decode("cp932", errors="replace"),
                            actual.decode("cp932", errors="replace")))


# ---- steps --------------------------------------------------------------------


def wait_main_window(session, desktop):
    """The program's main window once it is shown; a failure says whether
    the program still runs and which windows it has."""
    try:
        return desktop.wait_until(desktop.main_windows, "the main window", timeout=20)
    except StepFailed as failure:
        status = session.process.poll()
        windows = desktop.xdo("search", "--pid", str(session.process.pid), check=False).split()
        mapped = [w for w in windows
                  if b"IsViewable" in run(["xwininfo", "-id", w], desktop.env, check=False).stdout]
        raise StepFailed("%s (program %s; its windows %r, viewable %r)"
                         % (failure, "running" if status is None else "exited with %s" % status,
                            windows, mapped))


def step_start_on_the_list(session, desktop, program, env):
    session.process = session.start_program(program, "/i=灰銅")
    windows = wait_main_window(session, desktop)
    session.main_window = windows[0]
    name = desktop.xdo("getwindowname", session.main_window)
    expected_title = MAIN_TITLE + os.path.join(session.program_dir, "vornik.txt") + "]"
    if name != expected_title:
        raise StepFailed("title is '%s', expected '%s'" % (name, expected_title))
    desktop.wait_active(MAIN_TITLE)
    desktop.wait_painted(session.main_window)
    expect_bytes(session.export_csv("start.csv"), EXPECTED_START_CSV, "CSV of the /i= search")


def step_type_a_name(session, desktop, program, env):
    # The search runs before the program reads the export's keys.
    session.search_for(TYPED_QUERY)
    expect_bytes(session.export_csv("typed.csv"), EXPECTED_TYPED_CSV, "CSV of the typed search")


def step_detail_dialog(session, desktop, program, env):
    session.select_first_row()
    desktop.key("Return")
    desktop.wait_active("詳細情報 - 灰銅の短剣 -")
    desktop.key("Escape")
    desktop.wait_active(MAIN_TITLE)


def step_clipboard_copy(session, desktop, program, env):
    session.select_first_row()
    session.menu("alt+d", "c")
    def recipe_text():
        text = desktop.clipboard()
        return text if text.startswith("名前：") else None
    text = desktop.wait_until(recipe_text, "the recipe text on the clipboard")
    if text != EXPECTED_CLIPBOARD:
        raise StepFailed("clipboard text differs.\n  expected: %r\n  actual:   %r" % (EXPECTED_CLIPBOARD, text))


def step_second_window(session, desktop, program, env):
    session.select_first_row()
    session.menu("alt+d", "s")
    windows = desktop.wait_until(lambda: [w for w in desktop.main_windows() if w != session.main_window],
                                 "a second program window", timeout=20)
    second = windows[0]
    pid = desktop.xdo("getwindowpid", second)
    if not pid or int(pid) == session.process.pid:
        raise StepFailed("the second window does not belong to a new process")
    # Not exactly over the first window: one step right and down.
    desktop.wait_active(MAIN_TITLE, other_than=session.main_window)
    first_at = desktop.client_geometry(session.main_window)
    second_at = desktop.client_geometry(second)
    if (second_at[0] - first_at[0], second_at[1] - first_at[1]) != (30, 30):
        raise StepFailed("the second window is at %r, the first at %r" % (second_at, first_at))
    # Closed as a user would, through the window manager.
    desktop.xdo("windowactivate", "--sync", second)
    desktop.key("alt+F4")
    desktop.wait_until(lambda: second not in desktop.main_windows(), "the second window to close")


def step_add_a_record(session, desktop, program, env):
    session.menu("alt+d", "n")
    desktop.wait_active("データの新規作成")
    desktop.key("alt+n")
    desktop.type_into_focused_box(NEW_RECORD_NAME)
    desktop.key("Return")
    desktop.wait_active(MAIN_TITLE)
    with open(os.path.join(session.program_dir, "vornik.txt"), "rb") as data:
        if ("," + NEW_RECORD_NAME + ",").encode("cp932") not in data.read():
            raise StepFailed("the new record is not in the data file")
    session.search_for(NEW_RECORD_NAME)
    expect_bytes(session.export_csv("added.csv"), EXPECTED_NEW_RECORD_CSV, "CSV of the search for the new record")


STEPS = [
    ("start with /i= shows the list", step_start_on_the_list),
    ("typing a name and Enter searches", step_type_a_name),
    ("Enter on a row opens the detail dialog", step_detail_dialog),
    ("a record is copied to the clipboard", step_clipboard_copy),
    ("レシピ検索 opens a second window", step_second_window),
    ("a record added through 新規追加 is found", step_add_a_record),
]


# ---- set-up ------------------------------------------------------------------


def missing_tools():
    return [tool for tool in TOOLS if shutil.which(tool) is None]


def session_environment(work):
    env = dict(os.environ)
    for name in ("WAYLAND_DISPLAY", "XDG_CURRENT_DESKTOP", "XDG_SESSION_TYPE", "QT_QPA_PLATFORMTHEME",
                 "DBUS_SESSION_BUS_ADDRESS", "SESSION_MANAGER"):
        env.pop(name, None)
    runtime = os.path.join(work, "runtime")
    os.mkdir(runtime, 0o700)
    env.update({
        "LC_ALL": "C.UTF-8",
        "LANG": "C.UTF-8",
        "QT_QPA_PLATFORM": "xcb",
        "NO_AT_BRIDGE": "1",
        # The file dialog's remembered folders stay out of the user's home.
        "HOME": work,
        "XDG_CONFIG_HOME": os.path.join(work, "config"),
        "XDG_RUNTIME_DIR": runtime,
    })
    return env


def prepare_program_dir(work, program, samples):
    program_dir = os.path.join(work, "program")
    os.mkdir(program_dir)
    shutil.copy2(program, os.path.join(program_dir, "vornik"))
    for name in ("vornik.txt", "vornik.dat"):
        shutil.copy2(os.path.join(samples, name), os.path.join(program_dir, name))
    return program_dir


def run_steps(session, desktop, program, env, failure_picture, steps):
    for title, step in steps:
        started = time.monotonic()
        try:
            step(session, desktop, program, env)
        except (StepFailed, subprocess.TimeoutExpired) as failure:
            desktop.save_screen(failure_picture)
            print("FAIL: %s: %s" % (title, failure))
            print("  picture of the screen: " + failure_picture)
            return False
        print("ok: %s (%.1f s)" % (title, time.monotonic() - started))
    return True


def main(steps=None, failure_name="vornik-e2e-failure.xwd"):
    """Runs the steps (this file's own by default) in a fresh X session."""
    steps = STEPS if steps is None else steps
    parser = argparse.ArgumentParser()
    parser.add_argument("--program", required=True)
    parser.add_argument("--samples", required=True)
    parser.add_argument("--keep", action="store_true", help="keep the temporary folder")
    options = parser.parse_args()

    missing = missing_tools()
    if missing:
        print("skipped: desktop session tools not installed: " + ", ".join(missing))
        return SKIP_CODE

    work = tempfile.mkdtemp(prefix="vornik-e2e-")
    env = session_environment(work)
    program_dir = prepare_program_dir(work, options.program, options.samples)
    server, display = start_xvfb(env)
    env["DISPLAY"] = display
    helpers = []
    passed = False
    try:
        desktop = Desktop(env)
        session = Session(desktop, program_dir)
        session.process = None
        try:
            helpers.append(start_window_manager(env))
        except StepFailed as failure:
            print("FAIL: the desktop did not start: %s" % failure)
            return 1
        passed = run_steps(session, desktop, os.path.join(program_dir, "vornik"), env,
                           os.path.join(tempfile.gettempdir(), failure_name), steps)
        if session.process:
            helpers.append(session.process)
    finally:
        for process in helpers:
            process.terminate()
        server.terminate()
        for process in helpers + [server]:
            try:
                process.wait(timeout=5)
            except subprocess.TimeoutExpired:
                process.kill()
        if options.keep or not passed:
            print("files kept in " + work)
        else:
            shutil.rmtree(work, ignore_errors=True)
    return 0 if passed else 1


if __name__ == "__main__":
    sys.exit(main())
