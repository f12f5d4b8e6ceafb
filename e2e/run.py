#!/usr/bin/env python3
"""kavrin end to end: the built program in a real X11 window.

Each case gets a fresh folder with a copy of the program and its keyword lists
and a fresh Xvfb; keys are real X events sent with xdotool, results are checked
in the files written.  Only what the offscreen window tests in tests/ cannot
show is here.
"""

import argparse
import os
import shutil
import signal
import subprocess
import sys
import time
import traceback
from pathlib import Path

sys.dont_write_bytecode = True  # no __pycache__ in the work tree
sys.path.insert(0, str(Path(__file__).resolve().parent))
import x11  # noqa: E402
from session import ROOT, Failure, Session, expect_bytes, wait_until  # noqa: E402
from cases_legend_and_undo import case_shift_taken_by_the_list_and_a_renumber_undone  # noqa: E402
from cases_settings import case_settings_survive_a_kill  # noqa: E402
from cases_recovery import answer_box_saying, case_a_recovered_text_whose_file_changed  # noqa: E402
from cases_panel import case_full_width_lines_fixed_from_their_rows, case_the_check_in_the_panel_and_f8  # noqa: E402
from cases_convert_cancel import case_a_cancelled_converter_leaves_nothing_running  # noqa: E402
from cases_convert_output import (case_converter_output_in_both_encodings_and_f8,  # noqa: E402
                                  case_panel_only_output_runs_the_emulator_without_a_box)
from cases_comfort import (case_a_background_that_hides_the_text_asks,  # noqa: E402
                           case_redo_brings_back_what_undo_took, case_save_as_asks_before_replacing_a_file,
                           case_zoom_keys_change_only_the_view)
from cases_run import case_run_again_with_one_key  # noqa: E402
from cases_source_form import case_a_source_built_converted_and_its_line_reached_with_f8  # noqa: E402
from cases_startup import (case_a_file_named_in_japanese_dragged_in,  # noqa: E402
                           case_a_stopped_clipboard_owner_holds_up_no_start)

# Stands in for txt2bas: notes its arguments, then writes a mark and the program as the "image".
FAKE_CONVERTER = b"""#!/bin/sh
printf '%s\\n' "$@" > "$(dirname "$0")/converter-args.txt"
while [ $# -gt 2 ]; do shift; done
{ printf 'CAS\\n'; cat "$1"; } > "$2"
"""

# Japanese in a REM and in strings, CR LF.  表 and ソ end in the byte of "\";
# ｶﾀｶﾅ are one byte each; EE EF and FA 40 are the NEC and IBM copies of one
# character, which only a byte-exact round trip keeps apart; 80 A0 are none.
JAPANESE_PROGRAM = ('10 REM ゲーム「表示テスト」\r\n20 PRINT "こんにちは、ソフト"\r\n30 PRINT "ｶﾀｶﾅ"\r\n'
                    .encode("cp932") + b"40 REM \x87\x40 \xee\xef \xfa\x40 \x80\xa0\r\n")


def case_one_editing_session(s):
    """keys through the key hook, Ctrl+S, Convert from the menu, the WM's close, the settings"""
    s.write("kavrin.ini", b"[Window]\r\nWidth=600\r\nHeight=360\r\nTop=40\r\nLeft=60\r\n")
    s.write("txt2bas.exe", FAKE_CONVERTER, mode=0o755)
    program = s.write("game.txt", JAPANESE_PROGRAM)
    s.launch(program)
    if s.geometry(s.main) != (60, 40, 600, 360):
        raise Failure(f"the window opened at {s.geometry(s.main)}, not at the settings' place")

    s.press("ctrl+End", "50 pri", "Tab", " 1", "Return",  # priNT; AUTO numbers 60
            "F3", "10", "Return", "shift+F4", '"CDE"', "Return",
            "go", "shift+Tab", "shift+Tab", " 100", "Return",  # goTO, then goSUB
            "cl", "Tab", "Tab", "Tab", "Tab", "Return",  # clEAR, clOAD, clOAD?, clS
            "shift+F1", "1", "Return", "F5",  # RUN and a line break of its own
            "ctrl+s")
    saved = JAPANESE_PROGRAM + (b"50 priNT 1\r\n60 GOTO 10\r\n70 PLAY \"CDE\"\r\n80 goSUB 100\r\n"
                                b"90 clS\r\n100 SCREEN 1\r\n110 RUN\r\n")
    wait_until("game.txt to be saved", lambda: s.read("game.txt") != JAPANESE_PROGRAM)
    expect_bytes("the saved bytes", s.read("game.txt"), saved)
    s.press("ctrl+o")  # Qt's own dialogs speak Japanese too
    s.in_window("the open dialog", "開く", "Escape")

    s.xdo("windowmove", "--sync", s.main, 100, 80)
    s.xdo("windowsize", "--sync", s.main, 640, 400)
    s.menu("s", "6")  # Special > mode 6
    s.menu("s", "t")  # Special > Convert
    s.in_window("the convert dialog", "テープイメージに変換", "Return")  # the proposed name
    s.answer_box("the result box", "Return")
    expect_bytes("the converter's arguments", s.read("converter-args.txt"),
                 f"-6\n{program}\n{s.dir / 'game.cas'}\n".encode())
    expect_bytes("the image", s.read("game.cas"), b"CAS\n" + saved)

    s.xdo("windowfocus", "--sync", s.main)
    s.press("X")
    x11.request_close(s.display, s.main)
    s.answer_box("the question box", "Escape")  # Cancel
    time.sleep(0.5)  # a close going ahead would end the program by now
    if s.main not in s.windows():
        raise Failure("Cancel did not keep the window")
    x11.request_close(s.display, s.main)
    s.answer_box("the question box", "alt+n")  # No
    s.expect_exit()
    expect_bytes("the program answered No", s.read("game.txt"), saved)
    written = s.read("kavrin.ini")
    for line in (b"[Window]\r\nWidth=640\r\nHeight=400\r\nTop=80\r\nLeft=100\r\n", b"[Mode]\r\nMode=6\r\n",
                 b"[Recent]\r\n1=" + bytes(program) + b"\r\n"):
        if line not in written:
            raise Failure(f"the settings file lacks {line!r}:\n{written!r}")


