#!/usr/bin/python3
"""A music task made as an operator makes it, and played: log in on a
station whose clock stands just before 10:00 on a Monday, add a music task
from 10:01 with one background file through the music task page, the task
editor and its background music dialog, see it listed, and find
"Playing: <file>" in the event log in the task's first minute.

Usage: operator_music.py [BIN_DIR SOURCE_DIR]; without arguments the
folders come from TOLVANE_BIN_DIR and TOLVANE_SOURCE_DIR. Exits 77 when
the machine cannot run it.
"""

import os
import re
import sys
import time
import wave

sys.dont_write_bytecode = True  # the source tree stays as it was
sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from station_driver import Failure, run, wait_for  # noqa: E402
from operator_login import MAIN_WINDOW, log_in  # noqa: E402

START = "2026-03-02 09:59:30"  # a Monday
DUE = "10:01"
SECONDS_TO_DUE = 90
TASK = "Morning bell"
FILE = "bell.wav"


def write_bell(path):
    with wave.open(path, "wb") as out:
        out.setnchannels(1)
        out.setsampwidth(2)
        out.setframerate(8000)
        out.writeframes(b"\0\x10" * 8000 * 5)


def add_task(desk, main, path):
    desk.current_tab(desk.find(main, "page tab", "曲目任务"))
    desk.press(desk.find(main, "push button", "增加曲目任务"))
    editor = desk.window("曲目任务")
    desk.type_text(desk.find(editor, "text", "任务名称"), TASK)
    desk.type_text(desk.find(editor, "text", "开始时间"), DUE)
    desk.type_text(desk.find(editor, "text", "结束时间"), "18:00")
    desk.press(desk.find(editor, "push button", "添加背景音乐"))
    item = desk.window("背景音乐编辑")
    desk.type_text(desk.find(item, "text", "曲目文件"), path)
    desk.press(desk.find(item, "push button", "确认"))
    desk.window_gone(item)
    desk.find(editor, "table cell", FILE)
    desk.press(desk.find(editor, "push button", "确认"))
    desk.window_gone(editor)
    desk.find(main, "table cell", TASK)
    desk.find(main, "table cell", "26/03/02/~03/02 10:01~18:00")


def test(desk):
    path = os.path.join(desk.work, FILE)
    write_bell(path)
    started = time.monotonic()
    desk.start_station(clock=START)
    log_in(desk, "用户登录")
    main = desk.window(MAIN_WINDOW)
    add_task(desk, main, path)
    if time.monotonic() - started > SECONDS_TO_DUE - 10:
        raise Failure("the task was made too late to be played at %s" % DUE)
    if "Playing: " + FILE in desk.event_log():
        raise Failure("the file played before its task was due")

    played = re.compile(r"^%s:\d\d Playing: %s\r?$" % (re.escape(DUE), re.escape(FILE)), re.M)
    wait_for("'Playing: %s' at %s in the event log" % (FILE, DUE),
             lambda: played.search(desk.event_log()),
             SECONDS_TO_DUE + 30 - (time.monotonic() - started))


if __name__ == "__main__":
    sys.exit(run(test))
