"""Real-window cases of the comforts: zoom keys that change only the view, Redo, readable colours."""

import struct

import x11
from cases_recovery import answer_box_saying
from session import Failure, wait_until

WINDOW = b"[Window]\r\nWidth=600\r\nHeight=360\r\nTop=0\r\nLeft=0\r\n"
QUESTION = "文字が読みにくくなります。文字色を変えますか?"


def text_width(s):
    """How far right anything dark is drawn on the editor's white, from the window's left."""
    data = (s.dir / "Xvfb_screen0").read_bytes()
    head = struct.unpack(">25I", data[:100])
    left, top, width, height = s.geometry(s.main)
    rows = [data[head[0] + 12 * head[19] + y * head[12]:][:4 * (left + width)] for y in range(top, top + height)]
    return max((x - left for row in rows if row[4 * (left + width - 20):][:3] == b"\xff\xff\xff"
                for x in range(left + 20, left + width - 20) if sum(row[4 * x:4 * x + 3]) < 384), default=0)


def case_zoom_keys_change_only_the_view(s):
    """Ctrl++, Ctrl+; and Ctrl+= enlarge, Ctrl+- shrinks, Ctrl+0 resets; nothing typed, the saved font kept"""
    s.write("kavrin.ini", WINDOW + b"[Format]\r\nFontSize=12\r\n")
    program = s.write("zoom.txt", b'10 PRINT "ZOOM"\r\n')
    s.launch(program)
    s.press("ctrl+Home")  # the caret left of the text
    original = shown = wait_until("the text to be drawn", lambda: text_width(s))
    for key, way in (("ctrl+plus", 1), ("ctrl+semicolon", 1), ("ctrl+equal", 1), ("ctrl+minus", -1)):
        s.press(key)
        shown = wait_until(f"{key} to zoom", lambda: (w := text_width(s)) * way > (shown + 3 * way) * way and w)
    s.press("ctrl+plus", "ctrl+0")
    wait_until("ctrl+0 to show the chosen size", lambda: abs(text_width(s) - original) <= 1)
    x11.request_close(s.display, s.main)  # a text the keys changed would ask first
    s.expect_exit()
    if b"FontSize=12\r\n" not in s.read("kavrin.ini"):
        raise Failure(f"the saved font changed:\n{s.read('kavrin.ini').decode('cp932')}")


def case_redo_brings_back_what_undo_took(s):
    """Ctrl+Z, then Ctrl+Y, Ctrl+Shift+Z and Alt+E Y each bring the typed line back (the saved bytes)"""
    program = s.write("redo.txt", b"10 CLS\r\n")
    s.launch(program)
    s.press("ctrl+End", "20 END", "ctrl+s")
    typed = b"10 CLS\r\n20 END"
    wait_until("redo.txt to be saved", lambda: s.read("redo.txt") == typed)
    for way, redo in (("Ctrl+Y", lambda: s.press("ctrl+y")), ("Ctrl+Shift+Z", lambda: s.press("ctrl+shift+z")),
                      ("Alt+E Y", lambda: s.menu("e", "y"))):
        s.press("ctrl+z", "ctrl+s")
        wait_until("the undone text to be saved", lambda: s.read("redo.txt") != typed)
        redo()
        s.press("ctrl+s")
        wait_until(f"{way} to bring the line back", lambda: s.read("redo.txt") == typed)


def case_a_background_that_hides_the_text_asks(s):
    """a black background under black text asks: No keeps both colours, Yes makes the text white (kavrin.ini)"""
    s.write("kavrin.ini", WINDOW)
    s.launch()
    for html, key, wanted in (("#000000", "Escape", (b"BackColor=0\r\n", b"FontColor=0\r\n")),  # No
                              ("#000010", "Return", (b"BackColor=1048576\r\n", b"FontColor=16777215\r\n"))):
        s.menu("o", "b")
        s.in_window("the colour dialog", None, "alt+h", "ctrl+a", html, "Return")
        answer_box_saying(s, "the contrast question", QUESTION, key)
        wait_until(f"{wanted} in kavrin.ini", lambda: all(w in s.read("kavrin.ini") for w in wanted))


def case_save_as_asks_before_replacing_a_file(s):
    """Save As onto another file that exists asks first: No leaves that file as it was, Yes replaces it"""
    other = b"10 REM KEEP\r\n"
    s.write("other.txt", other)
    s.launch(s.write("game.txt", b"10 CLS\r\n"))
    for key, expected in (("Escape", other), ("alt+y", b"10 CLS\r\n")):
        s.menu("f", "a")
        dialog = s.new_window("the save dialog")
        s.press("ctrl+a", "other.txt", "Return")
        question = wait_until("the question before replacing other.txt",
                              lambda: next((w for w in s.windows() if w not in (s.main, dialog)), None))
        s.xdo("windowfocus", "--sync", question)
        s.press(key)
        s.wait_gone(question, "the question")
        if key == "Escape":  # back in the dialog, which is left too
            s.xdo("windowfocus", "--sync", dialog)
            s.press("Escape")
        s.wait_gone(dialog, "the save dialog")
        wait_until(f"other.txt to hold {expected!r}", lambda: s.read("other.txt") == expected)
