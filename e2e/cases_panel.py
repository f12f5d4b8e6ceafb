"""Cases of the real-window suite: the result panel."""

from session import expect_bytes, wait_until


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
