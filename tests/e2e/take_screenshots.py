#!/usr/bin/env python3
"""Takes the user guide's pictures from the real program under Xvfb.

    take_screenshots.py --program PATH/vornik --samples PATH/samples --out docs/screenshots
                        [--review DIR]

Writes main-window.png, detail-dialog.png, edit-dialog.png,
display-settings.png and html-export.png (the exported page as Chromium
shows it). With --review, the smaller dialogs (material, skill levels,
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
    """A picture of the window once two in a row, a moment apart, agree: keys
    sent just before may still be changing it."""
    desktop.wait_painted(window)
    image = run(["xwd", "-silent", "-id", window], desktop.env).stdout
    for _ in range(attempts):
        time.sleep(0.2)
        again = run(["xwd", "-silent", "-id", window], desktop.env).stdout
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


def take(session, desktop, program, env, out, review):
    session.process = session.start_program(program, "/i=" + QUERY)
    session.main_window = desktop.wait_until(desktop.main_windows, "the main window", timeout=20)[0]
    session.focus_main()
    session.select_first_row()
    desktop.key("Down", "Down")
    picture(desktop, session.main_window, os.path.join(out, "main-window.png"))

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

    page = export_page(session, "page.htm")
    render_page(page, os.path.join(out, "html-export.png"), env)


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--program", required=True)
    parser.add_argument("--samples", required=True)
    parser.add_argument("--out", required=True)
    parser.add_argument("--review")
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
            take(session, desktop, os.path.join(program_dir, "vornik"), env, out, review)
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
