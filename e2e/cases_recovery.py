"""Recovered text against a file another program changed, and reading what a message box says."""

from session import Failure, wait_until
from x11 import clipboard_text

# 表 ends in the byte of "\\"; EE EF and FA 40 are two copies of one character; 80 A0 are none.
PROGRAM = '10 REM ゲーム「表」\r\n'.encode("cp932") + b"20 REM \x87\x40 \xee\xef \xfa\x40 \x80\xa0\r\n"


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
    s.kill()
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
