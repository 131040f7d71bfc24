#!/usr/bin/python3
"""A new station, used as an operator uses it: log in through the login
window as the built-in administrator, switch a page of the main window,
name the enterprise in the system settings, quit through the login
button's menu (confirming with the password), and find the data files
intact with the new name in them.

Usage: operator_login.py [BIN_DIR SOURCE_DIR]; without arguments the
folders come from TOLVANE_BIN_DIR and TOLVANE_SOURCE_DIR. Exits 77 when
the machine cannot run it (no virtual display, a package missing).
"""

import os
import re
import sys

sys.dont_write_bytecode = True  # the source tree stays as it was
sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from station_driver import Failure, run, wait_for  # noqa: E402

ADMIN = "Admin"
ADMIN_PASSWORD = "740286"  # the built-in account of a new station
ENTERPRISE = "Harbour Road Radio"
MAIN_WINDOW = re.compile(r"^Ardwell V")


def log_in(desk, title):
    window = desk.window(title, timeout=30)
    name = desk.find(window, "text", "登录名")
    if desk.text_of(name) != ADMIN:
        raise Failure("the login offers '%s', not %s" % (desk.text_of(name), ADMIN))
    password = desk.find(window, "password text", "密码")
    desk.type_text(password, ADMIN_PASSWORD, by_keys=True)
    desk.press(desk.find(window, "push button", "登录"))
    desk.window_gone(window)


def test(desk):
    desk.start_station()
    log_in(desk, "用户登录")

    main = desk.window(MAIN_WINDOW)
    # The login button names whoever is logged in.
    account = desk.find(main, "push button", ADMIN)

    # The music side's second page replaces today's list, and back.
    idle = desk.find(main, "label", "当前没有播放任务")
    desk.current_tab(desk.find(main, "page tab", "曲目任务"))
    wait_for("today's list hidden", lambda: not desk.is_showing(idle), desk.timeout)
    desk.current_tab(desk.find(main, "page tab", "今日曲目"))
    wait_for("today's list shown", lambda: desk.is_showing(idle), desk.timeout)

    desk.press(desk.find(main, "push button", "系统设置"))
    settings = desk.window("系统设置")
    desk.type_text(desk.find(settings, "text", "企业名称"), ENTERPRISE)
    desk.press(desk.find(settings, "push button", "确认"))
    desk.window_gone(settings)

    # Quitting asks, and then wants the password again.
    desk.menu(account, "e")
    question = desk.answer("确定")
    if "退出" not in question:
        raise Failure("the exit question said: " + question)
    log_in(desk, "密码验证")
    if desk.wait_station_exit() != 0:
        raise Failure("the station did not end cleanly")

    report = desk.check_data_intact()
    if ADMIN not in report["users"] or report.get("enterprise name") != ENTERPRISE:
        raise Failure("the data files do not hold the session's work:\n" + report["output"])
    print(report["output"])


if __name__ == "__main__":
    sys.exit(run(test))
