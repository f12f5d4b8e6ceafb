"""Recovered text against a file another program changed, and reading what a message box says."""

import ctypes
import ctypes.util
import os
import signal
import time

from session import Failure, wait_until
from x11 import _Event, _int, _long, _ptr, _ulong

# 表 ends in the byte of "\\"; EE EF and FA 40 are two copies of one character; 80 A0 are none.
PROGRAM = '10 REM ゲーム「表」\r\n'.encode("cp932") + b"20 REM \x87\x40 \xee\xef \xfa\x40 \x80\xa0\r\n"


def clipboard_text(display, timeout=5.0):
    """The CLIPBOARD selection on `display` as UTF-8 text, as a program that pastes asks for it."""
    x = ctypes.CDLL(ctypes.util.find_library("X11") or "libX11.so.6")
    for name, result, arguments in (("XOpenDisplay", _ptr, [ctypes.c_char_p]),
                                    ("XInternAtom", _ulong, [_ptr, ctypes.c_char_p, _int]),
                                    ("XDefaultRootWindow", _ulong, [_ptr]),
                                    ("XCreateSimpleWindow", _ulong, [_ptr, _ulong] + [_int] * 5 + [_ulong] * 2)):
        getattr(x, name).restype, getattr(x, name).argtypes = result, arguments
    x.XConvertSelection.argtypes = [_ptr, _ulong, _ulong, _ulong, _ulong, _ulong]
    x.XPending.argtypes = x.XFlush.argtypes = x.XCloseDisplay.argtypes = [_ptr]
    x.XNextEvent.argtypes = [_ptr, ctypes.POINTER(_Event)]
    x.XGetWindowProperty.argtypes = [_ptr, _ulong, _ulong, _long, _long, _int, _ulong,
                                     ctypes.POINTER(_ulong), ctypes.POINTER(_int), ctypes.POINTER(_ulong),
                                     ctypes.POINTER(_ulong), ctypes.POINTER(ctypes.c_void_p)]
    x.XFree.argtypes = [_ptr]
    d = x.XOpenDisplay(display.encode())
    try:
        window = x.XCreateSimpleWindow(d, x.XDefaultRootWindow(d), 0, 0, 1, 1, 0, 0, 0)
        into = x.XInternAtom(d, b"KAVRIN_E2E", 0)
        x.XConvertSelection(d, x.XInternAtom(d, b"CLIPBOARD", 0), x.XInternAtom(d, b"UTF8_STRING", 0), into,
                            window, 0)
        x.XFlush(d)
        event, deadline = _Event(), time.monotonic() + timeout
        while event.xclient.type != 31:  # SelectionNotify
            if time.monotonic() > deadline:
                raise Failure("nothing answered for the clipboard")
            if x.XPending(d):
                x.XNextEvent(d, ctypes.byref(event))
            else:
                time.sleep(0.02)
        kind, size, count, after, data = _ulong(), _int(), _ulong(), _ulong(), ctypes.c_void_p()
        x.XGetWindowProperty(d, window, into, 0, 1 << 20, 0, 0, ctypes.byref(kind), ctypes.byref(size),
                             ctypes.byref(count), ctypes.byref(after), ctypes.byref(data))
        if not data.value:
            return ""
        text = ctypes.string_at(data.value, count.value).decode("utf-8", errors="replace")
        x.XFree(data)
        return text
    finally:
        x.XCloseDisplay(d)


def answer_box_saying(s, what, words, key):
    """Waits for a message box, copies its text, checks that it holds `words`, then presses `key`."""
    box = s.new_window(what, "kavrin")
    s.xdo("mousemove", "--window", box, 40, 18, "click", 1)  # into the text: the box copies none itself
    s.press("ctrl+a", "ctrl+c")
    try:
        wait_until(f"{what} to say {words!r}", lambda: words in clipboard_text(s.display), timeout=5)
    except Failure as e:
        raise Failure(f"{e}; it says:\n{clipboard_text(s.display)}") from None
    s.press(key)
    s.wait_gone(box, what)


def case_a_recovered_text_whose_file_changed(s):
    """typing survives SIGKILL; another program appends to the file; restart, Yes: Ctrl+S asks, No keeps, Yes saves"""
    program = s.write("game.txt", PROGRAM)
    s.launch(program)
    s.press("ctrl+End", "30 end")
    state = s.dir / "home" / ".local" / "state" / "kavrin"
    wait_until("the recovery copy", lambda: list(state.glob("*.recovery")))
    os.killpg(s.proc.pid, signal.SIGKILL)
    s.proc.wait(10)
    theirs = PROGRAM + b"40 REM THEIRS\r\n"
    with open(program, "ab") as out:
        out.write(b"40 REM THEIRS\r\n")
    s.launch()  # the offer comes first, and says the file changed
    s.main = None  # the first window was the offer
    answer_box_saying(s, "the offer", "その後ほかのプログラムによって変更されています", "Return")  # Yes
    s.main = wait_until("the recovered window", lambda: next(
        (w for w in s.windows() if "game.txt" in s.xdo("getwindowname", w)), None))
    for key, expected in (("alt+n", theirs), ("alt+y", PROGRAM + b"30 end")):
        s.xdo("windowfocus", "--sync", s.main)
        s.press("ctrl+s")
        answer_box_saying(s, "the question before replacing", "上書き保存しますか", key)
        wait_until("the answer to take effect", lambda: s.read("game.txt") == expected, timeout=5)
    wait_until("the copies to go after the save", lambda: not list(state.glob("*.recovery")))
