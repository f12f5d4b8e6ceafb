#!/usr/bin/env python3
"""Renews the README's picture: kavrin in a real X11 window, as the e2e suite starts it.

Usage: scripts/screenshot.py [build-dir] [PNG]   (build/ and docs/screenshot.png by default)
"""

import sys
import time
from pathlib import Path

sys.dont_write_bytecode = True
sys.path.insert(0, str(Path(__file__).resolve().parent.parent / "e2e"))
import x11  # noqa: E402
from run import run_case  # noqa: E402
from session import ROOT  # noqa: E402


SCREENSHOT_PROGRAM = """10 REM *** かずあてゲーム ***
20 CLS
30 FOR I=1 TO 3:READ M$(I):NEXT I
40 A=INT(RND(1)*100)+1:N=0
50 PRINT "1から100までの かずを あててね"
60 INPUT "いくつ";X
70 N=N+1
80 IF X=A THEN 130
90 IF X<A THEN PRINT M$(1) ELSE PRINT M$(2)
100 GOSUB 200
110 GOTO 60
120 '
130 PRINT N;"かいめで ";M$(3)
140 END
200 REM --- こうかおん ---
210 PLAY "O4C8E8G8"
220 RETURN
230 DATA "もっと おおきい","もっと ちいさい","あたり!"
"""


def take_screenshot(s, target):
    """the README's picture: a short program in keyword colours, the key legend"""
    s.write("kavrin.ini", b"[Window]\r\nWidth=560\r\nHeight=330\r\nTop=0\r\nLeft=0\r\n[Editor]\r\nHighlight=1\r\n")
    program = s.write("kazuate.txt", SCREENSHOT_PROGRAM.replace("\n", "\r\n").encode("cp932"))
    s.xdo("mousemove", 1023, 767)  # Xvfb draws the pointer into its framebuffer
    s.launch(program)
    time.sleep(1.0)  # the first paint, in colour
    temporary = target.with_name(target.name + ".tmp")
    temporary.write_bytes(x11.screenshot_png(s.dir / "Xvfb_screen0", s.geometry(s.main)))
    temporary.replace(target)

def main():
    build = Path(sys.argv[1] if len(sys.argv) > 1 else ROOT / "build").resolve()
    target = Path(sys.argv[2] if len(sys.argv) > 2 else ROOT / "docs" / "screenshot.png").resolve()
    if not run_case("-", "screenshot", take_screenshot.__doc__.strip(), lambda s: take_screenshot(s, target),
                    build, False):
        return 1
    print(f"wrote {target}")
    return 0


if __name__ == "__main__":
    sys.exit(main())
