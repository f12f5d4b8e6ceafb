"""Real-window cases of the settings file: what the user sets is on disk before the program can die."""

import os
import signal

import x11
from session import Failure, expect_bytes, wait_until


def case_settings_survive_a_kill(s):
    """the converter (設定), the emulator and a background, then SIGKILL: the next start has all three"""
    s.launch()
    s.menu("e", "o")  # Edit > 設定: F1's field first, the converter eleven fields on
    dialog = s.new_window("the settings dialog", "Setting")
    s.press(*["Tab"] * 11, "ctrl+a", "conv.exe", "Tab", "Tab", "space")  # past 参照 to OK
    s.wait_gone(dialog, "the settings dialog")
    s.menu("s", "m")
    dialog = s.new_window("the emulator's settings", "エミュレータの設定")
    s.press("emu %1", "Return")
    s.wait_gone(dialog, "the emulator's settings")
    s.menu("o", "b")
    dialog = s.new_window("the colour dialog")
    s.press("Right", "Return")  # a basic colour
    s.wait_gone(dialog, "the colour dialog")
    wanted = (b"[Convert]\r\nConvProg=conv.exe\r\n", b"[Emulator]\r\nCommand=emu %1\r\n")

    def settings_on_disk():
        ini = s.read("kavrin.ini")
        return ini if all(w in ini for w in wanted) and b"BackColor=-2147483643\r\n" not in ini else None
    written = wait_until("the settings on disk", settings_on_disk)
    os.killpg(s.proc.pid, signal.SIGKILL)
    s.proc.wait(10)
    s.launch()
    x11.request_close(s.display, s.main)  # the close writes what was read back
    if (code := s.proc.wait(10)) != 0:
        raise Failure(f"kavrin ended with code {code}")
    expect_bytes("the settings after a restart", s.read("kavrin.ini"), written)
