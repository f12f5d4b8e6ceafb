"""Real-window case of エミュレータで実行 on Ctrl+F5: the second run asks nothing and converts to the same image."""

import time

from cases_convert_output import read_boxes_until
from session import Failure, expect_bytes, wait_until

PROGRAM = b"10 PRINT 1\r\n"

# Notes each run's arguments, then writes the run's number and the program as the image (the last argument).
CONVERTER = b"""#!/bin/sh
runs="$(dirname "$0")/converter-runs.txt"
{ printf '%s\\n' "$@"; echo --; } >> "$runs"
while [ $# -gt 2 ]; do shift; done
{ grep -c -- -- "$runs"; cat "$1"; } > "$2"
"""

# Stands in for the emulator: notes each run's arguments.
EMULATOR = b"""#!/bin/sh
{ printf '%s\\n' "$@"; echo --; } >> "$(dirname "$0")/emulator-runs.txt"
"""


def case_run_again_with_one_key(s):
    """Ctrl+F5 twice: the second run saves the edit, asks nothing but the result box, and uses the same image"""
    s.write("txt2bas.exe", CONVERTER, mode=0o755)
    emulator = s.write("emulator.sh", EMULATOR, mode=0o755)
    s.write("kavrin.ini", f"[Emulator]\r\nCommand={emulator} %1\r\n".encode())
    program = s.write("game.txt", PROGRAM)
    s.launch(program)
    s.press("ctrl+F5")
    s.in_window("the convert dialog", "テープイメージに変換", "ctrl+a", "tape.cas", "Return")  # not the name proposed
    s.answer_box("the result box", "Return")
    image = s.dir / "tape.cas"
    run = f"{program}\n{image}\n--\n".encode()

    s.xdo("windowfocus", "--sync", s.main)
    s.press("ctrl+End", "20 END", "ctrl+F5")
    saved = PROGRAM + b"20 END"
    if (boxes := read_boxes_until(s, "正常に終了しました")) != ["正常に終了しました"]:
        raise Failure(f"the second run showed boxes {boxes}, not only the result")
    expect_bytes("the converters' arguments", s.read("converter-runs.txt"), run + run)
    expect_bytes("the image of the second run", s.read("tape.cas"), b"2\n" + saved)
    wait_until("the emulator's second run", lambda: s.read("emulator-runs.txt").count(b"--") == 2)
    expect_bytes("the emulator's runs", s.read("emulator-runs.txt"), f"{image}\n--\n".encode() * 2)
    s.xdo("windowfocus", "--sync", s.main)
    s.press("ctrl+s")  # what the editor holds: F5's text was not typed
    time.sleep(0.5)
    expect_bytes("the program saved", s.read("game.txt"), saved)
