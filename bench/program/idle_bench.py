#!/usr/bin/env python3
"""Processor time of the shown program while it waits, against minimal windows on the same
page in the same run: a QWebEngineView with one push button whose font toggles bold every
second (the floor of a window that blinks a button), and a QWebEngineView alone. All their
processes count (the browser's too). Needs an X display and xdotool.

usage: xvfb-run -a -s '-screen 0 3500x1400x24' bench/program/idle_bench.py BUILD_DIR [SECONDS]

The program is measured three times, SECONDS each (60 by default), beside the two minimal
windows measured at the same time:
  1. the page loaded, "Сбор данных в таблицу" blinking: against the blinking floor;
  2. after that extraction, the save button blinking: against the blinking floor;
  3. after the save, nothing blinking: against the bare view.
Targets: at most 1.5x the blinking floor; without a blink, within 0.1% of a core of the bare
view.
"""
import os
import sys
import tempfile
import threading
import time

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from processes import LOAD_LOG, Program, bin_path, cpu_share, demo_calendar  # noqa: E402
from processes import x_display_needed  # noqa: E402
from xwindows import BUTTON2, BUTTON3, MapWatch, click, is_dialog, is_main_window  # noqa: E402
from xwindows import move, type_text, windows_of  # noqa: E402

SETTLE = 5  # seconds after a change before measuring


def measure(programs, seconds):
    """Share of a core of each program's tree over the same seconds, measured side by side."""
    shares = {}
    threads = [threading.Thread(target=lambda n=name, p=program: shares.__setitem__(
        n, cpu_share(p, seconds))) for name, program in programs.items()]
    for thread in threads:
        thread.start()
    for thread in threads:
        thread.join()
    return shares


def report(what, shares, floor, target):
    program, base = shares["program"], shares[floor]
    ratio = f"{program / base:.2f}" if base > 0 else "-"
    print(f"{what}: program {100 * program:.3f}% of a core, {floor} {100 * base:.3f}%; "
          f"ratio {ratio}, difference {100 * (program - base):+.3f}% of a core "
          f"(target: {target})", flush=True)


def main():
    if len(sys.argv) < 2:
        sys.exit(__doc__)
    x_display_needed("idle_bench.py")
    build_dir = sys.argv[1]
    seconds = float(sys.argv[2]) if len(sys.argv) > 2 else 60
    calendar, url = demo_calendar(build_dir)
    watch = MapWatch()
    bare = bin_path(build_dir, "bare_view_load")
    programs = {}
    try:
        programs["blinking floor"] = Program([bare, url, "--blink"])
        programs["bare view"] = Program([bare, url])
        programs["program"] = Program(
            [bin_path(build_dir, "newsbell"), "--no-settings", "--calendar-url", url], LOAD_LOG)
        mapped, _ = watch.wait_for(is_main_window, 60)
        window = mapped[1]
        for program in programs.values():
            program.wait_for("page loaded")
        # Side by side, none covering another.
        for place, program in enumerate(programs.values()):
            for shown in windows_of(program.process.pid):
                move(shown, 1170 * place, 0)
        time.sleep(SETTLE)
        report("page loaded, extraction button blinking",
               measure(programs, seconds), "blinking floor", "at most 1.5")

        click(window, BUTTON2)
        time.sleep(SETTLE)
        report("table filled, save button blinking",
               measure(programs, seconds), "blinking floor", "at most 1.5")

        with tempfile.TemporaryDirectory() as folder:
            click(window, BUTTON3)
            dialog, _ = watch.wait_for(is_dialog, 10)
            if dialog is None:
                sys.exit("the save dialog did not open")
            type_text(os.path.join(folder, "idle.txt"))
            time.sleep(1)
            if not os.path.exists(os.path.join(folder, "idle.txt")):
                sys.exit("the table was not saved")
        time.sleep(SETTLE)
        report("table saved, nothing blinking", measure(programs, seconds), "bare view",
               "within 0.1% of a core")
    finally:
        for program in programs.values():
            program.stop()
        watch.stop()
        calendar.terminate()
        calendar.wait()


if __name__ == "__main__":
    main()
