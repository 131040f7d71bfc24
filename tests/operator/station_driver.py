"""Drives the built station the way an operator does, through the
accessibility bus.

A Desk starts a virtual display, a private session bus with the
accessibility bus on it, and a sound sink when none answers; copies the
built program folder to a temporary folder and starts the program from the
copy. The program exposes every widget to the bus; the Desk finds windows
and controls by role and name, the way a screen reader does, and presses,
types and selects through the accessibility interfaces or, where those do
not reach (pop-up menus, keys), through the X server with xdotool. Leaving
the Desk stops everything it started, whether the steps passed or not.

Names are matched after trimming blanks and a trailing colon, so a field
is found by its label "企业名称：" as "企业名称". A control without a name
of its own is found by the label to its left.

Every wait has a timeout and raises Failure with what was looked for;
a missing tool or package raises Skip.
"""

import array
import importlib.util
import os
import re
import select
import shutil
import signal
import subprocess
import sys
import tempfile
import time
import traceback

SKIP = 77
BUS_LAUNCHER = "/usr/libexec/at-spi-bus-launcher"
# The clock a test sets for the program (package libfaketime).
FAKETIME_LIBRARY = "/usr/lib/x86_64-linux-gnu/faketime/libfaketimeMT.so.1"
CELLS = ("table cell", "tree item", "list item")
pyatspi = None  # imported once the buses of the Desk are in the environment


class Skip(Exception):
    """The machine lacks what the test needs; not a fault of the station."""


class Failure(AssertionError):
    """A step did not come out as an operator would see it."""


def need_tool(name):
    path = name if os.path.isabs(name) else shutil.which(name)
    if not path or not os.access(path, os.X_OK):
        raise Skip(name + " is not installed (scripts/install-deps.sh)")
    return path


def need_file(path, package):
    if not os.path.isfile(path):
        raise Skip("%s is missing (%s, scripts/install-deps.sh)" % (path, package))
    return path


def plain_name(text):
    return re.sub(r"[:：]\s*$", "", (text or "").strip()).strip()


def name_matches(actual, wanted):
    if wanted is None:
        return True
    if isinstance(wanted, re.Pattern):
        return bool(wanted.search(actual or ""))
    return plain_name(actual) == plain_name(wanted)


def wait_for(what, probe, timeout):
    """Calls probe until it gives something true; Failure after timeout."""
    deadline = time.monotonic() + timeout
    while True:
        try:
            found = probe()
        except Failure:
            raise
        except Exception:  # an object that vanished while we looked
            found = None
        if found:
            return found
        if time.monotonic() > deadline:
            raise Failure("timed out waiting for " + what)
        time.sleep(0.1)


def _role(acc):
    try:
        return acc.getRoleName()
    except Exception:
        return ""


def _roles(role):
    """A role may be given as one name or as a tuple of names."""
    return role if isinstance(role, tuple) else ()


def _showing(acc):
    try:
        return acc.getState().contains(pyatspi.STATE_SHOWING)
    except Exception:
        return False


def _children(acc):
    try:
        return [acc.getChildAtIndex(i) for i in range(acc.childCount)]
    except Exception:
        return []


def labels_of(acc):
    """The names of the labels that name this control."""
    names = []
    try:
        for relation in acc.getRelationSet():
            if relation.getRelationType() == pyatspi.RELATION_LABELLED_BY:
                for i in range(relation.getNTargets()):
                    names.append(relation.getTarget(i).name)
    except Exception:
        pass
    return names


def extents(acc):
    box = acc.queryComponent().getExtents(pyatspi.DESKTOP_COORDS)
    return box.x, box.y, box.width, box.height


def center(acc):
    x, y, w, h = extents(acc)
    if w <= 0 or h <= 0:
        raise Failure("%s '%s' has no place on the screen" % (_role(acc), acc.name))
    return x + w // 2, y + h // 2


def describe(acc, depth=0, limit=8):
    """The tree under acc, one line each: role, name, shown or not."""
    lines = []
    try:
        shown = "" if _showing(acc) else " (hidden)"
        labels = labels_of(acc)
        label = " labelled " + "/".join(labels) if labels else ""
        lines.append("%s%s '%s'%s%s" % ("  " * depth, _role(acc), acc.name, label, shown))
        if depth < limit and _role(acc) not in ("table", "tree table", "list"):
            for child in _children(acc):
                lines.extend(describe(child, depth + 1, limit))
    except Exception as error:
        lines.append("  " * depth + "(gone: %s)" % error)
    return lines


