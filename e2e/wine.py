#!/usr/bin/env python3
"""kavrin for Windows end to end: kavrin.exe unzipped from the package, under Wine, in a real window.

Each case has an Xvfb and a Wine prefix of its own, and a folder of screenshots in the output folder."""

import argparse
import functools
import os
import shutil
import signal
import subprocess
import sys
import time
import zipfile
from pathlib import Path

sys.dont_write_bytecode = True  # no __pycache__ in the work tree
sys.path.insert(0, str(Path(__file__).resolve().parent))
import x11  # noqa: E402
from cases_startup import drop_a_file_named_in_japanese  # noqa: E402
from run import run_case  # noqa: E402
from session import Failure, Session, expect_bytes, wait_until  # noqa: E402

WINE, WINESERVER = "/usr/lib/wine/wine64", "/usr/lib/wine/wineserver"


def windows_path(path):  # the root is Wine's drive Z:
    return "Z:" + str(path).replace("/", "\\")


class WineSession(Session):
    """A Session whose program is the unzipped kavrin.exe, with Windows' pixels an inch `dpi` (96 is 100 %)."""

    start_timeout, patience = 90, 30

    def __init__(self, args, name, screen, dpi):
        self.converter, self.dpi, self.out = args.converter, dpi, args.out / name
        shutil.rmtree(self.out, ignore_errors=True)
        self.out.mkdir(parents=True)
        super().__init__(args.package, name, screen)

    def install(self, package):
        with zipfile.ZipFile(package) as zipped:  # the zip's one folder unzipped here
            for member in zipped.infolist():
                inside = Path(*Path(member.filename).parts[1:])
                if not member.is_dir() and inside.parts:
                    (self.dir / inside).parent.mkdir(parents=True, exist_ok=True)
                    (self.dir / inside).write_bytes(zipped.read(member))
        shutil.copy2(self.converter, self.dir / "txt2bas.exe")
        self.env = dict(WINEPREFIX=str(self.dir / "prefix"), WINEDEBUG="-all", WINEDLLOVERRIDES="mscoree,mshtml=")
        self.wine("wineboot", "--init")
        self.wine("reg", "add", r"HKCU\Control Panel\Desktop", "/v", "LogPixels", "/t", "REG_DWORD",
                  "/d", str(self.dpi), "/f")
        # A Japanese font, as on a Japanese Windows: the host's.
        fonts = self.dir / "prefix/drive_c/windows/Fonts"
        fonts.mkdir(parents=True, exist_ok=True)
        listed = subprocess.run(["fc-list", ":lang=ja", "file"], capture_output=True, text=True).stdout
        for font in {Path(line.split(":")[0]) for line in listed.splitlines() if line}:
            if not (fonts / font.name).exists():
                (fonts / font.name).symlink_to(font)

    def wine(self, *args):
        for command in ([WINE, *args], [WINESERVER, "-w"]):
            subprocess.run(command, env=dict(os.environ, **self.env), stdout=subprocess.DEVNULL,
                           stderr=subprocess.DEVNULL, timeout=180, check=True)

    def command(self, folder, args):
        return [WINE, str(folder / "kavrin.exe"), *map(str, args)], self.env

    def owned(self):
        return "--class", "kavrin.exe"

    def stop(self):
        super().stop()
        subprocess.run([WINESERVER, "-k"], env=dict(os.environ, **self.env), capture_output=True, timeout=60)
        shutil.rmtree(self.dir / "prefix", ignore_errors=True)  # 700 MB; a failed case keeps its logs

    def screenshot(self, name):
        time.sleep(0.5)  # drawn
        (self.out / f"{name}.png").write_bytes(x11.screenshot_png(self.dir / "Xvfb_screen0"))

    def start(self, text):
        program = self.write("game.txt", text)
        self.launch(windows_path(program))
        wait_until("the title", lambda: "game.txt" in self.xdo("getwindowname", self.main), self.patience)
        return program


# The test converter writes two lines naming BASIC lines, in UTF-8 and in Shift-JIS, then the image.
UTF8_LINE, SHIFT_JIS_LINE = "20行目: 文法エラー", "行 30: 未定義の行番号"
FIRST_LINE = "10 REM 「テスト」\r\n".encode("cp932")
SETTINGS = (b"[Window]\r\nWidth=760\r\nHeight=560\r\nTop=30\r\nLeft=30\r\n[Convert]\r\nConvProg=txt2bas.exe\r\n"
            b"PanelOnly=1\r\n[Panel]\r\nShown=1\r\nHeight=180\r\n")


