#!/usr/bin/env python3
"""The press of "Включить оповещение событий" as a new user makes it: the real program on the
demo calendar, on an X display, pressed with the mouse (xdotool), the popup seen when the X
server maps its window (xev). Nothing inside the program is told.

usage: xvfb-run -a -s '-screen 0 1280x1024x24' bench/program/press_driver.py BUILD_DIR [RUNS]

1. RUNS fresh starts (5 by default): wait for the page to load (the program tells it on
   standard error with QT_LOGGING_RULES=newsbell.browser.info=true), let it settle for a
   second, press the button, time the press to the map of the popup. Prints each time and the
   median (acceptance: at most 0.4 s).
2. One fresh start pressed 0.2 s after the main window appears: the popup must come once the
   page has loaded, with no message box. Prints the press to the load and the load to the popup.
"""
import os
import statistics
import sys
import time

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from processes import LOAD_LOG, Program, bin_path, demo_calendar, x_display_needed  # noqa: E402
from xwindows import BUTTON4, MapWatch, click, is_dialog, is_main_window, is_popup  # noqa: E402


def start(build_dir, url, watch):
    """The program, fresh, and its main window once mapped."""
    program = Program([bin_path(build_dir, "newsbell"), "--no-settings", "--calendar-url", url],
                      LOAD_LOG)
    mapped, _ = watch.wait_for(is_main_window, 60)
    if mapped is None:
        program.stop()
        sys.exit("the main window did not appear within 60 s")
    return program, mapped


def press_for_popup(program, window, watch):
    """Seconds from the press to the popup; fails on a message box or no popup."""
    pressed = click(window, BUTTON4)
    popup, others = watch.wait_for(is_popup, 30)
    dialogs = [w for _, w in others if is_dialog(w)]
    if popup is None or dialogs:
        program.stop()
        sys.exit("no popup within 30 s" if popup is None else "a message box came instead")
    return pressed, popup[0]


def main():
    if len(sys.argv) < 2:
        sys.exit(__doc__)
    x_display_needed("press_driver.py")
    build_dir = sys.argv[1]
    runs = int(sys.argv[2]) if len(sys.argv) > 2 else 5
    calendar, url = demo_calendar(build_dir)
    watch = MapWatch()
    try:
        times = []
        for run in range(runs):
            program, (_, window) = start(build_dir, url, watch)
            program.wait_for("page loaded")
            time.sleep(1)
            pressed, shown = press_for_popup(program, window, watch)
            times.append(shown - pressed)
            print(f"run {run + 1}: press -> popup {times[-1]:.3f} s", flush=True)
            program.stop()
        print(f"press -> popup on a loaded page: median {statistics.median(times):.3f} s over "
              f"{runs} fresh starts (acceptance: at most 0.4 s)")

        program, (appeared, window) = start(build_dir, url, watch)
        time.sleep(max(0.0, appeared + 0.2 - time.perf_counter()))
        pressed, shown = press_for_popup(program, window, watch)
        loaded = program.wait_for("page loaded")
        program.stop()
        if loaded > shown:
            sys.exit("the popup came before the page had loaded")
        when = (f"{loaded - pressed:.3f} s later" if loaded >= pressed
                else f"{pressed - loaded:.3f} s before")
        print(f"press {pressed - appeared:.2f} s after the window appeared: the page loaded "
              f"{when}, the popup came {shown - loaded:.3f} s after the load; no message box")
    finally:
        watch.stop()
        calendar.terminate()
        calendar.wait()


if __name__ == "__main__":
    main()