class Desk:
    def __init__(self, bin_dir, source_dir, timeout=15.0):
        self.bin_dir = bin_dir
        self.source_dir = source_dir
        self.timeout = timeout
        self.work = None
        self.station = None
        self.env = dict(os.environ)
        self.started = []  # (name, process), stopped in reverse order
        self.program = None
        self.program_log = None

    @classmethod
    def from_environment(cls):
        bin_dir = os.environ.get("TOLVANE_BIN_DIR", "")
        source_dir = os.environ.get("TOLVANE_SOURCE_DIR", "")
        if len(sys.argv) >= 3:
            bin_dir, source_dir = sys.argv[1], sys.argv[2]
        if not os.path.isfile(os.path.join(bin_dir, "Tolvane")):
            raise Failure("no built program in '%s' (TOLVANE_BIN_DIR)" % bin_dir)
        return cls(bin_dir, source_dir)

    # --- what runs around the program -------------------------------------

    def __enter__(self):
        try:
            self._check_machine()
            self.work = tempfile.mkdtemp(prefix="tolvane-operator-")
            self._start_display()
            self._start_buses()
            self._start_sound()
        except BaseException:
            self.stop()
            raise
        return self

    def __exit__(self, kind, error, trace):
        try:
            if kind is not None and not issubclass(kind, Skip):
                self.report_failure()
        finally:
            self.stop()
        return False

    def _check_machine(self):
        for tool in ("Xvfb", "xdotool", "dbus-daemon", BUS_LAUNCHER):
            need_tool(tool)
        if importlib.util.find_spec("pyatspi") is None:
            raise Skip("pyatspi is not installed for %s (python3-pyatspi)" % sys.executable)

    def _spawn(self, name, command, **options):
        options.setdefault("stdout", subprocess.DEVNULL)
        options.setdefault("stderr", subprocess.DEVNULL)
        # A group of its own, so that what it starts in turn stops with it.
        process = subprocess.Popen(command, env=self.env, start_new_session=True, **options)
        self.started.append((name, process))
        return process

    def _start_display(self):
        read_end, write_end = os.pipe()
        try:
            process = self._spawn("Xvfb", [need_tool("Xvfb"), "-displayfd", str(write_end),
                                           "-screen", "0", "1280x800x24", "-nolisten", "tcp"],
                                  pass_fds=(write_end,))
        finally:
            os.close(write_end)
        number = b""
        deadline = time.monotonic() + 10
        while not number.endswith(b"\n") and time.monotonic() < deadline:
            ready, _, _ = select.select([read_end], [], [], 0.2)
            if ready:
                chunk = os.read(read_end, 16)
                if not chunk:
                    break
                number += chunk
        os.close(read_end)
        if not number.strip().isdigit() or process.poll() is not None:
            raise Skip("no virtual display could be started (Xvfb)")
        self.env["DISPLAY"] = ":" + number.strip().decode()
        self.env.pop("WAYLAND_DISPLAY", None)

    def _start_buses(self):
        session = self._spawn("session bus", [need_tool("dbus-daemon"), "--session", "--nofork",
                                              "--print-address=1"], stdout=subprocess.PIPE)
        ready, _, _ = select.select([session.stdout], [], [], 10)
        address = session.stdout.readline().decode().strip() if ready else ""
        if not address:
            raise Skip("no session bus could be started (dbus-daemon)")
        self.env["DBUS_SESSION_BUS_ADDRESS"] = address
        self.env.pop("AT_SPI_BUS_ADDRESS", None)
        self._spawn("accessibility bus", [BUS_LAUNCHER, "--launch-immediately"])
        # This process is a client of the same buses.
        for key in ("DISPLAY", "DBUS_SESSION_BUS_ADDRESS"):
            os.environ[key] = self.env[key]
        os.environ.pop("AT_SPI_BUS_ADDRESS", None)
        global pyatspi
        import pyatspi as module

        pyatspi = module
        wait_for("the accessibility bus", lambda: pyatspi.Registry.getDesktop(0) is not None,
                 self.timeout)

    def _start_sound(self):
        pactl = shutil.which("pactl")
        pulseaudio = shutil.which("pulseaudio")
        if not pactl or not pulseaudio:
            return  # the steps here play nothing; the station copes without a sink
        if self.env.get("XDG_RUNTIME_DIR") and self._quiet([pactl, "info"]):
            return
        runtime = os.path.join(self.work, "runtime")
        os.makedirs(runtime, mode=0o700)
        self.env["XDG_RUNTIME_DIR"] = runtime
        self._spawn("sound server", [pulseaudio, "--daemonize=no", "--exit-idle-time=-1", "-n",
                                     "--load=module-null-sink sink_name=null",
                                     "--load=module-native-protocol-unix"])
        wait_for("the sound server", lambda: self._quiet([pactl, "info"]), self.timeout)

    def _quiet(self, command):
        try:
            return subprocess.run(command, env=self.env, stdout=subprocess.DEVNULL,
                                  stderr=subprocess.DEVNULL, timeout=10).returncode == 0
        except (OSError, subprocess.TimeoutExpired):
            return False

    def stop(self):
        if self.program is not None and self.program.poll() is None:
            self.program.terminate()
            try:
                self.program.wait(5)
            except subprocess.TimeoutExpired:
                self.program.kill()
                self.program.wait(5)
        for name, process in reversed(self.started):
            if process.poll() is None:
                try:
                    os.killpg(process.pid, signal.SIGTERM)
                    process.wait(5)
                except subprocess.TimeoutExpired:
                    os.killpg(process.pid, signal.SIGKILL)
                    process.wait(5)
                except ProcessLookupError:
                    pass
            if process.stdout:
                process.stdout.close()
        self.started = []
        if self.program_log:
            self.program_log.close()
            self.program_log = None
        if self.work and not os.environ.get("TOLVANE_KEEP_WORK"):
            shutil.rmtree(self.work, ignore_errors=True)

    def report_failure(self):
        sys.stderr.write("--- what the station showed on the accessibility bus:\n")
        try:
            app = self.application(timeout=1)
            sys.stderr.write("\n".join(describe(app)) + "\n")
        except Exception as error:
            sys.stderr.write("(nothing: %s)\n" % error)
        if self.station:
            log = os.path.join(self.work, "station.out")
            if os.path.exists(log):
                with open(log, errors="replace") as output:
                    sys.stderr.write("--- the station's output:\n" + output.read()[-4000:])
        if os.environ.get("TOLVANE_KEEP_WORK") and self.work:
            sys.stderr.write("--- work folder kept: %s\n" % self.work)

    # --- the program -------------------------------------------------------

    def start_station(self, data=None, clock=None):
        """Copies the program folder (without its data, log and ports) and
        starts the program from the copy with the shipped settings. `data`
        maps data file names ("ttsdata.sx") to plain texts that tolvane-data
        packs into the copy first. With `clock` ("2026-03-02 09:59:00") the
        program's clock starts there and runs on (faketime)."""
        self.station = os.path.join(self.work, "station")
        shutil.copytree(self.bin_dir, self.station, symlinks=True,
                        ignore=lambda folder, names: [n for n in names if folder == self.bin_dir
                                                      and n in ("data", "log", "ports")])
        shipped = os.path.join(self.source_dir, "resources", "app.conf")
        if os.path.isfile(shipped):
            settings = os.path.join(self.station, "app.conf")
            if os.path.exists(settings):
                os.remove(settings)  # the build's copy may be read-only
            shutil.copyfile(shipped, settings)
            os.chmod(settings, 0o600)
        for folder in ("data", "log"):
            os.makedirs(os.path.join(self.station, folder), exist_ok=True)
        for name, text in (data or {}).items():
            plain = os.path.join(self.work, name + ".txt")
            with open(plain, "w", encoding="utf-8", newline="\r\n") as out:
                out.write(text)
            self._data_tool("pack", plain, os.path.join(self.station, "data", name))
        env = dict(self.env)
        env.pop("QT_QPA_PLATFORM", None)
        env["QT_LINUX_ACCESSIBILITY_ALWAYS_ON"] = "1"
        env["QT_ACCESSIBILITY"] = "1"
        # The single-instance guard goes into our own folder.
        env["TMPDIR"] = self.work
        self.program_log = open(os.path.join(self.work, "station.out"), "wb")
        if clock:
            # Preloaded rather than through the faketime command, so that the
            # program keeps its own process id for the accessibility bus.
            # Only the wall clock: timers keep the machine's own pace.
            env["LD_PRELOAD"] = need_file(FAKETIME_LIBRARY, "libfaketime")
            env["FAKETIME"] = "@" + clock
            env["FAKETIME_DONT_FAKE_MONOTONIC"] = "1"
        self.program = subprocess.Popen([os.path.join(self.station, "Tolvane")], cwd=self.station,
                                        env=env, stdout=self.program_log,
                                        stderr=subprocess.STDOUT)
        return self.program

    def event_log(self):
        """The text of the station's event log, every month of it."""
        folder = os.path.join(self.station, "log")
        text = ""
        for name in sorted(os.listdir(folder)) if os.path.isdir(folder) else []:
            with open(os.path.join(folder, name), "rb") as log:
                data = log.read()
            for bom, encoding in ((b"\xff\xfe", "utf-16-le"), (b"\xef\xbb\xbf", "utf-8")):
                if data.startswith(bom):
                    text += data[len(bom):].decode(encoding, errors="replace")
                    break
            else:
                text += data.decode("utf-8", errors="replace")
        return text

    def station_running(self):
        return self.program is not None and self.program.poll() is None

    def wait_station_exit(self, timeout=None):
        try:
            return self.program.wait(timeout or self.timeout)
        except subprocess.TimeoutExpired:
            raise Failure("the station did not end")

    def application(self, timeout=None):
        def probe():
            for app in pyatspi.Registry.getDesktop(0):
                if app is not None and app.get_process_id() == self.program.pid:
                    return app
            if not self.station_running():
                raise Failure("the station ended early")
            return None

        return wait_for("the station on the accessibility bus", probe, timeout or self.timeout)

    # --- finding -------------------------------------------------------------

    def window(self, name, timeout=None):
        """A shown top-level window (frame, dialog, message box) by name."""
        def probe():
            for window in _children(self.application()):
                if _showing(window) and name_matches(window.name, name):
                    return window
            return None

        return wait_for("a window named %r" % (name,), probe, timeout or self.timeout)

    def window_gone(self, window, timeout=None):
        wait_for("window '%s' to close" % window.name, lambda: not _showing(window),
                 timeout or self.timeout)

    def _search(self, root, role, name, first_only=True):
        """Shown controls under root by role and name or label; hidden
        panels and the cells of big lists are not entered."""
        found = []
        queue = [root]
        while queue:
            acc = queue.pop(0)
            for child in _children(acc):
                if child is None or not _showing(child):
                    continue
                child_role = _role(child)
                if (role is None or child_role == role or child_role in _roles(role)) and (
                        name_matches(child.name, name)
                        or any(name_matches(label, name) for label in labels_of(child))):
                    found.append(child)
                    if first_only:
                        return found
                if child_role not in ("table", "tree table", "list", "tree") or any(
                        r in CELLS for r in (role,) + _roles(role)):
                    queue.append(child)
        return found

    def _beside_label(self, root, role, name):
        """The control of that role right of the label with that text."""
        for label in self._search(root, "label", name, first_only=False):
            lx, ly, lw, lh = extents(label)
            middle = ly + lh // 2
            best = None
            for control in self._search(root, role, None, first_only=False):
                x, y, w, h = extents(control)
                if x >= lx + lw - 2 and y <= middle <= y + h:
                    if best is None or x < extents(best)[0]:
                        best = control
            if best is not None:
                return best
        return None

    def find(self, root, role, name, timeout=None):
        """A shown control by role and name; waits for it."""
        def probe():
            hits = self._search(root, role, name)
            if hits:
                return hits[0]
            if role != "label" and name is not None:
                return self._beside_label(root, role, name)
            return None

        return wait_for("a %s named %r in '%s'" % (role, name, root.name), probe,
                        timeout or self.timeout)

    # --- acting ---------------------------------------------------------------

    def xdotool(self, *arguments):
        result = subprocess.run([need_tool("xdotool")] + [str(a) for a in arguments],
                                env=self.env, stdout=subprocess.PIPE, stderr=subprocess.PIPE,
                                timeout=20)
        if result.returncode != 0:
            raise Failure("xdotool %s: %s" % (" ".join(map(str, arguments)),
                                              result.stderr.decode(errors="replace")))
        return result.stdout.decode(errors="replace")

    def click(self, acc):
        """A left click on the middle of the control, through the X server."""
        x, y = center(acc)
        self.xdotool("mousemove", "--sync", x, y, "click", "1")

    def press(self, acc):
        """The control's own press (or toggle) action; a click without one."""
        try:
            action = acc.queryAction()
            names = [action.getName(i).lower() for i in range(action.nActions)]
        except NotImplementedError:
            names = []
        for wanted in ("press", "click", "toggle", "activate"):
            if wanted in names:
                try:
                    action.doAction(names.index(wanted))
                except Exception as error:  # GLib.Error from the bus
                    # A button whose press runs a modal window answers only
                    # once that window closes; the press itself arrived.
                    if "Did not receive a reply" not in str(error):
                        raise
                return
        self.click(acc)

    def activate(self, acc):
        """Gives the X focus to the window that shows the control (there is
        no window manager to do it on a click)."""
        x, y = center(acc)
        location = self.xdotool("mousemove", "--sync", x, y, "getmouselocation", "--shell")
        window = re.search(r"WINDOW=(\d+)", location)
        if window:
            self.xdotool("windowfocus", "--sync", window.group(1))
        top = acc
        while top.parent is not None and _role(top.parent) != "application":
            top = top.parent
        try:
            wait_for("window '%s' active" % top.name,
                     lambda: top.getState().contains(pyatspi.STATE_ACTIVE), 2)
        except Failure:
            pass  # some windows never say so; the focus check below decides

    def focus(self, acc):
        """Gives the control the keyboard: its window gets the X focus and
        the control the focus inside it, by a click where it does not take
        it when asked."""
        self.activate(acc)
        focused = lambda: acc.getState().contains(pyatspi.STATE_FOCUSED)
        try:
            acc.queryComponent().grabFocus()
            wait_for("the focus", focused, 1)
        except Failure:
            self.click(acc)
        wait_for("the focus on %s '%s'" % (_role(acc), acc.name), focused, self.timeout)

    def keys(self, *keys):
        """Keys as xdotool names them ("Return", "alt+e"), to the focus."""
        self.xdotool("key", "--delay", "60", *keys)

    def type_text(self, acc, text, by_keys=False):
        """Puts the text into an edit: through its editable-text interface,
        or typed key by key into it."""
        if by_keys:
            self.focus(acc)
            self.xdotool("key", "ctrl+a", "BackSpace")
            self.xdotool("type", "--delay", "50", text)
        else:
            acc.queryEditableText().setTextContents(text)
        if _role(acc) != "password text":
            wait_for("'%s' in %s '%s'" % (text, _role(acc), acc.name),
                     lambda: self.text_of(acc) == text, self.timeout)

    def current_tab(self, tab):
        """Presses a page tab and waits until its page is the one shown
        (a tab row is named after its current tab)."""
        self.press(tab)
        row = tab.parent
        wait_for("the page '%s'" % tab.name, lambda: name_matches(row.name, tab.name),
                 self.timeout)

    def is_showing(self, acc):
        return _showing(acc)

    def is_selected(self, acc):
        return acc.getState().contains(pyatspi.STATE_SELECTED)

    def text_of(self, acc):
        content = acc.queryText()
        return content.getText(0, content.characterCount)

    def choose(self, combo, entry):
        """Chooses an entry of a drop-down list with the keyboard: opens the
        list, goes to its first entry, then down to the one wanted."""
        lists = [child for child in _children(combo) if _role(child) == "list"]
        entries = [item.name for child in lists for item in _children(child)]
        if entry not in entries:
            raise Failure("'%s' is not one of %s" % (entry, entries))
        self.activate(combo)
        action = combo.queryAction()
        names = [action.getName(i).lower() for i in range(action.nActions)]
        action.doAction(names.index("showmenu") if "showmenu" in names else 0)
        wait_for("the list of '%s' open" % combo.name, lambda: _showing(lists[0]), self.timeout)
        self.keys("Home", *(["Down"] * entries.index(entry)), "Return")
        wait_for("'%s' chosen" % entry, lambda: entry in (combo.name, self._value(combo)),
                 self.timeout)

    def _value(self, acc):
        try:
            return self.text_of(acc)
        except NotImplementedError:
            return None

    def select_row(self, table, text):
        """Clicks the row of a list or table that holds a cell with the text."""
        cell = self.find(table, CELLS, text)
        self.click(cell)
        wait_for("the row of '%s' selected" % text,
                 lambda: cell.getState().contains(pyatspi.STATE_SELECTED), self.timeout)
        return cell

    def answer(self, button, title=None, timeout=None):
        """Presses a button of the message box (or dialog) that is up now;
        gives the text the box showed."""
        def probe():
            for window in _children(self.application()):
                if not _showing(window) or _role(window) not in ("alert", "dialog"):
                    continue
                if title is not None and not name_matches(window.name, title):
                    continue
                hits = self._search(window, "push button", button)
                if hits:
                    return window, hits[0]
            return None

        box, target = wait_for("a box with a button %r" % button, probe, timeout or self.timeout)
        said = " ".join(label.name for label in self._search(box, "label", None, False))
        self.press(target)
        self.window_gone(box)
        return said

    def menu(self, button, *keys):
        """Opens the pop-up menu of a button with a click and picks from it
        with keys; the menu itself is not on the accessibility bus."""
        self.click(button)
        time.sleep(0.5)  # the menu takes the keyboard once it is up
        self.keys(*keys)

    # --- the data files ----------------------------------------------------------

    def _data_tool(self, *arguments):
        tool = os.path.join(self.station, "tolvane-data")
        result = subprocess.run([tool] + list(arguments), env=self.env, stdout=subprocess.PIPE,
                                stderr=subprocess.PIPE, timeout=30)
        if result.returncode != 0:
            raise Failure("tolvane-data %s failed: %s" % (arguments[0],
                                                          result.stderr.decode(errors="replace")))
        return result.stdout.decode(errors="replace")

    def data_report(self):
        """What tolvane-data finds in the copy's data files: each file's
        state, the accounts, the categories, the enterprise name."""
        output = self._data_tool("check", self.station)
        report = {"files": {}, "users": [], "categories": {}, "output": output}
        section = None
        for line in output.splitlines():
            file_state = re.match(r"^(\w+\.sx): (\w+)$", line)
            if file_state:
                report["files"][file_state.group(1)] = file_state.group(2)
            elif line.startswith("users:"):
                section = "users"
            elif line.startswith("music categories:"):
                section = "categories"
            elif line.startswith("  ") and section == "users":
                report["users"].append(line.strip().split(" (")[0])
            elif line.startswith("  ") and section == "categories":
                name, _, files = line.strip().rpartition(": ")
                report["categories"][name] = int(files.split()[0])
            elif ":" in line and not line.startswith(" "):
                key, _, value = line.partition(": ")
                report[key] = value
                section = None
        return report

    def check_data_intact(self):
        """No data file is unreadable and no line went unused."""
        report = self.data_report()
        broken = [f for f, state in report["files"].items() if state == "UNREADABLE"]
        if broken or len(report["files"]) != 5 or report.get("unused lines") != "0":
            raise Failure("the data files are not intact:\n" + report["output"])
        return report


