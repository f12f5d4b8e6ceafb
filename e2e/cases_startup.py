"""Start-up while another program holds the clipboard and does not answer; a file dragged in."""

import os
import signal
import subprocess
import time

from session import Failure, wait_until
from x11 import clipboard_text, drop_files


def case_a_stopped_clipboard_owner_holds_up_no_start(s):
    """xclip holds the clipboard, stopped: the window still shows at once (Qt waits 5 s per question)"""
    owner = subprocess.Popen(["xclip", "-selection", "clipboard", "-quiet", s.write("clip.txt", b"10 PRINT")],
                             stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL,
                             env=dict(os.environ, DISPLAY=s.display))
    try:
        wait_until("xclip to hold the clipboard", lambda: clipboard_text(s.display) == "10 PRINT")
        os.kill(owner.pid, signal.SIGSTOP)
        started = time.monotonic()
        s.launch()
        if (took := time.monotonic() - started) > 4:
            raise Failure(f"the window took {took:.1f} s to show")
    finally:
        owner.kill()
        owner.wait(5)


def drop_a_file_named_in_japanese(s):
    """Drags a Shift-JIS file named in Japanese onto the window, as from a file manager; it opens, and
    a line typed into it is saved into it."""
    dropped = s.write("ドラッグ 元.txt", '10 PRINT "ドロップ"\r\n'.encode("cp932"))
    x, y, width, height = s.geometry(s.main)
    if not drop_files(s.display, s.main, [dropped.as_uri()], x + width // 2, y + height // 2):
        raise Failure("the window refused the drop")
    wait_until("the dropped file's title", lambda: "ドラッグ 元.txt" in s.xdo("getwindowname", s.main), s.patience)
    s.press("ctrl+End", "20 END", "ctrl+s")
    saved = '10 PRINT "ドロップ"\r\n20 END'.encode("cp932")
    wait_until("the dropped file to be saved", lambda: s.read("ドラッグ 元.txt") == saved, s.patience)


def case_a_file_named_in_japanese_dragged_in(s):
    """a Shift-JIS file named in Japanese, dragged from another program onto the window, opens and saves"""
    s.write("kavrin.ini", b"[Window]\r\nWidth=600\r\nHeight=360\r\nTop=40\r\nLeft=60\r\n")
    s.launch()
    drop_a_file_named_in_japanese(s)
