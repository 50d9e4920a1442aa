"""Watching and pressing the program's windows on an X display from outside, with the X
utilities (xev, xprop, xdotool): nothing inside the program knows it is watched."""
import queue
import re
import subprocess
import threading
import time

# Where the buttons of the main window lie, from its top left corner (the window's own size,
# 1134 x 667, and the window font); checked by the popup or dialog each press brings.
BUTTON4 = (94, 639)  # "Включить оповещение событий"
BUTTON2 = (416, 559)  # "Сбор данных в таблицу"
BUTTON3 = (1008, 650)  # "Сохранение таблицы в текстовом файле"

MAIN_TITLE = "Newsbell newsbell.example.net"


class MapWatch:
    """Every top-level window mapped from now on, with the time it was mapped."""

    def __init__(self):
        self.process = subprocess.Popen(["stdbuf", "-oL", "xev", "-root", "-event",
                                         "substructure"], stdout=subprocess.PIPE, text=True)
        self.maps = queue.Queue()
        threading.Thread(target=self._read, daemon=True).start()

    def _read(self):
        mapped = False
        for line in self.process.stdout:
            if line.startswith("MapNotify"):
                mapped = True
                continue
            match = re.search(r"window (0x[0-9a-f]+), override", line) if mapped else None
            if match:
                self.maps.put((time.perf_counter(), match.group(1)))
            mapped = False

    def next_map(self, timeout):
        """(time, window id) of the next window mapped, or None after timeout seconds."""
        try:
            return self.maps.get(timeout=timeout)
        except queue.Empty:
            return None

    def wait_for(self, wanted, timeout):
        """The first (time, window) mapped whose kind wanted(window) accepts; None after
        timeout seconds. The other windows mapped meanwhile are returned too."""
        deadline = time.perf_counter() + timeout
        others = []
        while (left := deadline - time.perf_counter()) > 0:
            mapped = self.next_map(left)
            if mapped is None:
                break
            if wanted(mapped[1]):
                return mapped, others
            others.append(mapped)
        return None, others

    def stop(self):
        self.process.terminate()
        self.process.wait()


def window_type(window):
    """The first of the window's _NET_WM_WINDOW_TYPE atoms, such as "UTILITY" (the alert
    popup) or "DIALOG" (a message box, a file dialog)."""
    out = subprocess.run(["xprop", "-id", window, "_NET_WM_WINDOW_TYPE"],
                         capture_output=True, text=True).stdout
    match = re.search(r"_NET_WM_WINDOW_TYPE_(\w+)", out)
    return match.group(1) if match else ""


def window_name(window):
    return subprocess.run(["xdotool", "getwindowname", window], capture_output=True,
                          text=True).stdout.strip()


def is_popup(window):
    return window_type(window) == "UTILITY"


def is_dialog(window):
    return window_type(window) == "DIALOG"


def is_main_window(window):
    return window_name(window) == MAIN_TITLE


def click(window, place):
    """Clicks at place in the window; the time just before the click was sent."""
    at = time.perf_counter()
    subprocess.run(["xdotool", "mousemove", "--window", window, str(place[0]), str(place[1]),
                    "click", "1"], check=True)
    return at


def type_text(text):
    subprocess.run(["xdotool", "type", "--delay", "5", text], check=True)
    subprocess.run(["xdotool", "key", "Return"], check=True)


def move(window, x, y):
    subprocess.run(["xdotool", "windowmove", window, str(x), str(y)], check=True)


def windows_of(pid):
    """The shown windows of a process."""
    return subprocess.run(["xdotool", "search", "--onlyvisible", "--pid", str(pid)],
                          capture_output=True, text=True).stdout.split()
