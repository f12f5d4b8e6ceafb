"""Start-up while another program holds the clipboard and does not answer."""

import os
import signal
import subprocess
import time

from session import Failure, wait_until
from x11 import clipboard_text


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
