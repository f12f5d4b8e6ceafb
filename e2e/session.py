"""The pieces every end-to-end case uses: a Session (a folder, an Xvfb and one
run of the program, driven with xdotool) and the checks that fail a case."""

import os
import shutil
import signal
import subprocess
import tempfile
import time
from pathlib import Path


ROOT = Path(__file__).resolve().parent.parent


class Failure(Exception):
    pass


def wait_until(what, probe, timeout=10.0):
    """Polls `probe` until it gives a true value, at most `timeout` seconds."""
    deadline = time.monotonic() + timeout
    while not (value := probe()):
        if time.monotonic() > deadline:
            raise Failure(f"timed out after {timeout:g} s waiting for {what}")
        time.sleep(0.05)
    return value


def expect_bytes(what, actual, expected):
    at = next((i for i, (a, b) in enumerate(zip(actual, expected)) if a != b), min(len(actual), len(expected)))
    if actual != expected:
        raise Failure(f"{what} differ from byte {at}:\n       expected {expected[at:at + 60]!r}\n"
                      f"       got      {actual[at:at + 60]!r}")


class Session:
    """One case: its folder, its X server and one run of the program."""

    start_timeout = 20  # seconds for the main window to show
    patience = 10  # seconds for any other window to show or go

    def __init__(self, build, name, screen="1024x768x24"):
        self.dir = Path(tempfile.mkdtemp(prefix=f"kavrin-e2e-{name}-"))
        self.log = open(self.dir / "kavrin.log", "wb")
        self.install(build)
        self.proc = self.main = None
        read_end, write_end = os.pipe()
        self.xserver = subprocess.Popen(
            ["Xvfb", "-displayfd", str(write_end), "-screen", "0", screen, "-fbdir", str(self.dir),
             "-nolisten", "tcp", "-noreset"], pass_fds=(write_end,), stdin=subprocess.DEVNULL,
            stdout=self.log, stderr=self.log, start_new_session=True)
        os.close(write_end)
        with os.fdopen(read_end) as numbers:  # ends when Xvfb is ready or gone
            self.display = ":" + numbers.readline().strip()
        if self.display == ":":
            raise Failure("Xvfb did not start (see kavrin.log)")

    def install(self, build):
        """Copies the program and its keyword lists into the case's folder."""
        for source in (build / "src" / "kavrin", ROOT / "data/qmcode.txt", ROOT / "data/qmsrcode.txt"):
            shutil.copy2(source, self.dir)

    def command(self, folder, args):
        """The command line and the variables that start the program in `folder`."""
        return [str(folder / "kavrin"), *map(str, args)], {"QT_QPA_PLATFORM": "xcb"}

    def write(self, name, data, mode=0o644):
        (self.dir / name).write_bytes(data)
        (self.dir / name).chmod(mode)
        return self.dir / name

    def read(self, name):
        return (self.dir / name).read_bytes() if (self.dir / name).exists() else b""

    def launch(self, *args, folder=None):
        folder = folder or self.dir
        env = {k: v for k, v in os.environ.items()
               if not k.startswith(("QT_", "XDG_", "DBUS_", "GTK_", "KDE_"))
               and k not in ("XMODIFIERS", "SESSION_MANAGER", "DESKTOP_SESSION", "WAYLAND_DISPLAY")}
        for name in ("home", "runtime"):
            (folder / name).mkdir(mode=0o700, exist_ok=True)
        command, variables = self.command(folder, args)
        env.update(variables, DISPLAY=self.display, HOME=str(folder / "home"),
                   XDG_RUNTIME_DIR=str(folder / "runtime"), LANG="C.UTF-8", LC_ALL="C.UTF-8")
        self.proc = subprocess.Popen(command, cwd=folder, env=env, stdin=subprocess.DEVNULL, stdout=self.log,
                                     stderr=self.log, start_new_session=True)
        self.main = wait_until("the main window", self.windows, timeout=self.start_timeout)[0]
        self.xdo("windowfocus", "--sync", self.main)

    def kill(self):
        try:  # its own process group: a converter it started goes with it
            os.killpg(self.proc.pid, signal.SIGKILL)
        except ProcessLookupError:
            pass
        self.proc.wait(10)

    def stop(self):
        if self.proc is not None:
            self.kill()
        if self.xserver is not None and self.xserver.poll() is None:
            self.xserver.terminate()
            self.xserver.wait(5)
        self.log.close()

    def expect_exit(self, timeout=10):
        if (code := self.proc.wait(timeout)) != 0:
            raise Failure(f"kavrin ended with code {code}")

    def xdo(self, *args):
        env = dict(os.environ, DISPLAY=self.display, LANG="C.UTF-8", LC_ALL="C.UTF-8")
        done = subprocess.run(["xdotool", *map(str, args)], env=env, capture_output=True, timeout=15)
        return done.stdout.decode("utf-8", errors="replace")

    def windows(self):
        """The program's mapped windows, oldest first."""
        if self.proc.poll() is not None:
            raise Failure(f"kavrin ended with code {self.proc.returncode}")
        return sorted(int(w) for w in self.xdo("search", "--onlyvisible", *self.owned()).split())

    def owned(self):
        """xdotool search's terms for the program's windows."""
        return "--pid", self.proc.pid

    def geometry(self, window):
        values = dict(line.split("=") for line in self.xdo("getwindowgeometry", "--shell", window).split())
        return tuple(int(values[k]) for k in ("X", "Y", "WIDTH", "HEIGHT"))

    def press(self, *parts):
        """Types each part; key names (a capital or a modifier first) are pressed."""
        for part in parts:
            keyname = part[0].isupper() or part.split("+")[0] in ("shift", "ctrl", "alt")
            self.xdo(*(("key", "--delay", "40") if keyname else ("type", "--delay", "15")), part)

    def new_window(self, what, title=None):
        """Waits for a window other than the main one, with `title` if given; focuses it."""
        def probe():
            return next((w for w in self.windows() if w != self.main and
                         title in (None, self.xdo("getwindowname", w).rstrip("\n"))), None)
        window = wait_until(what, probe, self.patience)
        self.xdo("windowfocus", "--sync", window)
        return window

    def wait_gone(self, window, what):
        wait_until(f"{what} to close", lambda: window not in self.windows(), self.patience)

    def menu(self, mnemonic, item):
        """Opens a menu of the menu bar with its Alt access key and picks an item by its key."""
        self.xdo("windowfocus", "--sync", self.main)
        self.press(f"alt+{mnemonic}")
        self.in_window(f"the menu Alt+{mnemonic}", None, item)

    def in_window(self, what, title, *keys):
        """Presses `keys` in the window `what` (titled `title`, if given) once it shows; waits for it to go."""
        window = self.new_window(what, title)
        self.press(*keys)
        self.wait_gone(window, what)

    def answer_box(self, what, key):
        box = self.new_window(what, "kavrin")
        self.press(key)
        if key != "alt+n":  # No to closing ends the program
            self.wait_gone(box, what)
