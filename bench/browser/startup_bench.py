#!/usr/bin/env python3
"""Start-up of the program to its first loaded calendar page, against a bare QWebEngineView
loading the same page, with the peak memory of each (all processes of the run, Chromium's
included). Both run headless; the page comes from newsbell-calendar started here.

usage: startup_bench.py BUILD_DIR [RUNS]

The program's path is `newsbell --export FILE --calendar-url URL`: start, load the page, read
it and write the table, then exit. The baseline loads the page and exits.
Prints medians and the ratios program / bare view (goals: time under 1.3x).
"""
import os
import statistics
import subprocess
import sys
import tempfile
import time


def descendants(root):
    """The process ids of root and everything below it."""
    parents = {}
    for entry in os.listdir("/proc"):
        if not entry.isdigit():
            continue
        try:
            with open(f"/proc/{entry}/stat") as stat:
                fields = stat.read().rsplit(")", 1)[1].split()
            parents.setdefault(int(fields[1]), []).append(int(entry))
        except OSError:
            continue
    found, todo = [], [root]
    while todo:
        pid = todo.pop()
        found.append(pid)
        todo.extend(parents.get(pid, []))
    return found


def resident_kib(pid):
    try:
        with open(f"/proc/{pid}/status") as status:
            for line in status:
                if line.startswith("VmRSS:"):
                    return int(line.split()[1])
    except OSError:
        pass
    return 0


def run(command, env, sample_memory):
    """Wall seconds of one run, and the peak summed resident memory in MiB when sampled."""
    start = time.perf_counter()
    process = subprocess.Popen(command, env=env, stdout=subprocess.DEVNULL,
                               stderr=subprocess.DEVNULL)
    peak = 0
    while process.poll() is None:
        if sample_memory:
            peak = max(peak, sum(resident_kib(pid) for pid in descendants(process.pid)))
            time.sleep(0.01)
        else:
            time.sleep(0.002)
    elapsed = time.perf_counter() - start
    if process.returncode != 0:
        sys.exit(f"{command[0]} failed with status {process.returncode}")
    return elapsed, peak / 1024


def main():
    if len(sys.argv) < 2:
        sys.exit(__doc__)
    bin_dir = os.path.join(sys.argv[1], "bin")
    runs = int(sys.argv[2]) if len(sys.argv) > 2 else 5
    env = dict(os.environ, QT_QPA_PLATFORM="offscreen")
    calendar = subprocess.Popen([os.path.join(bin_dir, "newsbell-calendar")],
                                stdout=subprocess.PIPE, text=True, env=env)
    try:
        url = calendar.stdout.readline().strip()
        with tempfile.TemporaryDirectory() as folder:
            program = [os.path.join(bin_dir, "newsbell"), "--export",
                       os.path.join(folder, "week.txt"), "--calendar-url", url]
            bare = [os.path.join(bin_dir, "bare_view_load"), url]
            run(bare, env, False)  # warms the disk cache for both
            times = {"program": [], "bare": []}
            memory = {"program": [], "bare": []}
            for _ in range(runs):
                for name, command in (("program", program), ("bare", bare)):
                    times[name].append(run(command, env, False)[0])
            for _ in range(2):
                for name, command in (("program", program), ("bare", bare)):
                    memory[name].append(run(command, env, True)[1])
    finally:
        calendar.terminate()
        calendar.wait()
    for name in ("program", "bare"):
        print(f"{name:8} start-up to loaded page: median {statistics.median(times[name]):.3f} s "
              f"(runs {', '.join(f'{t:.3f}' for t in times[name])}); "
              f"peak memory {max(memory[name]):.0f} MiB")
    time_ratio = statistics.median(times["program"]) / statistics.median(times["bare"])
    memory_ratio = max(memory["program"]) / max(memory["bare"])
    print(f"start-up program / bare view: {time_ratio:.2f}x (goal under 1.3x)")
    print(f"peak memory program / bare view: {memory_ratio:.2f}x")


if __name__ == "__main__":
    main()
