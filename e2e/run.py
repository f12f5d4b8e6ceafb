#!/usr/bin/env python3
"""kavrin end to end: the built program in a real X11 window.

Each case gets a fresh folder holding a copy of the program, its keyword
lists, a settings file when the case needs one and a fake converter, and a
fresh Xvfb server.  Keys and clicks are real X events sent with xdotool; the
results are checked in the files the program writes.

    run.py [BUILD_DIR] [--screenshot [PNG]] [--keep] [--case N ...]

--screenshot also takes the README's picture (docs/screenshot.png unless a
path is given); --case 0 --screenshot takes only the picture.
"""

import argparse
import os
import shutil
import signal
import subprocess
import sys
import tempfile
import time
import traceback
from pathlib import Path

sys.dont_write_bytecode = True  # no __pycache__ in the work tree
sys.path.insert(0, str(Path(__file__).resolve().parent))
import x11  # noqa: E402

ROOT = Path(__file__).resolve().parent.parent
SCREEN = (1024, 768)

# Captions the program and Qt's Japanese translation give the windows.
SAVE_AS_TITLE = "名前を付けて保存"
CONVERT_TITLE = "テープイメージに変換"
SETTINGS_TITLE = "Setting"
BOX_TITLE = "kavrin"
SAVE_QUESTION = "ファイルの内容が変更されています。変更を保存しますか?"
CONVERT_DONE = "正常に終了しました"

