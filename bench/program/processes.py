"""What the program benchmarks share: the demo calendar, programs started with their standard
error read as it comes, and the processor time and memory of a whole process tree (the
program and the browser's processes below it), read from /proc."""
import os
import queue
import subprocess
import sys
import threading
import time

# The program tells each finished load of its browsers on standard error with this rule.
LOAD_LOG = {"QT_LOGGING_RULES": "newsbell.browser.info=true"}
TICKS = os.sysconf("SC_CLK_TCK")


def bin_path(build_dir, name):
    return os.path.join(build_dir, "bin", name)


def demo_calendar(build_dir):
    """The demo calendar on loopback, and its address; stop() it when done."""
    calendar = subprocess.Popen([bin_path(build_dir, "newsbell-calendar")],
                                stdout=subprocess.PIPE, text=True)
    return calendar, calendar.stdout.readline().strip()


class Program:
    """A program started now, whose standard error lines are kept with the time they came."""

    def __init__(self, command, env=None):
        self.started = time.perf_counter()
        self.process = subprocess.Popen(command, env=dict(os.environ, **(env or {})),
                                        stdout=subprocess.DEVNULL, stderr=subprocess.PIPE,
                                        text=True, errors="replace")
        self.lines = queue.Queue()
        self.seen = []
        threading.Thread(target=self._read, daemon=True).start()

    def _read(self):
        for line in self.process.stderr:
            self.lines.put((time.perf_counter(), line.rstrip("\n")))

    def wait_for(self, text, timeout=60):
        """The time the first line holding text came (since the start of the benchmark's
        clock); exits when it does not come within timeout seconds."""
        for at, line in self.seen:
            if text in line:
                return at
        deadline = time.perf_counter() + timeout
        while True:
            left = deadline - time.perf_counter()
            if left <= 0 or self.process.poll() is not None and self.lines.empty():
                self.stop()
                sys.exit(f"{self.process.args[0]}: no line with {text!r} within {timeout} s; "
                         f"standard error:\n" + "\n".join(line for _, line in self.seen))
            try:
                at, line = self.lines.get(timeout=min(left, 0.2))
            except queue.Empty:
                continue
            self.seen.append((at, line))
            if text in line:
                return at

    def has_seen(self, text):
        """Whether a line holding text has come by now; does not wait."""
        while not self.lines.empty():
            self.seen.append(self.lines.get())
        return any(text in line for _, line in self.seen)

    def tree(self):
        return descendants(self.process.pid)

    def stop(self):
        if self.process.poll() is None:
            self.process.terminate()
            try:
                self.process.wait(10)
            except subprocess.TimeoutExpired:
                self.process.kill()
                self.process.wait()


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


def cpu_seconds(pids):
    """Processor time (user and system, their reaped children's too) of each process."""
    seconds = {}
    for pid in pids:
        try:
            with open(f"/proc/{pid}/stat") as stat:
                fields = stat.read().rsplit(")", 1)[1].split()
            seconds[pid] = sum(int(f) for f in fields[11:15]) / TICKS
        except OSError:
            continue
    return seconds


def cpu_share(program, seconds):
    """The share of one core the whole tree of program uses over the next seconds."""
    before = cpu_seconds(program.tree())
    start = time.perf_counter()
    time.sleep(seconds)
    after = cpu_seconds(program.tree())
    spent = sum(after[pid] - before.get(pid, 0) for pid in after)
    return spent / (time.perf_counter() - start)


def pss_kib(pids):
    """Proportional set size of the processes together: shared pages counted once."""
    total = 0
    for pid in pids:
        try:
            with open(f"/proc/{pid}/smaps_rollup") as rollup:
                for line in rollup:
                    if line.startswith("Pss:"):
                        total += int(line.split()[1])
                        break
        except OSError:
            continue
    return total


def x_display_needed(script):
    if not os.environ.get("DISPLAY"):
        sys.exit(f"{script} needs an X display; run it as\n"
                 f"  xvfb-run -a -s '-screen 0 3500x1400x24' {' '.join(sys.argv)}")