def fill(folder, leave):
    """Fills the file system of `folder` until at most `leave` bytes are free."""
    filler = folder / f"filler-{leave}"
    with open(filler, "wb", buffering=0) as out:
        free = os.statvfs(folder).f_bavail * os.statvfs(folder).f_frsize
        try:
            out.write(b"\0" * max(0, free - leave))
            while leave == 0:
                out.write(b"\0" * 4096)
        except OSError:
            pass
    return filler


def case_a_full_disk(s):
    """a full disk: the failed save and settings are told, nothing on disk is lost, then the save works"""
    disk = s.dir / "disk"
    disk.mkdir()
    files = [s.dir / "kavrin", ROOT / "data/qmcode.txt", ROOT / "data/qmsrcode.txt"]
    size = sum(f.stat().st_size for f in files) + 512 * 1024
    mounted = subprocess.run(["mount", "-t", "tmpfs", "-o", f"size={size},mode=0755", "tmpfs", str(disk)],
                             capture_output=True)
    if mounted.returncode != 0:
        print(f"     skipped: a small tmpfs cannot be mounted here ({mounted.stderr.decode().strip()})")
        return
    try:
        for f in files:
            shutil.copy2(f, disk)
        program = b"".join(b"%d REM %s\r\n" % (n * 10, b"X" * 60) for n in range(1, 150))  # 10 kB
        settings = b"[Window]\r\nWidth=600\r\nHeight=360\r\nTop=40\r\nLeft=60\r\n"
        (disk / "game.txt").write_bytes(program)
        (disk / "kavrin.ini").write_bytes(settings)
        s.launch(disk / "game.txt", folder=disk)
        s.press("ctrl+End", "9 END")
        state = disk / "home" / ".local" / "state" / "kavrin"
        wait_until("the recovery copy", lambda: list(state.glob("*.recovery")))
        filler = fill(disk, 4096)
        s.press("ctrl+s")  # the disk fills up half-way, and the reason is named
        answer_box_saying(s, "the failed save's message", "デバイスに空き容量がありません", "Return")
        expect_bytes("the program after a failed save", (disk / "game.txt").read_bytes(), program)
        if not list(state.glob("*.recovery")):
            raise Failure("the failed save removed the recovery copy")
        x11.request_close(s.display, s.main)
        s.answer_box("the question", "Return")  # Yes: the save fails again, the window stays
        s.answer_box("the failed save's message", "Return")
        filler.unlink()
        s.xdo("windowfocus", "--sync", s.main)
        s.press("ctrl+s")
        wait_until("game.txt to be saved", lambda: (disk / "game.txt").read_bytes() != program)
        expect_bytes("the saved program", (disk / "game.txt").read_bytes(), program + b"9 END")
        wait_until("the copy to go after the save", lambda: not list(state.glob("*.recovery")))
        settings = (disk / "kavrin.ini").read_bytes()  # as the start wrote it with the recent file
        fill(disk, 0)
        s.xdo("windowmove", "--sync", s.main, 90, 70)  # a change for the close to write
        x11.request_close(s.display, s.main)
        s.new_window("the settings' message", "kavrin")
        s.press("Return")  # the program ends with the box
        s.expect_exit()
        expect_bytes("the settings file", (disk / "kavrin.ini").read_bytes(), settings)
    finally:
        if s.proc is not None and s.proc.poll() is None:
            s.kill()
        subprocess.run(["umount", "-l", str(disk)], capture_output=True)


def case_a_dash_file_and_the_help_menu(s):
    """a file named after "--" opens though it looks like an option; Help > version box, Return closes it"""
    s.write("-x.txt", JAPANESE_PROGRAM)
    s.launch("--", "-x.txt")
    if "-x.txt" not in s.xdo("getwindowname", s.main):
        raise Failure(f"the title {s.xdo('getwindowname', s.main)!r} does not name -x.txt")
    s.menu("h", "a")
    s.in_window("the version box", "kavrin のバージョン情報", "Return")


