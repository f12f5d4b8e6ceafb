"""Cases of the real-window suite: Shift taken by another window, and undoing a tool."""

from session import expect_bytes, wait_until


def case_shift_taken_by_the_list_and_a_renumber_undone(s):
    """The panel's list takes Shift's release: Esc, then F1 types the plain text; renumber, Ctrl+Z, Alt+Left"""
    program = s.write("undo.txt", b"10 GOSUB 100\r\n20 END\r\n100 RETURN\r\n")
    s.launch(program)
    s.press("ctrl+Home", "End", "F12")  # a place at the end of line 10
    s.xdo("keydown", "shift")
    s.press("F12")
    s.xdo("keyup", "shift")  # in the panel's list
    s.press("Escape")  # back to the editor
    s.press("End", ":", "F1")
    s.menu("s", "r")
    s.in_window("the renumber dialog", "番号の振り直し", "100", "Tab", "100", "Return")
    s.answer_box("the renumber report", "Return")
    s.xdo("windowfocus", "--sync", s.main)
    s.press("ctrl+z", "alt+Left", ":REM B", "ctrl+s")
    wait_until("undo.txt to be saved", lambda: b"REM B" in s.read("undo.txt"))
    expect_bytes("the saved bytes", s.read("undo.txt"), b"10 GOSUB 100:REM B\r\n20 END\r\n100 RETURN:COLOR \r\n")
