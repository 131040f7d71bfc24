#!/usr/bin/python3
"""The music library and the accounts, filled as an operator fills them:
log in, add a category in the category window, add two files to it through
the file dialog, create an operator account in the user window, quit, and
find the category with its files and the account in the data files.

Usage: operator_library.py [BIN_DIR SOURCE_DIR]; without arguments the
folders come from TOLVANE_BIN_DIR and TOLVANE_SOURCE_DIR. Exits 77 when
the machine cannot run it.
"""

import os
import re
import sys
import wave

sys.dont_write_bytecode = True  # the source tree stays as it was
sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from station_driver import Failure, run  # noqa: E402
from operator_login import ADMIN_PASSWORD, MAIN_WINDOW, log_in  # noqa: E402

CATEGORY = "Morning Songs"
FILES = ("dawn.wav", "harbour.wav")
ACCOUNT = "night_shift"
ACCOUNT_PASSWORD = "tide2931"
# The library's buttons are tool buttons, one with a menu.
BUTTON = ("push button", "push button menu", "toggle button")


def write_tones(folder):
    """Two short silent WAV files the library can measure."""
    for name in FILES:
        with wave.open(os.path.join(folder, name), "wb") as out:
            out.setnchannels(1)
            out.setsampwidth(2)
            out.setframerate(8000)
            out.writeframes(b"\0\0" * 8000)


def add_category(desk, main):
    desk.current_tab(desk.find(main, "page tab", "歌库"))
    desk.press(desk.find(main, BUTTON, "分类管理"))
    manage = desk.window("分类管理")
    desk.press(desk.find(manage, "push button", "添加"))
    naming = desk.window("分类名称")
    desk.type_text(desk.find(naming, "text", "分类名称"), CATEGORY)
    desk.press(desk.find(naming, "push button", "确认"))
    desk.window_gone(naming)
    desk.find(manage, "table cell", CATEGORY)  # listed at once
    desk.press(desk.find(manage, "push button", re.compile(r"^(关闭|确认)$")))
    desk.window_gone(manage)


def add_files(desk, main, folder):
    desk.choose(desk.find(main, "combo box", "曲目分类"), CATEGORY)
    # "增加" opens a menu; its first entry adds files.
    desk.menu(desk.find(main, BUTTON, "增加"), "Down", "Return")
    chooser = desk.window("增加曲目")
    name = desk.find(chooser, "text", re.compile(r"File name|文件名"))
    desk.type_text(name, folder + "/", by_keys=True)
    desk.keys("Return")
    desk.type_text(name, " ".join('"%s"' % f for f in FILES), by_keys=True)
    desk.keys("Return")
    desk.window_gone(chooser)
    for file in FILES:
        desk.find(main, "table cell", re.compile(re.escape("/" + file) + "$"))  # full path


def add_account(desk, main):
    desk.press(desk.find(main, "push button", "用户管理"))
    manage = desk.window("用户管理")
    desk.press(desk.find(manage, "push button", re.compile(r"^(增加|添加)$")))
    account = desk.window("新建用户")
    desk.type_text(desk.find(account, "text", "用户名称"), ACCOUNT)
    desk.type_text(desk.find(account, "password text", "用户密码"), ACCOUNT_PASSWORD)
    desk.type_text(desk.find(account, "password text", "确认密码"), ACCOUNT_PASSWORD)
    desk.press(desk.find(account, "push button", "确认"))
    desk.window_gone(account)
    desk.find(manage, "table cell", ACCOUNT)
    desk.press(desk.find(manage, "push button", re.compile(r"^(关闭|确认)$")))
    desk.window_gone(manage)


def test(desk):
    folder = os.path.join(desk.work, "music")
    os.makedirs(folder)
    write_tones(folder)
    desk.start_station()
    log_in(desk, "用户登录")
    main = desk.window(MAIN_WINDOW)

    add_category(desk, main)
    add_files(desk, main, folder)
    add_account(desk, main)

    desk.menu(desk.find(main, "push button", "Admin"), "e")
    desk.answer("确定")
    log_in(desk, "密码验证")
    if desk.wait_station_exit() != 0:
        raise Failure("the station did not end cleanly")

    report = desk.check_data_intact()
    if report["categories"].get(CATEGORY) != len(FILES) or ACCOUNT not in report["users"]:
        raise Failure("the data files do not hold the session's work:\n" + report["output"])


if __name__ == "__main__":
    sys.exit(run(test))
