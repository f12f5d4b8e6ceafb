"""Real-window cases of the comforts: zoom keys that change only the view, Redo, readable colours."""

import struct

import x11
from cases_recovery import answer_box_saying
from session import Failure, expect_bytes, wait_until

WINDOW = b"[Window]\r\nWidth=600\r\nHeight=360\r\nTop=0\r\nLeft=0\r\n"
QUESTION = "文字が読みにくくなります。文字色を変えますか?"


def text_width(s):
    """How far right anything is drawn on the editor's white, from the window's left: the text's width."""
    data = (s.dir / "Xvfb_screen0").read_bytes()
    head = struct.unpack(">25I", data[:100])
    start, stride = head[0] + 12 * head[19], head[12]
    left, top, width, height = s.geometry(s.main)

    def pixel(x, y):
        at = start + y * stride + 4 * x
        return data[at:at + 3]

    rows = [y for y in range(top, top + height) if pixel(left + width - 20, y) == b"\xff\xff\xff"]
    return max((x - left for y in rows for x in range(left + 20, left + width - 20) if sum(pixel(x, y)) < 384),
               default=0)


def case_zoom_keys_change_only_the_view(s):
    """Ctrl++, Ctrl+; and Ctrl+= enlarge, Ctrl+- shrinks, Ctrl+0 resets; nothing typed, the saved font kept"""
    s.write("kavrin.ini", WINDOW + b"[Format]\r\nFontSize=12\r\n")
    program = s.write("zoom.txt", b'10 PRINT "ZOOM"\r\n')
    s.launch(program)
    s.press("ctrl+Home")  # the caret left of the text
    original = shown = wait_until("the text to be drawn", lambda: text_width(s))
    for key in ("ctrl+plus", "ctrl+semicolon", "ctrl+equal"):
        s.press(key)
        shown = wait_until(f"{key} to enlarge the text", lambda: (w := text_width(s)) > shown + 3 and w)
    s.press("ctrl+minus")
    wait_until("ctrl+minus to shrink the text", lambda: text_width(s) < shown - 3)
    s.press("ctrl+plus", "ctrl+0")
    wait_until("ctrl+0 to show the chosen size", lambda: abs(text_width(s) - original) <= 1)
    x11.request_close(s.display, s.main)  # a text the keys changed would ask first
    if (code := s.proc.wait(10)) != 0:
        raise Failure(f"kavrin ended with code {code}")
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
    expect_bytes("the saved bytes", s.read("redo.txt"), typed)


def case_a_background_that_hides_the_text_asks(s):
    """a black background under black text asks: No keeps both colours, Yes makes the text white (kavrin.ini)"""
    s.write("kavrin.ini", WINDOW)
    s.launch()
    for html, key, wanted in (("#000000", "Escape", b"BackColor=0\r\n"),  # No
                              ("#000010", "Return", b"BackColor=1048576\r\n")):  # Yes
        s.menu("o", "b")
        dialog = s.new_window("the colour dialog")
        s.press("alt+h", "ctrl+a", html, "Return")
        s.wait_gone(dialog, "the colour dialog")
        answer_box_saying(s, "the contrast question", QUESTION, key)
        text = b"FontColor=16777215\r\n" if key == "Return" else b"FontColor=0\r\n"
        wait_until(f"{wanted!r} and {text!r} in kavrin.ini",
                   lambda: wanted in s.read("kavrin.ini") and text in s.read("kavrin.ini"))
