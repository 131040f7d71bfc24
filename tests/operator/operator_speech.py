#!/usr/bin/python3
"""A speech task made as an operator makes it, and heard: log in on a
station whose clock stands just before 10:00 on a Monday, add a speech task
due at 10:01 through the speech task page and its editor, see it listed,
then listen to the sound server until the task's minute has passed and find
its voice there. Nothing else plays, so what is heard is the task.

Usage: operator_speech.py [BIN_DIR SOURCE_DIR]; without arguments the
folders come from TOLVANE_BIN_DIR and TOLVANE_SOURCE_DIR. Exits 77 when
the machine cannot run it.
"""

import os
import sys
import time

sys.dont_write_bytecode = True  # the source tree stays as it was
sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from station_driver import Failure, SinkRecording, run  # noqa: E402
from operator_login import MAIN_WINDOW, log_in  # noqa: E402

START = "2026-03-02 09:59:30"  # a Monday
DUE = "10:01"
SECONDS_TO_DUE = 90
TASK = "Shift bell"
TEXT = "Attention please. The afternoon shift begins in ten minutes."


def add_task(desk, main):
    desk.current_tab(desk.find(main, "page tab", "播音任务"))
    desk.press(desk.find(main, "push button", "增加播音任务"))
    editor = desk.window("播音任务")
    desk.type_text(desk.find(editor, "text", "任务名称"), TASK)
    desk.type_text(desk.find(editor, "text", "开始时间"), DUE)
    desk.type_text(desk.find(editor, "text", "结束时间"), "18:00")
    desk.type_text(desk.find(editor, "text", "播音内容"), TEXT)
    desk.press(desk.find(editor, "push button", "确认"))
    desk.window_gone(editor)
    desk.find(main, "table cell", TASK)
    desk.find(main, "table cell", "26/03/02/~03/02 10:01~18:00")


def test(desk):
    started = time.monotonic()
    desk.start_station(clock=START)
    log_in(desk, "用户登录")
    main = desk.window(MAIN_WINDOW)
    add_task(desk, main)
    if time.monotonic() - started > SECONDS_TO_DUE - 10:
        raise Failure("the task was made too late to be heard at %s" % DUE)

    recording = SinkRecording(desk)
    # The minute, the speaking delay of a few seconds and the words.
    time.sleep(max(0, SECONDS_TO_DUE + 20 - (time.monotonic() - started)))
    loud = recording.loud_ms()
    if loud < 1000:
        raise Failure("only %d ms of sound were heard after %s" % (loud, DUE))
    print("heard %d ms of sound after %s" % (loud, DUE))
    if not desk.station_running():
        raise Failure("the station ended while it spoke")


if __name__ == "__main__":
    sys.exit(run(test))
