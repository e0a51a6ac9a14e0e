#!/usr/bin/env python3
"""Takes the user guide's pictures from the real program under Xvfb.

    take_screenshots.py --program PATH/vornik --samples PATH/samples --out docs/screenshots
                        [--review DIR]

Writes main-window.png, detail-dialog.png, edit-dialog.png,
display-settings.png, memo-pane.png, font-size-menu.png, about-box.png,
discard-question.png and html-export.png (the exported page as Chromium
shows it; left out with --no-page). With --review, the smaller dialogs (material, skill levels,
about box) are pictured into DIR too, for checking the layout by eye.
Needs the tools of desktop_session_test.py plus ImageMagick's convert and
chromium.
"""

import argparse
import os
import shutil
import subprocess
import sys
import tempfile
import time

sys.dont_write_bytecode = True  # no __pycache__ in the source tree
from desktop_session_test import (MAIN_TITLE, Desktop, Session, prepare_program_dir, run,
                                  session_environment, start_window_manager, start_xvfb)

QUERY = "鋼"


def settled_image(desktop, window, attempts=20):
    """A picture of the window ("root": the screen) once two in a row, a
    moment apart, agree: keys sent just before may still be changing it."""
    which = ["-root"] if window == "root" else ["-id", window]
    if window != "root":
        desktop.wait_painted(window)
    image = run(["xwd", "-silent", *which], desktop.env).stdout
    for _ in range(attempts):
        time.sleep(0.2)
        again = run(["xwd", "-silent", *which], desktop.env).stdout
        if again == image:
            return image
        image = again
    return image


def picture(desktop, window, path):
    """The window's client area as a PNG."""
    image = settled_image(desktop, window)
    subprocess.run(["convert", "xwd:-", "png:" + path], input=image, check=True)
    print("wrote " + path)


def picture_active(desktop, title_part, path):
    window = desktop.wait_active(title_part)
    picture(desktop, window, path)


def picture_screen(desktop, path, around, pid=None, around_image=None):
    """The part of the screen around window `around`, with the window that
    has the focus over it (a message box) and the open menus of process pid.
    Each window is pictured on its own and laid over the screen in that
    order: the screen's own picture shows some of them black. A window
    covered by a message box is pictured before the box opens (around_image)."""
    with tempfile.TemporaryDirectory() as work:
        screen = os.path.join(work, "screen.xwd")
        with open(screen, "wb") as out_file:
            out_file.write(settled_image(desktop, "root"))
        windows = [around]
        active = desktop.active_window()[0]
        if active and active != around:
            windows.append(active)
        for window in desktop.xdo("search", "--onlyvisible", "--pid", str(pid), check=False).split() if pid else []:
            if b"Override Redirect State: yes" in run(["xwininfo", "-id", window], desktop.env).stdout:
                windows.append(window)
        layers = []
        for number, window in enumerate(windows):
            layer = os.path.join(work, "window%d.xwd" % number)
            with open(layer, "wb") as out_file:
                out_file.write(around_image if window == around and around_image else settled_image(desktop, window))
            wx, wy, _, _ = desktop.client_geometry(window)
            layers += ["xwd:" + layer, "-geometry", "+%d+%d" % (wx, wy), "-composite"]
        x, y, width, height = desktop.client_geometry(around)
        margin = 40
        crop = "%dx%d+%d+%d" % (width + 2 * margin, height + 2 * margin + 30, max(0, x - margin),
                                max(0, y - margin - 30))
        subprocess.run(["convert", "xwd:" + screen, *layers, "-crop", crop, "+repage", "png:" + path],
                       check=True)
    print("wrote " + path)


def render_page(page, path, env):
    with tempfile.TemporaryDirectory() as profile:
        subprocess.run(["chromium", "--headless", "--no-sandbox", "--disable-gpu", "--hide-scrollbars",
                        "--user-data-dir=" + profile, "--window-size=1000,520",
                        "--screenshot=" + path, "file://" + page],
                       env=env, check=True, capture_output=True, timeout=60)
    print("wrote " + path)


