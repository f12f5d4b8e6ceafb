"""Cases of the real-window suite: the result panel."""

import os
import subprocess

from session import expect_bytes, wait_until
from x11 import clipboard_text


def case_the_check_in_the_panel_and_f8(s):
    """特別 > プログラムの検査 lists two findings in the panel; Esc, then F8 and Shift+F8 walk them from the caret"""
    program = s.write("check.txt", b"10 LIST 99\r\n20 PRINT\r\n30 LIST 98\r\n40 END\r\n")
    s.launch(program)
    s.menu("s", "k")
    s.press("Escape", "ctrl+End")  # the focus back in the editor, the caret below both findings
    s.press("shift+F8", "shift+F8", "F8")  # the second, the first, the second again
    s.press("End", ":REM Z", "ctrl+s")
    wait_until("check.txt to be saved", lambda: b"REM Z" in s.read("check.txt"))
    expect_bytes("the saved bytes", s.read("check.txt"), b"10 LIST 99\r\n20 PRINT\r\n30 LIST 98:REM Z\r\n40 END\r\n")


def case_full_width_lines_fixed_from_their_rows(s):
    """lines pasted in full-width; the check's row read; F8, Ctrl+. (修正), F8, Ctrl+Shift+. (すべて修正); saved ASCII"""
    program = s.write("wide.txt", b"10 CLS\r\n")
    s.launch(program)
    lines = "20 Ａ＝１０：ＰＲＩＮＴ　Ａ　'ｏｋ\n30 ＣＬＳ\n40 ＢＥＥＰ"
    # Japanese text is not typed reliably by xdotool: it comes from the clipboard, as from an input method.
    # xclip serves it from the background until another program takes the clipboard.
    subprocess.run(["xclip", "-selection", "clipboard"], input=lines.encode(),
                   env=dict(os.environ, DISPLAY=s.display), stderr=subprocess.DEVNULL, check=True, timeout=10)
    s.press("ctrl+End", "ctrl+v")
    s.menu("s", "k")
    s.press("ctrl+c")  # the first row, current in the list
    row = "行 20: [全角] 全角の「Ａ＝１０：ＰＲＩＮＴ　Ａ　」があります。実機は文字列とコメントの外では半角しか読めません"
    wait_until("the first row on the clipboard", lambda: clipboard_text(s.display) == row, timeout=5)
    s.press("Escape", "ctrl+Home", "F8", "ctrl+period", "F8", "ctrl+shift+period", "ctrl+s")
    wait_until("wide.txt to be saved", lambda: s.read("wide.txt") != b"10 CLS\r\n")
    expect_bytes("the saved bytes", s.read("wide.txt"),
                 b"10 CLS\r\n20 A=10:PRINT A '" + "ｏｋ".encode("cp932") + b"\r\n30 CLS\r\n40 BEEP")