def case_following_jumps(s):
    """F12 to a GOSUB's line, Alt+Left back, Shift+F12's list picks the caller: each edit lands where it should"""
    program = s.write("jumps.txt", b"10 GOSUB 100\r\n20 END\r\n100 RETURN\r\n")
    s.launch(program)
    s.press("ctrl+Home", "End", "F12", "End", ":REM R", "alt+Left", ":REM G")
    s.press("ctrl+End", "Up", "shift+F12")
    s.press("Return")  # the panel's one row: selects the line of the GOSUB
    s.press("10 GOSUB 100:REM H", "ctrl+s")
    wait_until("jumps.txt to be saved", lambda: b"REM H" in s.read("jumps.txt"))
    expect_bytes("the saved bytes", s.read("jumps.txt"), b"10 GOSUB 100:REM H\r\n20 END\r\n100 RETURN:REM R\r\n")


def case_moving_lines_and_renumbering_a_range(s):
    """Special > 行の移動 takes the caret line to a new number, 番号の振り直し renumbers a range: the references follow"""
    program = s.write("move.txt", b'10 PRINT "A"\r\n20 GOSUB 40\r\n30 END\r\n40 RETURN\r\n')
    s.launch(program)
    s.press("ctrl+End", "Up")
    s.menu("s", "v")
    s.in_window("the move dialog", "行の移動", "15", "Return")
    s.menu("s", "r")
    s.in_window("the renumber dialog", "番号の振り直し", "16", "Tab", "1", "Tab", "15", "Tab", "20", "Return")
    s.answer_box("the renumber report", "Return")
    s.xdo("windowfocus", "--sync", s.main)
    s.press("ctrl+s")
    wait_until("move.txt to be saved", lambda: b"GOSUB 16" in s.read("move.txt"))
    expect_bytes("the saved bytes", s.read("move.txt"), b'10 PRINT "A"\r\n16 RETURN\r\n17 GOSUB 16\r\n30 END\r\n')


CASES = [case_one_editing_session, case_a_full_disk,
         case_a_dash_file_and_the_help_menu, case_following_jumps,
         case_moving_lines_and_renumbering_a_range, case_shift_taken_by_the_list_and_a_renumber_undone,
         case_settings_survive_a_kill, case_a_recovered_text_whose_file_changed,
         case_the_check_in_the_panel_and_f8,
         case_a_cancelled_converter_leaves_nothing_running,
         case_converter_output_in_both_encodings_and_f8, case_panel_only_output_runs_the_emulator_without_a_box,
         case_full_width_lines_fixed_from_their_rows, case_run_again_with_one_key,
         case_a_stopped_clipboard_owner_holds_up_no_start,
         case_zoom_keys_change_only_the_view, case_redo_brings_back_what_undo_took,
         case_a_background_that_hides_the_text_asks, case_save_as_asks_before_replacing_a_file,
         case_a_source_built_converted_and_its_line_reached_with_f8, case_a_file_named_in_japanese_dragged_in]


def run_case(label, name, summary, body, start, keep):
    """Runs `body` in a fresh session, `start(name)`; prints one line, and why on failure."""
    started, s, failure = time.monotonic(), None, None
    try:
        s = start(name)
        body(s)
    except Failure as f:
        failure = str(f)
    except Exception:
        failure = traceback.format_exc().rstrip()
    finally:
        if s is not None:
            if failure is not None and (s.dir / "Xvfb_screen0").exists():
                (s.dir / "failure.png").write_bytes(x11.screenshot_png(s.dir / "Xvfb_screen0"))
            s.stop()
    print(f"{'FAIL' if failure else 'ok  '} {label} {summary} ({time.monotonic() - started:.1f} s)", flush=True)
    if failure is None and not keep:
        shutil.rmtree(s.dir, ignore_errors=True)
    elif failure is not None:
        print(f"     {failure}\n     kept: {s.dir if s else '-'} (kavrin.log, failure.png)", flush=True)
    return failure is None


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("build", nargs="?", default=str(ROOT / "build"), help="holds src/kavrin (build/)")
    parser.add_argument("--keep", action="store_true", help="keep the folders of passed cases too")
    parser.add_argument("--case", type=int, action="append", metavar="N", help="run only case N (repeatable)")
    args = parser.parse_args()
    build = Path(args.build).resolve()
    if not (build / "src" / "kavrin").is_file():
        sys.exit(f"no built program at {build / 'src' / 'kavrin'}")
    signal.signal(signal.SIGTERM, lambda *_: sys.exit(143))
    started = time.monotonic()
    results = [run_case(n, case.__name__[5:].replace("_", "-"), case.__doc__.strip(), case,
                        lambda name: Session(build, name), args.keep)
               for n, case in enumerate(CASES, 1) if not args.case or n in args.case]
    print(f"     took {time.monotonic() - started:.0f} s")
    print(f"e2e: {results.count(True)} passed, {results.count(False)} failed")
    return 1 if False in results else 0


if __name__ == "__main__":
    sys.exit(main())
