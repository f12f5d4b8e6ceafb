"""Real-window cases of the converter's output: its lines in either encoding lead to their line with F8;
with the output in the panel only, エミュレータで実行 opens nothing but the tape-image dialog."""

import time

from session import Failure, expect_bytes, wait_until
from x11 import clipboard_text

PROGRAM = b"10 CLS\r\n20 PRINT 1\r\n30 PRINT 2\r\n40 PRINT 3\r\n50 END\r\n"
UTF8_LINE, SHIFT_JIS_LINE = "30行目: 文法エラー", "行 50: 未定義の行番号"

# Writes one line in UTF-8 and one in Shift-JIS to its error output, and fails.
FAILING_CONVERTER = b"""#!/bin/sh
cd "$(dirname "$0")"
cat utf8.txt >&2
cat sjis.txt >&2
exit 1
"""

# Succeeds: writes a mark as the image, the last argument.
CONVERTER = b"""#!/bin/sh
while [ $# -gt 1 ]; do shift; done
printf 'CAS\\n' > "$1"
"""

# Stands in for the emulator: notes its arguments.
EMULATOR = b"""#!/bin/sh
printf '%s\\n' "$@" > "$(dirname "$0")/emulator-args.txt"
"""


def read_boxes_until(s, last_words):
    """Answers each message box in turn with Return; returns their texts, the last one holding `last_words`."""
    texts = []
    while not texts or last_words not in texts[-1]:
        box = s.new_window(f"box {len(texts) + 1}", "kavrin")
        s.xdo("mousemove", "--window", box, 40, 18, "click", 1)  # into the text: the box copies none itself
        s.press("ctrl+a", "ctrl+c")
        before = texts[-1] if texts else ""
        texts.append(wait_until(f"the text of box {len(texts) + 1}",
                                lambda: (text := clipboard_text(s.display)) != before and text, timeout=5))
        s.press("Return")
        s.wait_gone(box, f"box {len(texts)}")
    return texts


def case_converter_output_in_both_encodings_and_f8(s):
    """a converter fails with a UTF-8 and a Shift-JIS line naming lines; its boxes read right; F8 goes to each"""
    s.write("txt2bas.exe", FAILING_CONVERTER, mode=0o755)
    s.write("utf8.txt", (UTF8_LINE + "\n").encode("utf-8"))
    s.write("sjis.txt", (SHIFT_JIS_LINE + "\r\n").encode("cp932"))
    s.launch(s.write("game.txt", PROGRAM))
    s.menu("s", "t")  # Special > Convert
    s.in_window("the convert dialog", "テープイメージに変換", "Return")
    told = "\n".join(read_boxes_until(s, "エラーが発生しました"))
    if UTF8_LINE not in told or SHIFT_JIS_LINE not in told:
        raise Failure(f"the boxes did not show both lines as written; they said:\n{told}")
    s.xdo("windowfocus", "--sync", s.main)
    s.press("ctrl+Home")
    saved = PROGRAM
    for line, words in ((b"30 PRINT 2", b":REM U"), (b"50 END", b":REM S")):
        s.press("F8", "End", words.decode(), "ctrl+s")  # the row's line is selected: End keeps it
        wait_until(f"the save after F8 to {line.decode()}", lambda: s.read("game.txt") != saved)
        saved = saved.replace(line + b"\r\n", line + words + b"\r\n")
        expect_bytes(f"the bytes saved after F8 to {line.decode()}", s.read("game.txt"), saved)


def case_panel_only_output_runs_the_emulator_without_a_box(s):
    """output in the panel only: エミュレータで実行 opens only the tape-image dialog, then the emulator"""
    s.write("txt2bas.exe", CONVERTER, mode=0o755)
    emulator = s.write("emulator.sh", EMULATOR, mode=0o755)
    s.write("kavrin.ini", f"[Convert]\r\nPanelOnly=1\r\n[Emulator]\r\nCommand={emulator} %1\r\n".encode())
    s.launch(s.write("game.txt", PROGRAM))
    s.menu("s", "e")  # Special > エミュレータで実行
    s.in_window("the convert dialog", "テープイメージに変換", "Return")
    args = wait_until("the emulator to start", lambda: s.read("emulator-args.txt"))
    expect_bytes("the emulator's arguments", args, f"{s.dir / 'game.cas'}\n".encode())
    expect_bytes("the image", s.read("game.cas"), b"CAS\n")
    time.sleep(0.5)  # a box, modal, would stay until answered
    if (others := [w for w in s.windows() if w != s.main]):
        raise Failure(f"other windows opened: {[s.xdo('getwindowname', w).strip() for w in others]}")
