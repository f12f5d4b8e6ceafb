"""A converter that starts a program of its own and hangs, cancelled in the real progress window."""

from pathlib import Path

from cases_recovery import answer_box_saying
from session import Failure, wait_until

# Notes its process group and its child, then waits; neither ever ends by itself.
HANGING_CONVERTER = b"""#!/bin/sh
cd "$(dirname "$0")"
sleep 60 &
echo $! > child.pid
echo $$ > group.pid
exec sleep 60
"""


def group_left(group):
    """The processes of `group` that still run (a dead one not yet reaped does not count)."""
    left = []
    for stat in Path("/proc").glob("[0-9]*/stat"):
        try:
            fields = stat.read_text().rsplit(")", 1)[1].split()
        except OSError:
            continue
        if fields[0] != "Z" and int(fields[2]) == group:
            left.append(stat.parent.name)
    return left


def case_a_cancelled_converter_leaves_nothing_running(s):
    """Convert with a converter that starts a child and hangs; キャンセル; its whole group ends, 変換を取り消しました"""
    s.write("txt2bas.exe", HANGING_CONVERTER, mode=0o755)
    s.launch(s.write("game.txt", b"10 END\r\n"))
    s.menu("s", "t")  # Special > Convert
    s.in_window("the convert dialog", "テープイメージに変換", "Return")
    group = int(wait_until("the converter to start its child", lambda: s.read("group.pid").strip()))
    wait_until("its child", lambda: s.read("child.pid").strip())
    if not group_left(group):
        raise Failure("the converter's group did not run")
    progress = s.new_window("the progress window", "kavrin")
    _, _, width, height = s.geometry(progress)
    s.xdo("mousemove", "--window", progress, width // 2, height - 20, "click", 1)  # キャンセル
    answer_box_saying(s, "the result box", "変換を取り消しました", "Return")
    wait_until("no process of the converter to be left", lambda: not group_left(group), timeout=5)
