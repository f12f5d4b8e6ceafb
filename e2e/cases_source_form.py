"""Real-window case of the source form: typed with labels and a continuation, checked, converted, F8 to the
source line that built the line the converter names."""

from cases_convert_output import read_boxes_until
from session import expect_bytes, wait_until

# Names the built line 20 and fails.
CONVERTER = "#!/bin/sh\necho '20行目: error' >&2\nexit 1\n".encode()


def case_a_source_built_converted_and_its_line_reached_with_f8(s):
    """a .bsrc typed with a label and a continuation, checked, converted into game.bas; F8 reaches the source"""
    s.write("txt2bas.exe", CONVERTER, mode=0o755)
    s.launch(s.write("game.bsrc", b""))
    for line in ("*TOP", "print:", "  GOTO *top"):  # typed: a capital first would name a key
        s.press(line, "Return")  # AUTO adds no number here
    s.press("end", "ctrl+s")
    wait_until("game.bsrc to be saved", lambda: s.read("game.bsrc"))
    s.menu("s", "k")
    s.press("Escape")
    s.menu("s", "t")  # Special > Convert
    s.in_window("the convert dialog", "テープイメージに変換", "Return")
    read_boxes_until(s, "エラーが発生しました")
    expect_bytes("the built program", s.read("game.bas"), b"10 print:GOTO 10\r\n20 end")
    s.xdo("windowfocus", "--sync", s.main)
    s.press("ctrl+Home", "F8", "End", ":REM X", "ctrl+s")
    wait_until("game.bsrc to be saved again", lambda: b"REM X" in s.read("game.bsrc"))
    expect_bytes("the source saved", s.read("game.bsrc"), b"*TOP\r\nprint:\r\n  GOTO *top\r\nend:REM X")