def export_page(session, file_name):
    target = os.path.join(session.program_dir, file_name)
    session.menu("alt+f", "Down", "Down", "Down", "Return")  # 表示データをWEB出力
    dialog = session.desktop.wait_active("出力")
    session.desktop.type_into_focused_box(target)
    session.desktop.key("Return")
    session.desktop.wait_until(lambda: os.path.exists(target), "the page " + target)
    session.desktop.wait_active("出力", other_than=dialog)
    session.desktop.key("Escape")
    session.desktop.wait_active(MAIN_TITLE)
    return target


def take(session, desktop, program, env, out, review, page=True):
    session.process = session.start_program(program, "/i=" + QUERY)
    session.main_window = desktop.wait_until(desktop.main_windows, "the main window", timeout=20)[0]
    session.focus_main()
    desktop.key("Down", "Down")
    picture(desktop, session.main_window, os.path.join(out, "main-window.png"))

    session.menu("alt+v", "x")
    picture_screen(desktop, os.path.join(out, "font-size-menu.png"), session.main_window, session.process.pid)
    desktop.key("Escape", "Escape")
    desktop.wait_until(lambda: not desktop.visible_popup(session.process.pid), "the menu to close")

    session.focus_main()
    desktop.key("alt+e")  # the memo pane, empty in a fresh folder
    picture(desktop, session.main_window, os.path.join(out, "memo-pane.png"))
    desktop.key("alt+e")

    session.menu("alt+h", "v")
    picture_screen(desktop, os.path.join(out, "about-box.png"), desktop.wait_active("バージョン情報"))
    desktop.key("Escape")

    session.focus_main()
    desktop.key("ctrl+n")
    new_record = desktop.wait_active("データの新規作成")
    desktop.key("alt+n")
    desktop.type_into_focused_box("試作品")
    before = settled_image(desktop, new_record)
    desktop.key("Escape")
    desktop.wait_active("確認")
    picture_screen(desktop, os.path.join(out, "discard-question.png"), new_record, around_image=before)
    desktop.key("alt+y")
    desktop.wait_active(MAIN_TITLE)
    desktop.key("F5", "Down", "Down")  # the same row again, the list focused

    desktop.key("Return")
    picture_active(desktop, "詳細情報", os.path.join(out, "detail-dialog.png"))
    desktop.key("Escape")

    session.menu("alt+d", "e")
    picture_active(desktop, "データの編集", os.path.join(out, "edit-dialog.png"))
    if review:
        desktop.key("alt+d")
        picture_active(desktop, "材料", os.path.join(review, "material-dialog.png"))
        desktop.key("Escape")
        desktop.wait_active("データの編集")
        desktop.key("alt+q")
        picture_active(desktop, "スキル上昇", os.path.join(review, "skill-value-dialog.png"))
        desktop.key("Escape")
        desktop.wait_active("データの編集")
    desktop.key("Escape")

    session.menu("alt+v", "s")
    picture_active(desktop, "表示設定", os.path.join(out, "display-settings.png"))
    desktop.key("Escape")

    if review:
        session.menu("alt+h", "v")
        picture_active(desktop, "バージョン情報", os.path.join(review, "about-box.png"))
        desktop.key("Escape")

    if page:
        render_page(export_page(session, "page.htm"), os.path.join(out, "html-export.png"), env)


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--program", required=True)
    parser.add_argument("--samples", required=True)
    parser.add_argument("--out", required=True)
    parser.add_argument("--review")
    parser.add_argument("--no-page", action="store_true", help="leave out html-export.png (no chromium)")
    options = parser.parse_args()
    out = os.path.abspath(options.out)
    review = os.path.abspath(options.review) if options.review else None

    work = tempfile.mkdtemp(prefix="vornik-shots-")
    env = session_environment(work)
    program_dir = prepare_program_dir(work, options.program, options.samples)
    server, display = start_xvfb(env)
    env["DISPLAY"] = display
    helpers = []
    try:
        helpers.append(start_window_manager(env))
        desktop = Desktop(env)
        session = Session(desktop, program_dir)
        session.process = None
        try:
            take(session, desktop, os.path.join(program_dir, "vornik"), env, out, review, not options.no_page)
        finally:
            if session.process:
                helpers.append(session.process)
    finally:
        for process in helpers:
            process.terminate()
        server.terminate()
        for process in helpers + [server]:
            process.wait(timeout=5)
        shutil.rmtree(work, ignore_errors=True)
    return 0


if __name__ == "__main__":
    sys.exit(main())
