#!/usr/bin/env python3
"""Start-up of the program's window to its first loaded calendar page, and the peak memory of
all its processes on the way (the browser's included), against a bare QWebEngineView window
loading the same page from the same demo calendar, in the same run.

usage: startup_bench.py BUILD_DIR [RUNS]    (9 runs of each by default)

The program runs as a user starts it, `newsbell --no-settings --calendar-url URL`: the main
window shown, the week window made hidden. A start ends when the page has loaded (the program
tells it on standard error with QT_LOGGING_RULES=newsbell.browser.info=true; the bare view
prints the same words). Memory is the proportional set size (shared pages counted once) of
the whole process tree, sampled from the start until two seconds after the load, in runs of
their own. Runs on the display the environment gives, offscreen when there is none. Prints
medians, the number of processes each runs and the ratios program / bare view (targets:
start-up at most 1.2x, peak memory at most 1.1x).
"""
import os
import statistics
import sys
import time

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from processes import LOAD_LOG, Program, bin_path, demo_calendar, descendants  # noqa: E402
from processes import pss_kib  # noqa: E402

SETTLED = 2.0  # seconds after the load that still count for the peak


def start_up(command, env):
    """Seconds from the start to the loaded page."""
    program = Program(command, env)
    loaded = program.wait_for("page loaded")
    program.stop()
    return loaded - program.started


def peak_memory(command, env):
    """Peak proportional set size of the tree in MiB, and the most processes it had."""
    program = Program(command, env)
    peak, processes, loaded = 0, 0, None
    while loaded is None or time.perf_counter() < loaded + SETTLED:
        pids = descendants(program.process.pid)
        peak = max(peak, pss_kib(pids))
        processes = max(processes, len(pids))
        if loaded is None and program.has_seen("page loaded"):
            loaded = time.perf_counter()
        if program.process.poll() is not None:
            sys.exit(f"{command[0]} ended before its page had loaded")
        time.sleep(0.05)
    program.stop()
    return peak / 1024, processes


def main():
    if len(sys.argv) < 2:
        sys.exit(__doc__)
    build_dir = sys.argv[1]
    runs = int(sys.argv[2]) if len(sys.argv) > 2 else 9
    env = dict(LOAD_LOG)
    if not os.environ.get("DISPLAY") and not os.environ.get("QT_QPA_PLATFORM"):
        env["QT_QPA_PLATFORM"] = "offscreen"
    calendar, url = demo_calendar(build_dir)
    commands = {
        "program": [bin_path(build_dir, "newsbell"), "--no-settings", "--calendar-url", url],
        "bare": [bin_path(build_dir, "bare_view_load"), url],
    }
    try:
        start_up(commands["bare"], env)  # warms the disk cache for both
        times = {name: [] for name in commands}
        memory = {name: [] for name in commands}
        processes = {}
        for _ in range(runs):
            for name, command in commands.items():
                times[name].append(start_up(command, env))
        for _ in range(3):
            for name, command in commands.items():
                peak, count = peak_memory(command, env)
                memory[name].append(peak)
                processes[name] = max(processes.get(name, 0), count)
    finally:
        calendar.terminate()
        calendar.wait()
    for name in commands:
        print(f"{name:8} start-up to the loaded page: median {statistics.median(times[name]):.3f} s "
              f"(runs {', '.join(f'{t:.3f}' for t in times[name])}); peak memory (PSS) median "
              f"{statistics.median(memory[name]):.0f} MiB; {processes[name]} processes")
    time_ratio = statistics.median(times["program"]) / statistics.median(times["bare"])
    memory_ratio = statistics.median(memory["program"]) / statistics.median(memory["bare"])
    print(f"start-up program / bare view: {time_ratio:.2f}x (target: at most 1.2x)")
    print(f"peak memory program / bare view: {memory_ratio:.2f}x (target: at most 1.1x)")


if __name__ == "__main__":
    main()
