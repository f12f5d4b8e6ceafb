#!/usr/bin/env python3
"""kavrin.exe under Wine against a bare Qt window built the same way: start-up and a 4 MiB load.

Both programs start the same way: from one folder that holds Qt's DLLs, in a
Wine prefix of this run's own (its server kept running, as a desktop's is),
on an Xvfb of its own, in turns whose order alternates. A start lasts until
its window, titled with the file once it is loaded, is mapped. Each figure is
the median of the rounds' ratios; the first round only warms the caches.
  bench/wine.py PACKAGE-FOLDER BARE-WINDOW-EXE [ROUNDS]
"""

import os
import shutil
import statistics
import subprocess
import sys
import tempfile
import time
from pathlib import Path

WINE, WINESERVER = "/usr/lib/wine/wine64", "/usr/lib/wine/wineserver"
WIDTH, HEIGHT = 760, 560
SAMPLE_BYTES = 4 * 1024 * 1024


def write_sample(path):
    """A 4 MiB program in Shift-JIS with CR LF: numbered lines, Japanese in strings and remarks."""
    lines, size, number = [], 0, 10
    while size < SAMPLE_BYTES:
        line = f'{number} PRINT "こんにちは、ソフト";A$:GOSUB {number + 10}:REM 表示{number % 97}\r\n'.encode("cp932")
        lines.append(line)
        size += len(line)
        number += 10
    path.write_bytes(b"".join(lines)[:SAMPLE_BYTES - 2] + b"\r\n")


class Wine:
    def __init__(self, work):
        read_end, write_end = os.pipe()
        self.xserver = subprocess.Popen(["Xvfb", "-displayfd", str(write_end), "-screen", "0", "1280x1024x24",
                                         "-nolisten", "tcp"], pass_fds=(write_end,), stderr=subprocess.DEVNULL)
        os.close(write_end)
        with os.fdopen(read_end) as numbers:
            display = ":" + numbers.readline().strip()
        self.env = {k: v for k, v in os.environ.items() if not k.startswith("QT_")}
        self.env.update(DISPLAY=display, WINEPREFIX=str(work / "prefix"), WINEDEBUG="-all",
                        WINEDLLOVERRIDES="mscoree,mshtml=")
        subprocess.run([WINE, "wineboot", "--init"], env=self.env, capture_output=True, timeout=300, check=True)
        subprocess.run([WINESERVER, "-w"], env=self.env, timeout=300)
        subprocess.run([WINESERVER, "-p"], env=self.env, timeout=60, check=True)

    def start_ms(self, folder, command, title):
        """Milliseconds from the start of `command` to its window titled `title` (a pattern) mapped."""
        started = time.monotonic()
        program = subprocess.Popen([WINE, *command], cwd=folder, env=self.env, stdout=subprocess.DEVNULL,
                                   stderr=subprocess.DEVNULL)
        try:
            while not subprocess.run(["xdotool", "search", "--onlyvisible", "--name", title], env=self.env,
                                     capture_output=True).stdout.strip():
                if time.monotonic() - started > 120 or program.poll() is not None:
                    raise RuntimeError(f"no window {title!r} from {command}")
                time.sleep(0.02)
            return 1000 * (time.monotonic() - started)
        finally:
            program.kill()
            program.wait()
            time.sleep(0.3)  # its end taken in by the server

    def close(self):
        subprocess.run([WINESERVER, "-k"], env=self.env, capture_output=True, timeout=60)
        self.xserver.terminate()
        self.xserver.wait(10)


def measure(wine, folder, rounds, file):
    """kavrin's and the bare window's start times with `file` (or none), and the rounds' ratios."""
    named = [file] if file else []
    kavrin = (["kavrin.exe", *named], f"^{file} - kavrin$" if file else "kavrin$")
    bare = (["bare_window.exe", str(WIDTH), str(HEIGHT), *named], f"^{file} - bare$" if file else "^bare$")
    times = {0: [], 1: []}
    for turn in range(rounds + 1):
        for index in ((0, 1) if turn % 2 else (1, 0)):
            ms = wine.start_ms(folder, *(kavrin, bare)[index])
            if turn:
                times[index].append(ms)
    ratios = [k / b for k, b in zip(times[0], times[1])]
    return statistics.median(times[0]), statistics.median(times[1]), statistics.median(ratios)


def main():
    if len(sys.argv) < 3:
        sys.exit(__doc__.strip().splitlines()[-1].strip())
    package, bare, rounds = Path(sys.argv[1]), Path(sys.argv[2]), int(sys.argv[3]) if len(sys.argv) > 3 else 8
    work = Path(tempfile.mkdtemp(prefix="kavrin-wine-bench-"))
    wine = None
    try:
        folder = work / "kavrin"
        shutil.copytree(package, folder)
        shutil.copy2(bare, folder)
        (folder / "kavrin.ini").write_bytes(f"[Window]\r\nWidth={WIDTH}\r\nHeight={HEIGHT}\r\n".encode())
        write_sample(folder / "big.txt")
        wine = Wine(work)
        rows = []
        for figure, file in (("start-up", None), ("4 MiB load", "big.txt")):
            print(f"wine.py: {figure}", file=sys.stderr, flush=True)
            kavrin_ms, bare_ms, ratio = measure(wine, folder, rounds, file)
            rows.append((f"{figure} under Wine, kavrin.exe / bare Qt window (ratio)", "<= 1.10",
                         f"{ratio:.2f} (kavrin {kavrin_ms:.0f} ms, bare {bare_ms:.0f} ms)",
                         "ok" if round(ratio, 2) <= 1.10 else "over"))
        widths = [max(len(row[i]) for row in rows) for i in range(3)]
        for row in rows:
            print(" | ".join(text.ljust(width) for text, width in zip(row, widths + [0])).rstrip())
    finally:
        if wine is not None:
            wine.close()
        shutil.rmtree(work, ignore_errors=True)


if __name__ == "__main__":
    main()