def case_a_program_typed_saved_converted_and_its_lines_reached(s):
    """kavrin.exe: TAB and AUTO, Ctrl+S in Shift-JIS CR LF, Convert, the output row chosen, F8"""
    s.write("kavrin.ini", SETTINGS)
    s.write("txt2bas.exe.do",
            f"console\nerr {UTF8_LINE}\n".encode() + f"err {SHIFT_JIS_LINE}\n".encode("cp932"))
    program = s.start(FIRST_LINE)
    s.press("ctrl+End", "20 pri", "Tab", ' "A"', "Return",  # priNT; AUTO numbers 30
            "go", "shift+Tab", "shift+Tab", " 10", "Return", "end")  # goSUB
    s.screenshot("1-typed")
    s.press("ctrl+s")
    saved = FIRST_LINE + b'20 priNT "A"\r\n30 goSUB 10\r\n40 end'
    wait_until("game.txt to be saved", lambda: s.read("game.txt") != FIRST_LINE, s.patience)
    expect_bytes("the saved bytes", s.read("game.txt"), saved)

    s.menu("s", "t")  # Special > Convert
    dialog = s.new_window("the convert dialog", "テープイメージに変換")
    s.press("Return")  # the proposed name
    s.wait_gone(dialog, "the convert dialog")
    wait_until("the image", lambda: s.read("game.cas"), s.patience)
    expect_bytes("the converter's arguments", s.read("txt2bas.exe.args"),
                 f"{windows_path(program)}\n{windows_path(s.dir / 'game.cas')}\n".encode())
    # A console of its own for its output, and no window of it flashing up.
    expect_bytes("the converter's console", s.read("txt2bas.exe.console"), b"console\n")
    expect_bytes("the image", s.read("game.cas"), b"CAS")

    s.screenshot("2-converted")
    _, _, width, height = s.geometry(s.main)
    s.xdo("mousemove", "--window", s.main, width // 2, height - 40, "click", 1)  # the list, below its rows
    s.press("Home", "Down", "ctrl+c")  # the run's command line, then the converter's first line
    wait_until("the row on the clipboard", lambda: x11.clipboard_text(s.display) == UTF8_LINE, s.patience)
    s.press("Return", "End", ":REM U")  # the row's line is selected: End keeps it
    s.press("F8", "End", ":REM S", "ctrl+s")
    saved = saved.replace(b'"A"', b'"A":REM U').replace(b"goSUB 10", b"goSUB 10:REM S")
    wait_until("the save after F8", lambda: b"REM S" in s.read("game.txt"), s.patience)
    s.screenshot("3-reached")
    expect_bytes("the bytes saved after the row and F8", s.read("game.txt"), saved)
    x11.request_close(s.display, s.main)
    s.expect_exit(30)


def case_the_window_at_150_percent(s):
    """kavrin.exe at 150 % (LogPixels 144): screenshots of the window, a menu open and the version box"""
    s.write("kavrin.ini", SETTINGS.replace(b"Width=760\r\nHeight=560", b"Width=900\r\nHeight=640"))
    s.start(FIRST_LINE + b'20 PRINT "A"\r\n30 GOSUB 10\r\n')
    if not 1300 <= (width := s.geometry(s.main)[2]) <= 1400:
        raise Failure(f"900 pixels wide at 150 % became {width} on the screen")
    s.screenshot("1-window")
    s.press("alt+s")
    menu = s.new_window("the menu Alt+S")
    s.screenshot("2-menu")
    s.press("Escape")
    s.wait_gone(menu, "the menu")
    s.menu("h", "a")  # the version box shows the program's icon
    box = s.new_window("the version box", "kavrin のバージョン情報")
    s.screenshot("3-version-box")
    s.press("Return")
    s.wait_gone(box, "the version box")


def case_a_file_named_in_japanese_dragged_onto_the_window(s):
    """kavrin.exe: a Shift-JIS file named in Japanese, dragged from another program, opens and saves"""
    s.write("kavrin.ini", SETTINGS)
    s.start(FIRST_LINE)
    drop_a_file_named_in_japanese(s)
    s.screenshot("1-dropped-and-saved")
    expect_bytes("the first file", s.read("game.txt"), FIRST_LINE)


# Each case, its screen and Windows' pixels an inch.
CASES = [(case_a_program_typed_saved_converted_and_its_lines_reached, "1280x1024x24", 96),
         (case_the_window_at_150_percent, "1600x1200x24", 144),
         (case_a_file_named_in_japanese_dragged_onto_the_window, "1280x1024x24", 96)]


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("package", type=Path, help="the zip a user unzips: kavrin-VERSION-windows-x64.zip")
    parser.add_argument("converter", type=Path, help="the Windows test converter (test_converter.exe)")
    parser.add_argument("out", type=Path, help="the output folder: a folder of screenshots a case")
    parser.add_argument("--case", type=int, action="append", metavar="N", help="run only case N (repeatable)")
    args = parser.parse_args()
    args.package, args.converter, args.out = (p.resolve() for p in (args.package, args.converter, args.out))
    signal.signal(signal.SIGTERM, lambda *_: sys.exit(143))
    started = time.monotonic()
    results = [run_case(n, case.__name__[5:].replace("_", "-"), case.__doc__.strip(), case,
                        functools.partial(WineSession, args, screen=screen, dpi=dpi), False)
               for n, (case, screen, dpi) in enumerate(CASES, 1) if not args.case or n in args.case]
    print(f"     took {time.monotonic() - started:.0f} s")
    print(f"wine e2e: {results.count(True)} passed, {results.count(False)} failed")
    return 1 if False in results else 0


if __name__ == "__main__":
    sys.exit(main())
