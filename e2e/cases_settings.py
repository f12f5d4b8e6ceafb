"""Real-window cases of the settings file: what the user sets is on disk before the program can die."""

import x11
from session import expect_bytes, wait_until

# 0xC0E0F0: red in the low byte; light, so the black text reads on it and nothing is asked.
WANTED = (b"[Convert]\r\nConvProg=conv.exe\r\n", b"BackColor=12640496\r\n", b"[Emulator]\r\nCommand=emu %1\r\n")


def case_settings_survive_a_kill(s):
    """the converter (設定), the emulator and a background, then SIGKILL: the next start has all three"""
    s.launch()
    for menu, item, title, keys in (
            ("e", "o", "Setting", ["Tab"] * 11 + ["ctrl+a", "conv.exe", "Tab", "Tab", " "]),  # space on OK
            ("s", "m", "エミュレータの設定", ["emu %1", "Return"]),
            ("o", "b", None, ["alt+h", "ctrl+a", "#F0E0C0", "Return"])):  # Qt's colour dialog
        s.menu(menu, item)
        s.in_window(f"the dialog of Alt+{menu} {item}", title, *keys)
    wait_until("the settings on disk", lambda: all(w in s.read("kavrin.ini") for w in WANTED))
    written = s.read("kavrin.ini")
    s.kill()
    s.launch()
    x11.request_close(s.display, s.main)  # what the close writes is what the start read
    s.expect_exit()
    expect_bytes("the settings after a restart", s.read("kavrin.ini"), written)