# The OK button of the settings dialog, from the dialog's top left corner.
SETTINGS_OK = (448 + 75 // 2, 16 + 25 // 2)

# Stands in for txt2bas: notes its arguments one a line, then writes an
# "image" made of a mark and the program's bytes.
FAKE_CONVERTER = """#!/bin/sh
here=$(dirname "$0")
printf '%s\\n' "$@" > "$here/converter-args.txt"
while [ $# -gt 2 ]; do shift; done
{ printf 'CAS\\n'; cat "$1"; } > "$2"
"""


def sjis(text):
    return text.encode("cp932")


# A program with Japanese in a REM and in PRINT strings, CR LF.  表 and ソ
# end in the byte of "\"; ｶﾀｶﾅ are one byte each; 87 40 is NEC's ①, and
# EE EF and FA 40 are the NEC and IBM copies of one character (ⅰ), which
# only a byte-exact round trip keeps apart; 80 and A0 are no characters.
JAPANESE_PROGRAM = b"".join([
    b"10 REM " + sjis("ゲーム「表示テスト」") + b"\r\n",
    b'20 PRINT "' + sjis("こんにちは、ソフト") + b'"\r\n',
    b'30 PRINT "' + sjis("ｶﾀｶﾅ") + b'"\r\n',
    b"40 REM \x87\x40 \xee\xef \xfa\x40 \x80\xa0\r\n",
    b"50 GOTO 20\r\n",
])


def ini(*sections):
    """Settings file bytes: (name, [(key, value bytes or str), ...]) ..."""
    out = b""
    for name, keys in sections:
        out += b"[" + name.encode() + b"]\r\n"
        for key, value in keys:
            value = value if isinstance(value, bytes) else value.encode()
            out += key.encode() + b"=" + value + b"\r\n"
    return out


DEFAULT_KEYS = [("F1", ".COLOR ."), ("F2", '.CLOAD".'), ("F3", ".GOTO ."), ("F4", ".LIST ."),
                ("F5", ".RUN(ret)."), ("F6", ".SCREEN ."), ("F7", '.CSAVE".'), ("F8", ".PRINT ."),
                ("F9", ".PLAY ."), ("F10", ".CONT(ret).")]
FORMAT = [("Wrap", "0"), ("BackColor", "-2147483643"), ("FontName", sjis("ＭＳ ゴシック")),
          ("FontSize", "10"), ("FontColor", "0"), ("FontBold", "0"), ("FontItalic", "0")]


class Failure(Exception):
    pass


def wait_until(what, probe, timeout=10.0, interval=0.05):
    """Polls `probe` until it gives a true value, at most `timeout` seconds."""
    deadline = time.monotonic() + timeout
    while True:
        try:
            value = probe()
        except Failure as failure:
            raise Failure(f"{failure}, waiting for {what}") from None
        if value:
            return value
        if time.monotonic() > deadline:
            raise Failure(f"timed out after {timeout:g} s waiting for {what}")
        time.sleep(interval)


def show_bytes(data, limit=400):
    text = repr(data)
    return text if len(text) <= limit else text[:limit] + "..."


def expect_bytes(what, actual, expected):
    if actual == expected:
        return
    at = next((i for i, (a, b) in enumerate(zip(actual, expected)) if a != b),
              min(len(actual), len(expected)))
    raise Failure(f"{what}: not as expected from byte {at} on\n"
                  f"      expected {show_bytes(expected[max(0, at - 20):at + 60])}\n"
                  f"      got      {show_bytes(actual[max(0, at - 20):at + 60])}\n"
                  f"      ({len(expected)} bytes expected, {len(actual)} written)")


class Session:
    """One case: its folder, its X server and one run of the program."""

    def __init__(self, build, name):
        self.dir = Path(tempfile.mkdtemp(prefix=f"kavrin-e2e-{name}-"))
        self.log_path = self.dir / "kavrin.log"
        self.log = open(self.log_path, "wb")
        shutil.copy2(build / "src" / "kavrin", self.dir / "kavrin")
        for name in ("qmcode.txt", "qmsrcode.txt"):
            shutil.copy2(ROOT / "data" / name, self.dir / name)
        self.xserver = None
        self.display = None
        self.xlib = None
        self.proc = None
        self.main = None

    # --- the X server -------------------------------------------------------

    def start_x(self):
        read_end, write_end = os.pipe()
        try:
            self.xserver = subprocess.Popen(
                ["Xvfb", "-displayfd", str(write_end), "-screen", "0", "%dx%dx24" % SCREEN,
                 "-nolisten", "tcp", "-noreset"],
                pass_fds=(write_end,), stdin=subprocess.DEVNULL, stdout=self.log, stderr=self.log,
                start_new_session=True)
            os.close(write_end)
            write_end = None
            number = b""
            deadline = time.monotonic() + 15
            os.set_blocking(read_end, False)
            while not number.endswith(b"\n"):
                if time.monotonic() > deadline or self.xserver.poll() is not None:
                    raise Failure("Xvfb did not start (see kavrin.log)")
                try:
                    chunk = os.read(read_end, 16)
                except BlockingIOError:
                    time.sleep(0.02)
                    continue
                if not chunk:
                    raise Failure("Xvfb did not start (see kavrin.log)")
                number += chunk
        finally:
            if write_end is not None:
                os.close(write_end)
            os.close(read_end)
        self.display = ":" + number.decode().strip()
        self.xlib = x11.Display(self.display)

    def env(self):
        env = {k: v for k, v in os.environ.items()
               if not k.startswith(("QT_", "XDG_", "DBUS_", "GTK_", "KDE_"))
               and k not in ("XMODIFIERS", "SESSION_MANAGER", "DESKTOP_SESSION", "WAYLAND_DISPLAY")}
        home = self.dir / "home"
        runtime = self.dir / "runtime"
        for folder in (home, runtime):
            folder.mkdir(mode=0o700, exist_ok=True)
        env.update(DISPLAY=self.display, QT_QPA_PLATFORM="xcb", HOME=str(home),
                   XDG_RUNTIME_DIR=str(runtime), LANG="C.UTF-8", LC_ALL="C.UTF-8")
        return env

    # --- files --------------------------------------------------------------

    def path(self, name):
        return self.dir / name

    def write(self, name, data, mode=0o644):
        path = self.dir / name
        path.write_bytes(data)
        path.chmod(mode)
        return path

    def read(self, name):
        path = self.dir / name
        return path.read_bytes() if path.exists() else None

    # --- the program --------------------------------------------------------

    def launch(self, *args):
        self.proc = subprocess.Popen([str(self.dir / "kavrin"), *map(str, args)], cwd=self.dir,
                                     env=self.env(), stdin=subprocess.DEVNULL, stdout=self.log,
                                     stderr=self.log, start_new_session=True)
        windows = wait_until("the main window", self._alive_windows, timeout=20)
        if len(windows) != 1:
            raise Failure(f"expected one window at start-up, found {len(windows)}")
        self.main = windows[0]
        self.focus(self.main)
        return self.main

    def _alive_windows(self):
        if self.proc.poll() is not None:
            raise Failure(f"kavrin ended with code {self.proc.returncode}")
        return self.windows()

    def running(self):
        return self.proc is not None and self.proc.poll() is None

    def wait_exit(self, timeout=10):
        try:
            return self.proc.wait(timeout)
        except subprocess.TimeoutExpired:
            raise Failure(f"kavrin did not end within {timeout} s") from None

    def stop(self):
        if self.proc is not None:
            # Its own process group: a converter it started goes with it.
            try:
                os.killpg(self.proc.pid, signal.SIGKILL)
            except ProcessLookupError:
                pass
            self.proc.wait(10)
        if self.xlib is not None:
            self.xlib.close()
        if self.xserver is not None and self.xserver.poll() is None:
            self.xserver.terminate()
            try:
                self.xserver.wait(5)
            except subprocess.TimeoutExpired:
                self.xserver.kill()
                self.xserver.wait(5)
        self.log.close()

    # --- windows and input --------------------------------------------------

    def xdo(self, *args, check=True):
        env = dict(os.environ, DISPLAY=self.display, LANG="C.UTF-8", LC_ALL="C.UTF-8")
        try:
            done = subprocess.run(["xdotool", *map(str, args)], env=env, capture_output=True,
                                  timeout=15)
        except subprocess.TimeoutExpired:
            raise Failure(f"xdotool {' '.join(map(str, args))} hung") from None
        if check and done.returncode != 0:
            raise Failure(f"xdotool {' '.join(map(str, args))} failed: "
                          f"{done.stderr.decode(errors='replace').strip()}")
        return done.stdout.decode("utf-8", errors="replace")

    def windows(self):
        """The program's mapped windows, oldest first."""
        out = self.xdo("search", "--onlyvisible", "--pid", self.proc.pid, check=False)
        return sorted(int(w) for w in out.split())

    def title(self, window):
        return self.xdo("getwindowname", window, check=False).rstrip("\n")

    def geometry(self, window):
        values = {}
        for line in self.xdo("getwindowgeometry", "--shell", window).splitlines():
            key, _, value = line.partition("=")
            values[key] = int(value)
        return values["X"], values["Y"], values["WIDTH"], values["HEIGHT"]

    def focus(self, window):
        # Without a window manager the input focus is what makes Qt take a
        # window as the active one.
        self.xdo("windowfocus", "--sync", window)

    def key(self, *keys):
        self.xdo("key", "--delay", "40", *keys)

    def type(self, text):
        self.xdo("type", "--delay", "15", text)

    def click(self, window, x, y, repeat=1):
        self.xdo("mousemove", "--window", window, x, y, "click", "--repeat", repeat, "--delay", 80, 1)

    def new_window(self, what, title=None, timeout=10):
        """Waits for a window other than the main one, with `title` if given."""
        seen = {}

        def probe():
            for window in self._alive_windows():
                if window != self.main:
                    seen[window] = self.title(window)
                    if title is None or seen[window] == title:
                        return window
            return None

        try:
            return wait_until(what, probe, timeout)
        except Failure as failure:
            if seen:
                raise Failure(f"{failure}; windows seen: {sorted(set(seen.values()))}") from None
            raise

    def wait_gone(self, window, what, timeout=10):
        wait_until(f"{what} to close", lambda: window not in self._alive_windows(), timeout)

    def menu(self, mnemonic, item):
        """Opens a menu of the menu bar with Alt and picks an item by its key."""
        self.focus(self.main)
        self.key(f"alt+{mnemonic}")
        popup = self.new_window(f"the menu Alt+{mnemonic}")
        self.key(item)
        self.wait_gone(popup, "the menu")

    def box_text(self, box):
        """The text of a message box: selected with the mouse and copied."""
        _, _, width, _ = self.geometry(box)
        self.xlib.clear_clipboard()
        self.click(box, width // 2, 16, repeat=3)
        self.focus(box)
        self.key("ctrl+c")
        return wait_until("the message text on the clipboard",
                          lambda: self.xlib.read_clipboard(), timeout=5)

    def message_box(self, text, timeout=10):
        """Waits for a message box showing `text`, and returns it."""
        last = {}

        def probe():
            for window in self._alive_windows():
                if window != self.main and self.title(window) == BOX_TITLE:
                    last["text"] = self.box_text(window)
                    if last["text"] == text:
                        return window
            return None

        try:
            return wait_until(f"the box {text!r}", probe, timeout, interval=0.2)
        except Failure as failure:
            if "text" in last:
                raise Failure(f"{failure}; the box said {last['text']!r}") from None
            raise

    def request_close(self, window):
        self.xlib.request_close(window)

    def screenshot(self, rect=None):
        x, y, width, height = rect or (0, 0, *SCREEN)
        x, y = max(0, x), max(0, y)
        width, height = min(width, SCREEN[0] - x), min(height, SCREEN[1] - y)
        return self.xlib.screenshot_png(x, y, width, height)


# --- the cases ---------------------------------------------------------------

def case_typing_and_save_dialog(s):
    """typing with AUTO, TAB and Shift+TAB, F-keys, saving through the dialog"""
    s.launch()
    s.type("10 pri")
    s.key("Tab")                        # priNT
    s.type(" 1")
    s.key("Return")                     # AUTO: 20
    s.key("F3")                         # GOTO
    s.type("10")
    s.key("Return")
    s.key("shift+F4")                   # PLAY
    s.type('"CDE"')
    s.key("Return")
    s.type("go")
    s.key("shift+Tab", "shift+Tab")     # goTO, then goSUB
    s.type(" 100")
    s.key("Return")
    s.type("cl")
    s.key("Tab", "Tab", "Tab", "Tab")   # clEAR, clOAD, clOAD?, clS
    s.key("Return")
    s.key("shift+F1")                   # SCREEN
    s.type("1")
    s.key("Return")
    s.key("F5")                         # RUN and a line break of its own
    s.key("ctrl+s")
    dialog = s.new_window("the save dialog", SAVE_AS_TITLE)
    s.focus(dialog)
    s.type("prog.txt")
    s.key("Return")
    s.wait_gone(dialog, "the save dialog")
    expected = (b"10 priNT 1\r\n20 GOTO 10\r\n30 PLAY \"CDE\"\r\n40 goSUB 100\r\n"
                b"50 clS\r\n60 SCREEN 1\r\n70 RUN\r\n")
    wait_until("prog.txt", lambda: s.read("prog.txt") is not None)
    expect_bytes("the saved bytes", s.read("prog.txt"), expected)
    wait_until("the title to name the file", lambda: s.title(s.main) == "prog.txt - kavrin", 5)


def case_japanese_file_round_trip(s):
    """a Shift-JIS file from the command line, edited and saved with Ctrl+S"""
    program = s.write("game.txt", JAPANESE_PROGRAM)
    s.launch(program)
    s.key("ctrl+End")
    s.type("60 en")
    s.key("Tab")                        # enD
    s.key("Return")                     # AUTO: 70
    s.key("BackSpace", "BackSpace", "BackSpace")
    s.key("ctrl+s")
    expected = JAPANESE_PROGRAM + b"60 enD\r\n"
    try:
        wait_until("game.txt to be saved", lambda: s.read("game.txt") != JAPANESE_PROGRAM, 10)
    except Failure:
        if len(s.windows()) > 1:
            raise Failure("Ctrl+S on a named file opened a window: "
                          f"{[s.title(w) for w in s.windows() if w != s.main]}") from None
        raise
    expect_bytes("the saved bytes", s.read("game.txt"), expected)
    if s.windows() != [s.main]:
        raise Failure("a window other than the main one is open after saving")


def case_close_question_and_settings(s):
    """closing with unsaved changes, Cancel then No; the settings file written"""
    program_bytes = b'10 PRINT "HELLO"\r\n'
    program = s.write("hello.txt", program_bytes)
    window = [("Width", "600"), ("Height", "360"), ("Top", "40"), ("Left", "60")]
    before = b"; kept as it is\r\n" + ini(
        ("FunctionKey", DEFAULT_KEYS), ("Mode", [("Mode", "5")]),
        ("Auto", [("AutoAdd", "10"), ("AutoFlag", "1")]), ("Convert", [("ConvProg", "txt2bas.exe")]),
        ("Format", FORMAT), ("Window", window),
        ("Recent", [("1", "/old/one.txt"), ("2", ""), ("3", ""), ("4", "")]),
        ("Other", [("Keep", "yes")]))
    s.write("kavrin.ini", before)
    s.launch(program)
    geometry = s.geometry(s.main)
    if geometry != (60, 40, 600, 360):
        raise Failure(f"the window opened at {geometry}, not at the settings' (60, 40, 600, 360)")
    s.xdo("windowmove", "--sync", s.main, 100, 80)
    s.xdo("windowsize", "--sync", s.main, 640, 400)

    s.menu("s", "6")                    # Special > mode 6
    s.menu("s", "a")                    # Special > AUTO off
    s.menu("e", "o")                    # Edit > settings
    dialog = s.new_window("the settings dialog", SETTINGS_TITLE)
    s.focus(dialog)
    s.key("ctrl+a")
    s.type("CLS(ret)")                  # F1
    s.key(*["Tab"] * 10)                # to the AUTO increment
    s.key("ctrl+a")
    s.type("20")
    s.click(dialog, *SETTINGS_OK)
    s.wait_gone(dialog, "the settings dialog")

    s.focus(s.main)
    s.key("ctrl+End")
    s.type("20 bg")
    s.key("Tab")                        # bgET, a mode 6 keyword
    s.key("F1")                         # CLS and a line break

    s.request_close(s.main)
    box = s.message_box(SAVE_QUESTION)
    s.focus(box)
    s.key("Escape")                     # Cancel
    s.wait_gone(box, "the question box")
    try:
        s.proc.wait(0.5)                # a close going ahead would end it by now
    except subprocess.TimeoutExpired:
        pass
    if not s.running() or s.main not in s.windows():
        raise Failure("Cancel did not keep the window")
    expect_bytes("the settings file after Cancel", s.read("kavrin.ini"), before)

    s.request_close(s.main)
    box = s.message_box(SAVE_QUESTION)
    s.focus(box)
    s.key("alt+n")                      # No
    code = s.wait_exit()
    if code != 0:
        raise Failure(f"kavrin ended with code {code}")
    keys = [("F1", ".CLS(ret).")] + DEFAULT_KEYS[1:]
    window = [("Width", "640"), ("Height", "400"), ("Top", "80"), ("Left", "100")]
    after = b"; kept as it is\r\n" + ini(
        ("FunctionKey", keys), ("Mode", [("Mode", "6")]),
        ("Auto", [("AutoAdd", "20"), ("AutoFlag", "0")]), ("Convert", [("ConvProg", "txt2bas.exe")]),
        ("Format", FORMAT), ("Window", window),
        ("Recent", [("1", str(program)), ("2", "/old/one.txt"), ("3", ""), ("4", "")]),
        ("Other", [("Keep", "yes")]))
    expect_bytes("the settings file", s.read("kavrin.ini"), after)
    expect_bytes("the program answered No", s.read("hello.txt"), program_bytes)


def case_convert(s):
    """Special > Convert with a fake txt2bas.exe"""
    program = s.write("game.txt", JAPANESE_PROGRAM)
    s.write("txt2bas.exe", FAKE_CONVERTER.encode(), mode=0o755)
    s.write("kavrin.ini", ini(("Mode", [("Mode", "6")]), ("Convert", [("ConvProg", "txt2bas.exe")])))
    s.launch(program)
    s.menu("s", "t")                    # Special > Convert
    dialog = s.new_window("the convert dialog", CONVERT_TITLE)
    s.focus(dialog)
    s.key("Return")                     # the proposed name
    s.wait_gone(dialog, "the convert dialog")
    box = s.message_box(CONVERT_DONE, timeout=15)
    s.focus(box)
    s.key("Return")
    s.wait_gone(box, "the result box")
    image = s.path("game.cas")
    expect_bytes("the converter's arguments", s.read("converter-args.txt") or b"",
                 f"-6\n{program}\n{image}\n".encode())
    expect_bytes("the image", s.read("game.cas") or b"", b"CAS\n" + JAPANESE_PROGRAM)


def take_screenshot(s, target):
    """the README's picture: a short program, the key legend, the Special menu"""
    program = s.write("sample.txt", b"10 REM " + sjis("サンプル") + b"\r\n" +
                      b'20 PRINT "' + sjis("こんにちは、世界") + b'"\r\n')
    s.launch(program)
    s.key("ctrl+End")
    s.type("30 COL")
    s.key("Tab")                        # COLOR
    s.type(" 7")
    s.key("Return")                     # AUTO: 40
    s.key("F3")                         # GOTO
    s.type("20")
    s.key("alt+s")
    s.new_window("the Special menu")
    time.sleep(0.5)                     # the menu's first paint
    picture = s.screenshot(s.geometry(s.main))
    temporary = target.with_name(target.name + ".tmp")
    temporary.write_bytes(picture)
    temporary.replace(target)


CASES = [case_typing_and_save_dialog, case_japanese_file_round_trip,
         case_close_question_and_settings, case_convert]


def run_case(label, name, summary, body, build, keep):
    """Runs `body` in a fresh Session; prints one line, and why on failure."""
    started = time.monotonic()
    s = None
    failure = None
    try:
        s = Session(build, name)
        s.start_x()
        body(s)
    except Failure as f:
        failure = str(f)
    except Exception:
        failure = traceback.format_exc().rstrip()
    finally:
        if failure is not None and s is not None and s.xlib is not None:
            try:
                (s.dir / "failure.png").write_bytes(s.screenshot())
            except Exception:
                pass
        if s is not None:
            s.stop()
    took = time.monotonic() - started
    if failure is None:
        print(f"ok   {label} {summary} ({took:.1f} s)", flush=True)
        if not keep:
            shutil.rmtree(s.dir, ignore_errors=True)
        return True
    print(f"FAIL {label} {summary} ({took:.1f} s)\n     {failure}", flush=True)
    if s is not None:
        print(f"     kept: {s.dir} (kavrin.log, failure.png)", flush=True)
    return False


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("build", nargs="?", default=str(ROOT / "build"),
                        help="the build folder holding src/kavrin (default: build/)")
    parser.add_argument("--screenshot", nargs="?", const=str(ROOT / "docs" / "screenshot.png"),
                        metavar="PNG", help="also take the README's picture (default: docs/screenshot.png)")
    parser.add_argument("--keep", action="store_true", help="keep the folders of passed cases too")
    parser.add_argument("--case", type=int, action="append", metavar="N",
                        help="run only case N (may be repeated)")
    args = parser.parse_args()
    build = Path(args.build).resolve()
    if not (build / "src" / "kavrin").is_file():
        sys.exit(f"no built program at {build / 'src' / 'kavrin'}")
    signal.signal(signal.SIGTERM, lambda *_: sys.exit(143))

    started = time.monotonic()
    passed = failed = 0
    for number, case in enumerate(CASES, 1):
        if args.case and number not in args.case:
            continue
        name = case.__name__.removeprefix("case_").replace("_", "-")
        if run_case(number, name, case.__doc__.strip(), case, build, args.keep):
            passed += 1
        else:
            failed += 1
    if args.screenshot:
        target = Path(args.screenshot).resolve()
        if run_case("-", "screenshot", take_screenshot.__doc__.strip(),
                    lambda s: take_screenshot(s, target), build, args.keep):
            print(f"     wrote {target}")
        else:
            failed += 1
    print(f"     took {time.monotonic() - started:.0f} s")
    print(f"e2e: {passed} passed, {failed} failed")
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main())