class SinkRecording:
    """What the sound server plays on its default sink, recorded as 16-bit
    mono. A silent stream at a low latency keeps a null sink rendering at the
    clock's pace, as a sound card would, so that its monitor hears it all."""

    RATE = 16000

    def __init__(self, desk):
        fmt = ["--raw", "--format=s16le", "--channels=1", "--rate=%d" % self.RATE]
        self.path = os.path.join(desk.work, "sink.raw")
        self.out = open(self.path, "wb")
        self.pacer = desk._spawn("pacer", [need_tool("pacat"), "--playback",
                                           "--latency-msec=20"] + fmt + ["/dev/zero"])
        self.parec = desk._spawn("recorder", [need_tool("parec"), "-d", "@DEFAULT_MONITOR@",
                                              "--latency-msec=50"] + fmt, stdout=self.out)

    def stop(self):
        """Stops the recording; its samples."""
        for process in (self.parec, self.pacer):
            process.terminate()
            process.wait(5)
        self.out.close()
        with open(self.path, "rb") as raw:
            data = raw.read()
        return array.array("h", data[:len(data) // 2 * 2])


def run(test):
    """Runs test(desk) and gives the exit status CTest reads: 0 passed,
    77 skipped (with the reason), 1 failed."""
    # A test runner that gives up on us terminates us: stop what we
    # started on the way out.
    signal.signal(signal.SIGTERM, lambda number, frame: sys.exit("terminated"))
    try:
        with Desk.from_environment() as desk:
            test(desk)
    except Skip as reason:
        print("SKIP: %s" % reason)
        return SKIP
    except Exception:
        traceback.print_exc()
        return 1
    print("PASS")
    return 0
