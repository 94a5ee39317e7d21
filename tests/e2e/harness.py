"""End-to-end harness for WordHatch: the real WordHatch.exe under Wine on a virtual X display,
driven by real key presses (xdotool) and inspected by probe.exe. Standard library only.

Session (once per ctest run, through the fixture tests in e2e_tests.cmake):
    python3 harness.py setup      starts Xvfb on a display it picks free (-displayfd), a fresh
                                  private Wine prefix, a persistent wineserver and one idle Wine
                                  program that keeps Wine's desktop and services up between tests;
                                  the build under test (its probe.exe's PE header) picks the Wine
                                  loader and server, 32-bit or 64-bit (wine_builds.py)
    python3 harness.py cleanup    wineserver -k, stops Xvfb, removes the prefix
    (show_demo.py EXE RUN_DIR, for tools/run.sh, shows EXE at work on a display of its own.)
  State lives in $WH_E2E_DIR (the host build's e2e/ folder): session.json (display, pids, prefix),
  prefix/, logs/, and for failed tests a screenshot in failures/. With WH_E2E_KEEP=1 the prefix
  survives cleanup and the next setup reuses it (quicker, less clean). The tests get WH_E2E_DIR,
  WH_WIN_DIR (the Windows build folder: build/win32 or build/win64) and WH_SOURCE_DIR from ctest. There is no window
  manager: Wine draws frames and captions itself ("Managed"=N), so window rectangles are screen
  pixels, and the foreground window is whatever the programs (or probe.activate) made it.

Writing a test: subclass E2ETestCase (a unittest.TestCase) and end the file with harness.main().
Everything the test starts through it is stopped in tearDown; a failing test leaves a screenshot.
    self.probe                 Probe: one persistent probe.exe answering questions (see below)
    self.input                 Input: keys and mouse through xdotool
    self.wordhatch(exe_name)   -> WordHatchApp in a fresh folder C:\wh\<test>\ of the prefix
    self.start_target(text="") -> Target: a window with an edit that takes the foreground
    self.work_dir              a fresh folder of the test inside the prefix's drive C:
    self.screenshot(name)      -> path of a PNG of the whole screen
    self.assertEventually(fn, timeout, message)   waits until fn() is truthy, else fails
  Never sleep and hope: wait for what should happen with wait_until / assertEventually.

WordHatchApp (exe copied beside its settings file WordHatch.ini and triggers WordHatch.txt):
    app.folder / app.exe_path / app.ini_path / app.txt_path     unix paths
    app.write_ini(text) / read_ini() / write_triggers(text) / read_triggers()  (CRLF, cp1252)
    app.start(*args) -> WineProcess;  app.start_and_wait_window(*args, timeout) -> main window
    app.main_window() -> handle or None;  app.close(timeout) -> exit code (WM_CLOSE, then waits)
    app.processes -> every WineProcess started, first one first
WineProcess: .wait(timeout) -> exit code (WaitTimeout if still running), .exit_code, .running(),
    .kill(), .log (its Wine output)
Target (target.exe): .hwnd, .text() (what its edit holds, newlines as \n), .wait_text(expected),
    .key_events() (the edit's "down VK"/"up VK"/"char CODE" lines), .focus(), .process,
    .hang() (the program stops reading its messages for a minute)
Probe (answers are parsed; a failing command raises ProbeError; handles are ints):
    find(cls, title) -> hwnd|None      count(cls) -> int        windows(cls) -> [TopWindow]
    title(h)  window_class(h)  text(h, id=0) (WM_GETTEXT of h or its child id)
    children(h) -> [Child]   state(h, id=0) -> WindowState (rect and client in screen pixels)
    focus_info(h) -> dict   foreground() -> hwnd|None   xwindow(h) -> X id   activate(h)
    menu(h) -> [MenuItem]   menu_item(h, command id) -> MenuItem (checked, grayed, text)
      (read inside the window's process through probe_hook.dll: Wine refuses menu calls on
      another process's menu)
    command(h, id) (posts WM_COMMAND)  close(h)  post(h, msg, w, l)  send(h, msg, w, l) -> int
    set_text(h, id, text)  clipboard() -> str  set_clipboard(text)  key_down(vk) -> bool
    put_clipboard((kind, data), ...)  clipboard_dump(*skip) -> [tuple]  clipboard_bytes(format) -> bytes
    hold_file(path) / release_file(path)  (a unix path, opened sharing nothing until released or the test ends)
    resources(exe) -> [Resource]  icon_group(exe, name) -> [IconImage]
    accelerators(exe, name) -> [Accelerator]  resource_menu(exe, name) -> [MenuItem]
    resource_data(exe, type, name) -> bytes     (exe: a unix path; converted for Wine)
    call("command", args...) -> raw rows, for anything in probe.cpp's list without a wrapper
Input (every key is held KEY_HOLD seconds, then KEY_GAP before the next, because a key poller
under Wine misses keys held shorter than its polling can see):
    press("ctrl+s", "Return", "shift+Tab", ...)  (xdotool key names; modifiers ctrl shift alt win altgr)
    type_text("Hello, World!\n")  (US layout; \n is Return, \t is Tab)
    type_quickly(text) / press_quickly(*chords)  (each press and release together, no hold)
    click(x, y) (screen) / click_window(hwnd, x, y) (client coordinates)   release_modifiers()
    move_mouse(x, y)   mouse_location() -> (x, y)
    Before keys go out, the X focus is put on the Windows foreground window's X window; Wine
    hands them to the focused control of the foreground window, as Windows would. Then the
    harness waits for that window and WordHatch's to answer a message (route_keyboard says why).
Helpers: wait_until(fn, timeout, message, interval) -> fn's truthy value, else WaitTimeout;
    windows_path(unix_path) -> the path as Wine programs see it (C:\... in the prefix, else Z:\...);
    screenshot(session, path); settled_screenshot(session, path) (once the screen stops changing).
"""

import json
import os
import re
import select
import shutil
import signal
import subprocess
import sys
import time
import unittest
from collections import namedtuple

from wine_builds import WineTools, program_build

DEFAULT_TIMEOUT = 10.0
START_TIMEOUT = 20.0
SCREEN_SETTLE_TIMEOUT = 15.0
SCREEN_QUIET_TIME = 1.0
SCREEN_NOISE_PIXELS = 200  # more than a blinking caret changes
POLL_INTERVAL = 0.05
KEY_HOLD = 0.08
KEY_GAP = 0.05
MODIFIER_LEAD = 0.03
SCREEN = "1280x1024x24"
AUTOREPEAT_DELAY_MS = 3600000  # an hour: no key repeats within a test
MAIN_CLASS = "WordHatchClass"
WM_NULL = 0x0000
TARGET_CLASS = "WordHatchTestTarget"
TARGET_HANG_COMMAND = 204
EXE_NAME = "WordHatch.exe"
WINE_DRIVE_FOLDER = "wh"
WINEBOOT_TIMEOUT = 180
XVFB_START_TIMEOUT = 15
PROBE_TIMEOUT = 20.0

HERE = os.path.dirname(os.path.abspath(__file__))


class WaitTimeout(AssertionError):
    pass


class ProbeError(RuntimeError):
    pass


class HarnessError(RuntimeError):
    pass


def wait_until(condition, timeout=DEFAULT_TIMEOUT, message="condition", interval=POLL_INTERVAL):
    """Calls condition() until it returns something truthy and returns that; raises WaitTimeout.
    A callable message is called at the time-out, so that it can tell the state at the end."""
    deadline = time.monotonic() + timeout
    last = None
    while True:
        last = condition()
        if last:
            return last
        if time.monotonic() >= deadline:
            if callable(message):
                message = message()
            raise WaitTimeout("timed out after %.1f s waiting for %s (last value: %r)" % (timeout, message, last))
        time.sleep(interval)


# ---------------------------------------------------------------- session: Xvfb and Wine prefix

def state_dir():
    folder = os.environ.get("WH_E2E_DIR")
    if not folder:
        raise HarnessError("WH_E2E_DIR is not set: run the end-to-end tests through ctest in the host build")
    return folder


def win_dir():
    folder = os.environ.get("WH_WIN_DIR")
    if not folder:
        raise HarnessError("WH_WIN_DIR is not set: run the end-to-end tests through ctest in the host build")
    return os.path.abspath(folder)


def source_dir():
    return os.environ.get("WH_SOURCE_DIR") or os.path.dirname(os.path.dirname(HERE))


class Session:
    """The display and Wine prefix of this test run, as recorded by setup in session.json."""

    def __init__(self, folder, display, xvfb_pid, prefix, keeper_pid=None, build=None):
        self.folder = folder
        self.display = display
        self.xvfb_pid = xvfb_pid
        self.prefix = prefix
        self.keeper_pid = keeper_pid
        self.build = build or program_build(probe_exe())
        self.tools = WineTools.of(self.build)
        self.logs = os.path.join(folder, "logs")

    @staticmethod
    def record_path(folder):
        return os.path.join(folder, "session.json")

    @classmethod
    def load(cls, folder=None):
        folder = folder or state_dir()
        try:
            with open(cls.record_path(folder)) as f:
                data = json.load(f)
        except FileNotFoundError:
            raise HarnessError("no end-to-end session in %s: the e2e_setup fixture has not run "
                               "(run the tests through ctest)" % folder) from None
        return cls(folder, data["display"], data["xvfb_pid"], data["prefix"], data.get("keeper_pid"),
                   data.get("build"))

    def save(self):
        with open(self.record_path(self.folder), "w") as f:
            json.dump({"display": self.display, "xvfb_pid": self.xvfb_pid, "prefix": self.prefix,
                       "keeper_pid": self.keeper_pid, "build": self.build}, f)

    def env(self):
        env = dict(os.environ)
        env.update(DISPLAY=self.display, WINEPREFIX=self.prefix, WINEDEBUG="-all",
                   WINEDLLOVERRIDES="mscoree,mshtml=")
        env.update(self.tools.env)
        env.pop("WAYLAND_DISPLAY", None)
        return env

    def log_file(self, name):
        os.makedirs(self.logs, exist_ok=True)
        return open(os.path.join(self.logs, name), "ab")

    def drive_c(self):
        return os.path.join(self.prefix, "drive_c")


def _process_is(pid, name):
    try:
        with open("/proc/%d/cmdline" % pid, "rb") as f:
            return name.encode() in f.read().split(b"\0")[0]
    except (FileNotFoundError, ProcessLookupError, ValueError):
        return False


def _start_xvfb(session_folder):
    """Starts Xvfb on a display it picks itself (-displayfd), so parallel runs never collide."""
    read_end, write_end = os.pipe()
    os.makedirs(os.path.join(session_folder, "logs"), exist_ok=True)
    with open(os.path.join(session_folder, "logs", "xvfb.log"), "ab") as log:
        # -noreset: the server would otherwise forget its keymap whenever its last client leaves.
        # -ardelay: a key held by a test never repeats; every repeat is a key event that makes Wine
        # bring its key states in line with the server's, dropping keys that came as Windows input.
        xvfb = subprocess.Popen(["Xvfb", "-displayfd", str(write_end), "-screen", "0", SCREEN, "-nolisten", "tcp",
                                 "-noreset", "-ardelay", str(AUTOREPEAT_DELAY_MS)],
                                pass_fds=(write_end,), stdin=subprocess.DEVNULL, stdout=log, stderr=log,
                                start_new_session=True)
    os.close(write_end)
    number = b""
    deadline = time.monotonic() + XVFB_START_TIMEOUT
    while not number.endswith(b"\n"):
        remaining = deadline - time.monotonic()
        ready, _, _ = select.select([read_end], [], [], max(remaining, 0))
        if not ready:
            xvfb.kill()
            raise HarnessError("Xvfb did not report a display within %d s" % XVFB_START_TIMEOUT)
        chunk = os.read(read_end, 16)
        if not chunk:
            raise HarnessError("Xvfb exited at start; see %s/logs/xvfb.log" % session_folder)
        number += chunk
    os.close(read_end)
    return xvfb.pid, ":" + number.decode().strip()


def _dump_keymap(display):
    """The display's keymap in xkbcomp's source form."""
    dumped = subprocess.run(["xkbcomp", "-xkb", display, "-"], env=dict(os.environ, DISPLAY=display),
                            stdin=subprocess.DEVNULL, stdout=subprocess.PIPE, stderr=subprocess.DEVNULL, timeout=30)
    if dumped.returncode != 0:
        raise HarnessError("cannot read the keymap of the virtual display")
    return dumped.stdout


def _load_keymap(display, keymap):
    loaded = subprocess.run(["xkbcomp", "-", display], input=keymap, env=dict(os.environ, DISPLAY=display),
                            stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, timeout=30)
    if loaded.returncode != 0:
        raise HarnessError("cannot load a keymap into the virtual display")


def _without_keypad_parentheses(display):
    """Makes the virtual keyboard type parentheses with their layout keys alone, as a keyboard
    under Windows does. The X server's maps also put them on two keypad keys (I187, I188) that
    have no Windows key code; Wine then finds no key for "(" and ")"."""
    _load_keymap(display, re.sub(rb"\n\s*key <I18[78]> \{[^}]*\};", b"", _dump_keymap(display)))


def _plain_us_keymap(display):
    """The US keymap of the virtual display: parentheses on Shift+9 and Shift+0 alone."""
    _without_keypad_parentheses(display)


def set_x_keymap(session, layout):
    """Sets the display's keymap to a setxkbmap layout ("de", "fr") and returns the keymap it
    replaced, for restore_x_keymap. Each Wine program reads the keymap when it starts, so set it
    before starting the programs that should use it."""
    saved = _dump_keymap(session.display)
    result = subprocess.run(["setxkbmap", "-display", session.display, "-layout", layout],
                            env=session.env(), stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL,
                            stderr=subprocess.PIPE, timeout=30)
    if result.returncode != 0:
        raise HarnessError("setxkbmap %s failed: %s" % (layout, result.stderr.decode().strip()))
    _without_keypad_parentheses(session.display)
    return saved


def restore_x_keymap(session, saved):
    """Loads a keymap that set_x_keymap returned, exactly as it was."""
    _load_keymap(session.display, saved)


def _run_logged(session, command, timeout, log_name):
    with session.log_file(log_name) as log:
        result = subprocess.run(command, env=session.env(), stdin=subprocess.DEVNULL, stdout=log, stderr=log,
                                timeout=timeout)
    return result.returncode


def setup(folder=None, reuse_prefix=None):
    """Starts the display and the Wine prefix for this run and records them in session.json.
    A prefix from an earlier run is reused only with reuse_prefix (default: WH_E2E_KEEP=1)."""
    folder = os.path.abspath(folder or state_dir())
    if reuse_prefix is None:
        reuse_prefix = os.environ.get("WH_E2E_KEEP") == "1"
    os.makedirs(folder, exist_ok=True)
    if os.path.exists(Session.record_path(folder)):
        print("e2e: cleaning up a session left behind by an earlier run")
        cleanup(folder, keep_prefix=True)
    started = time.monotonic()
    xvfb_pid, display = _start_xvfb(folder)
    _plain_us_keymap(display)
    session = Session(folder, display, xvfb_pid, os.path.join(folder, "prefix"))
    session.save()
    reuse = reuse_prefix and os.path.exists(os.path.join(session.prefix, "system.reg"))
    if not reuse:
        shutil.rmtree(session.prefix, ignore_errors=True)
        os.makedirs(session.prefix)
    # A persistent wineserver keeps services and the desktop alive between the tests' programs.
    _run_logged(session, session.tools.wineserver("-p"), 30, "wineserver.log")
    if not reuse:
        code = _run_logged(session, session.tools.wineboot("-i"), WINEBOOT_TIMEOUT, "wineboot.log")
        if code != 0:
            raise HarnessError("wineboot -i failed with %d; see %s" % (code, session.logs))
    # While one program runs, Wine keeps the desktop and services up between the tests' programs;
    # when the last one ends it shuts them down, and a window opening meanwhile can hang.
    keeper = WineProcess(session, probe_exe(), ["--idle"], log_path=os.path.join(session.logs, "keeper.log"))
    session.keeper_pid = keeper.popen.pid
    session.save()
    # With no window manager, Wine draws the frames and captions itself and moves the X focus
    # along with the Windows foreground, as on Windows; window rectangles then match the screen.
    code = _run_logged(session, session.tools.wine("reg", "add", r"HKCU\Software\Wine\X11 Driver", "/v", "Managed",
                                                   "/d", "N", "/f"), WINEBOOT_TIMEOUT, "wineboot.log")
    if code != 0:
        raise HarnessError("cannot set Wine's X11 driver options; see %s" % session.logs)
    with Probe(session) as probe:
        _open_first_window(session, probe)
    print("e2e: display %s, %s prefix %s ready in %.1f s%s" % (display, session.build, session.prefix,
                                                              time.monotonic() - started, " (reused)" if reuse else ""))
    return session


def _open_first_window(session, probe, attempts=3):
    """Opens and closes one window, so that the desktop is up before the first test needs it.
    A window opened while Wine was still shutting down its desktop from wineboot can hang; then
    the next attempt gets a fresh desktop."""
    title = "WordHatch e2e warm-up"
    for attempt in range(1, attempts + 1):
        target = WineProcess(session, os.path.join(win_dir(), "e2e", "target.exe"), ["--title", title],
                             log_path=os.path.join(session.logs, "warm-up.log"))
        try:
            hwnd = wait_until(lambda: probe.find(TARGET_CLASS, title), START_TIMEOUT, "the warm-up window")
            probe.close(hwnd)
            target.wait(DEFAULT_TIMEOUT)
            return
        except WaitTimeout:
            print("e2e: warm-up window %d of %d did not open in time" % (attempt, attempts))
            target.kill()
    raise HarnessError("no window opens under Wine; see %s" % session.logs)


def cleanup(folder=None, keep_prefix=None):
    """Ends every Wine process of the prefix, stops Xvfb and removes the prefix."""
    folder = os.path.abspath(folder or state_dir())
    if keep_prefix is None:
        keep_prefix = os.environ.get("WH_E2E_KEEP") == "1"
    try:
        session = Session.load(folder)
    except HarnessError:
        print("e2e: no session to clean up")
        return
    if session.keeper_pid and _process_is(session.keeper_pid, "probe.exe"):
        os.kill(session.keeper_pid, signal.SIGKILL)
    if os.path.isdir(session.prefix):
        try:
            _run_logged(session, session.tools.wineserver("-k"), 30, "wineserver.log")
            _run_logged(session, session.tools.wineserver("-w"), 30, "wineserver.log")
        except subprocess.TimeoutExpired:
            print("e2e: wineserver did not stop in time")
    if _process_is(session.xvfb_pid, "Xvfb"):
        os.kill(session.xvfb_pid, signal.SIGTERM)
        try:
            wait_until(lambda: not _process_is(session.xvfb_pid, "Xvfb"), 10, "Xvfb to stop")
        except WaitTimeout:
            os.kill(session.xvfb_pid, signal.SIGKILL)
    os.remove(Session.record_path(folder))
    if not keep_prefix:
        shutil.rmtree(session.prefix, ignore_errors=True)
    print("e2e: stopped display %s" % session.display)


# ---------------------------------------------------------------- paths and processes

def windows_path(path):
    """The path as Wine programs see it: C:\\... inside the prefix's drive_c, else Z:\\..."""
    path = os.path.abspath(path)
    try:
        session = Session.load()
        drive_c = os.path.abspath(session.drive_c())
        if path == drive_c:
            return "C:\\"
        if path.startswith(drive_c + os.sep):
            return "C:\\" + os.path.relpath(path, drive_c).replace("/", "\\")
    except HarnessError:
        pass
    return "Z:" + path.replace("/", "\\")


class WineProcess:
    """A Windows program started under Wine; its output goes to a log file."""

    def __init__(self, session, program, args=(), cwd=None, log_path=None):
        self.program = program
        self.log = log_path or os.path.join(session.logs, os.path.basename(program) + ".log")
        os.makedirs(os.path.dirname(self.log), exist_ok=True)
        with open(self.log, "ab") as log:
            self.popen = subprocess.Popen(session.tools.wine(program, *args), env=session.env(), cwd=cwd,
                                          stdin=subprocess.DEVNULL, stdout=log, stderr=log, start_new_session=True)
        self.exit_code = None

    def running(self):
        return self.popen.poll() is None

    def wait(self, timeout=DEFAULT_TIMEOUT):
        """Waits for the program to end and returns its exit code; raises WaitTimeout."""
        try:
            self.exit_code = self.popen.wait(timeout)
        except subprocess.TimeoutExpired:
            raise WaitTimeout("%s did not exit within %.1f s" % (self.program, timeout)) from None
        return self.exit_code

    def kill(self):
        if self.popen.poll() is None:
            self.popen.kill()
            self.popen.wait(DEFAULT_TIMEOUT)


# ---------------------------------------------------------------- probe

TopWindow = namedtuple("TopWindow", "hwnd cls title visible pid")
Child = namedtuple("Child", "hwnd id cls visible text")
MenuItem = namedtuple("MenuItem", "path kind id checked grayed text")
Resource = namedtuple("Resource", "type name lang size")
IconImage = namedtuple("IconImage", "width height colors planes bit_count bytes id image_width image_height "
                                    "image_bpp format")
Accelerator = namedtuple("Accelerator", "flags key command")
WindowState = namedtuple("WindowState", "exists visible minimized maximized enabled foreground rect client")

# Accelerator flags as stored in the resource.
FVIRTKEY, FNOINVERT, FSHIFT, FCONTROL, FALT = 0x01, 0x02, 0x04, 0x08, 0x10


def _escape(text):
    return str(text).replace("\\", "\\\\").replace("\t", "\\t").replace("\r", "\\r").replace("\n", "\\n")


def _unescape(text):
    out, i = [], 0
    while i < len(text):
        c = text[i]
        if c == "\\" and i + 1 < len(text):
            n = text[i + 1]
            out.append({"t": "\t", "r": "\r", "n": "\n", "\\": "\\"}.get(n, "\\" + n))
            i += 2
        else:
            out.append(c)
            i += 1
    return "".join(out)


def _handle(text):
    value = int(text, 16)
    return value or None


def _rect(text):
    return tuple(int(v) for v in text.split(","))


def probe_exe():
    exe = os.path.join(win_dir(), "e2e", "probe.exe")
    if not os.path.exists(exe):
        raise HarnessError("%s is missing: build the Windows side first (make exe)" % exe)
    return exe


class Probe:
    """One persistent probe.exe (--serve); each call is a line out and lines back."""

    def __init__(self, session=None, timeout=PROBE_TIMEOUT):
        self.session = session or Session.load()
        self.timeout = timeout
        self.log = self.session.log_file("probe.log")
        self.process = subprocess.Popen(self.session.tools.wine(probe_exe(), "--serve"), env=self.session.env(),
                                        stdin=subprocess.PIPE,
                                        stdout=subprocess.PIPE, stderr=self.log, start_new_session=True)
        self.buffer = b""

    def __enter__(self):
        return self

    def __exit__(self, *exc):
        self.stop()

    def stop(self):
        if self.process.poll() is None:
            try:
                self.process.stdin.write(b"quit\n")
                self.process.stdin.close()
                self.process.wait(5)
            except (BrokenPipeError, subprocess.TimeoutExpired):
                self.process.kill()
                self.process.wait()
        self.process.stdout.close()
        self.log.close()

    def _read_line(self, deadline):
        while b"\n" not in self.buffer:
            remaining = deadline - time.monotonic()
            ready, _, _ = select.select([self.process.stdout], [], [], max(remaining, 0))
            if not ready:
                raise ProbeError("probe.exe did not answer within %.0f s" % self.timeout)
            chunk = os.read(self.process.stdout.fileno(), 65536)
            if not chunk:
                raise ProbeError("probe.exe ended unexpectedly (exit code %s)" % self.process.poll())
            self.buffer += chunk
        line, self.buffer = self.buffer.split(b"\n", 1)
        return line.decode("utf-8", "replace")

    def call(self, *args):
        """Runs one command; returns its answer lines as lists of unescaped fields."""
        line = "\t".join(_escape(a) for a in args) + "\n"
        try:
            self.process.stdin.write(line.encode("utf-8"))
            self.process.stdin.flush()
        except BrokenPipeError:
            raise ProbeError("probe.exe is no longer running") from None
        deadline = time.monotonic() + self.timeout
        rows = []
        while True:
            answer = self._read_line(deadline)
            if answer == ".":
                break
            rows.append([_unescape(f) for f in answer.split("\t")])
        # Texts travel escaped in one field, so only a failure answers the two fields "error", message.
        if len(rows) == 1 and len(rows[0]) == 2 and rows[0][0] == "error":
            raise ProbeError("probe %s: %s" % (args[0], rows[0][1]))
        return rows

    def _one(self, *args):
        rows = self.call(*args)
        return rows[0][0] if rows else ""

    # windows
    def find(self, cls="", title=""):
        return _handle(self._one("find", cls or "*", title or "*"))

    def windows(self, cls=""):
        return [TopWindow(_handle(r[0]), r[1], r[2], r[3] == "1", int(r[4])) for r in self.call("list", cls or "*")]

    def count(self, cls):
        return int(self._one("count", cls))

    def title(self, hwnd):
        return self._one("title", hex(hwnd))

    def window_class(self, hwnd):
        return self._one("class", hex(hwnd))

    def text(self, hwnd, control_id=0):
        return self._one("text", hex(hwnd), control_id)

    def children(self, hwnd):
        return [Child(_handle(r[0]), int(r[1]), r[2], r[3] == "1", r[4]) for r in self.call("children", hex(hwnd))]

    def state(self, hwnd, control_id=0):
        fields = dict(f.split("=", 1) for f in self.call("state", hex(hwnd), control_id)[0])
        if fields.get("exists") != "1":
            return WindowState(False, False, False, False, False, False, None, None)
        return WindowState(True, fields["visible"] == "1", fields["minimized"] == "1", fields["maximized"] == "1",
                           fields["enabled"] == "1", fields["foreground"] == "1", _rect(fields["rect"]),
                           _rect(fields["client"]))

    def focus_info(self, hwnd):
        fields = dict(f.split("=", 1) for f in self.call("focus", hex(hwnd))[0])
        return {"focus": _handle(fields["focus"]), "focus_id": int(fields["focusid"]),
                "focus_class": fields["focusclass"], "active": _handle(fields["active"])}

    def foreground(self):
        return _handle(self._one("foreground"))

    def xwindow(self, hwnd):
        return int(self._one("xwindow", hex(hwnd)))

    def activate(self, hwnd):
        self.call("activate", hex(hwnd))

    def menu(self, hwnd):
        return [self._menu_item(r) for r in self.call("menu", hex(hwnd))]

    def menu_item(self, hwnd, command_id):
        checked, grayed, text = self.call("menuitem", hex(hwnd), command_id)[0]
        return MenuItem(None, "item", command_id, checked == "1", grayed == "1", text)

    @staticmethod
    def _menu_item(row):
        return MenuItem(row[0], row[1], int(row[2]), row[3] == "1", row[4] == "1", row[5])

    def command(self, hwnd, command_id):
        self.call("command", hex(hwnd), command_id)

    def close(self, hwnd):
        self.call("close", hex(hwnd))

    def move(self, hwnd, x, y, width, height):
        self.call("move", hex(hwnd), x, y, width, height)

    def post(self, hwnd, message, wparam=0, lparam=0):
        self.call("post", hex(hwnd), message, wparam, lparam)

    def send(self, hwnd, message, wparam=0, lparam=0):
        return int(self._one("send", hex(hwnd), message, wparam, lparam))

    def set_text(self, hwnd, control_id, text):
        self.call("settext", hex(hwnd), control_id, text)

    def clipboard(self):
        return self._one("clipget")

    def set_clipboard(self, text):
        self.call("clipset", text)

    def put_clipboard(self, *pairs):
        """Empties the clipboard and puts each (kind, data) on it: kind text, html, unicode or dib
        (data "WxH"), as probe.cpp's clipput says."""
        self.call("clipput", *[field for pair in pairs for field in pair])

    def clipboard_dump(self, *skip):
        """The clipboard's formats in order: (number, name, size, fnv) for a memory block, else
        (number, name, word) with word handle, skipped (the numbers in skip, left unread so that a
        delayed format is not rendered) or unreadable."""
        return [(int(r[0]), r[1], int(r[2]), r[3]) if len(r) == 4 else (int(r[0]), r[1], r[2])
                for r in self.call("clipdump", *skip)]

    def clipboard_bytes(self, clipboard_format):
        """The bytes of one format (a number or a registered name); ProbeError when it is absent."""
        return bytes.fromhex(self._one("cliphex", clipboard_format))

    def send_key(self, vk, down):
        """One key event as Windows input (SendInput), without the X server."""
        self.call("sendkey", vk, "down" if down else "up")

    def memory(self, pid):
        """(working set, peak working set) of a Windows process, in bytes."""
        fields = dict(f.split("=", 1) for f in " ".join(self.call("memory", pid)[0]).split())
        return int(fields["workingset"]), int(fields["peak"])

    def key_down(self, vk):
        return self._one("keystate", vk) == "down=1"

    def hold_file(self, path):
        """Opens the file at the unix path sharing nothing, as another program that holds it does,
        until release_file or the probe ends."""
        self.call("holdfile", windows_path(path))

    def release_file(self, path):
        self.call("releasefile", windows_path(path))

    # exe resources
    def resources(self, exe):
        return [Resource(r[0], r[1], int(r[2]), int(r[3])) for r in self.call("resources", windows_path(exe))]

    def icon_group(self, exe, name):
        return [IconImage(*[int(v) if v.lstrip("-").isdigit() else v for v in r])
                for r in self.call("icongroup", windows_path(exe), name)]

    def accelerators(self, exe, name):
        return [Accelerator(*map(int, r)) for r in self.call("accelerators", windows_path(exe), name)]

    def resource_menu(self, exe, name):
        return [self._menu_item(r) for r in self.call("resmenu", windows_path(exe), name)]

    def resource_data(self, exe, resource_type, name):
        return bytes.fromhex(self._one("resdata", windows_path(exe), resource_type, name))


# ---------------------------------------------------------------- keyboard and mouse

_SHIFTED = {"~": "grave", "!": "1", "@": "2", "#": "3", "$": "4", "%": "5", "^": "6", "&": "7", "*": "8",
            "(": "9", ")": "0", "_": "minus", "+": "equal", "{": "bracketleft", "}": "bracketright",
            "|": "backslash", ":": "semicolon", '"': "apostrophe", "<": "comma", ">": "period", "?": "slash"}
_PLAIN = {" ": "space", "\n": "Return", "\t": "Tab", "`": "grave", "-": "minus", "=": "equal",
          "[": "bracketleft", "]": "bracketright", "\\": "backslash", ";": "semicolon", "'": "apostrophe",
          ",": "comma", ".": "period", "/": "slash"}
# "altgr" is the right Alt key itself (X key code 108), which the keymaps with a third level
# ("de", "fr", "pl") make their AltGr.
_MODIFIERS = {"ctrl": "Control_L", "control": "Control_L", "shift": "Shift_L", "alt": "Alt_L", "win": "Super_L",
              "super": "Super_L", "altgr": "108"}


def key_for_char(char):
    """(modifiers, keysym) that type char on a US layout."""
    if char.isascii() and char.isalpha():
        return (["Shift_L"], char.lower()) if char.isupper() else ([], char)
    if char.isascii() and char.isdigit():
        return [], char
    if char in _PLAIN:
        return [], _PLAIN[char]
    if char in _SHIFTED:
        return ["Shift_L"], _SHIFTED[char]
    raise ValueError("cannot type %r on a US keyboard" % char)


class Input:
    """Real key presses and clicks through xdotool, slow enough for a polling key watcher."""

    def __init__(self, session, probe=None):
        self.session = session
        self.probe = probe

    def _xdotool(self, steps, timeout):
        result = subprocess.run(["xdotool"] + steps, env=self.session.env(), stdin=subprocess.DEVNULL,
                                stdout=subprocess.PIPE, stderr=subprocess.PIPE, timeout=timeout)
        if result.returncode != 0:
            raise HarnessError("xdotool %s failed: %s" % (" ".join(steps[:6]), result.stderr.decode().strip()))
        return result.stdout.decode()

    def route_keyboard(self):
        """Puts the X focus on the foreground window's X window (Wine passes keys on to the
        Windows focus), then waits until that window is ready for keys: its thread has answered a
        message sent to it. A Wine thread reads its X events only when it looks at its messages;
        while it is busy (a window just shown, the focus just back from a closed box), a key's
        press and release wait for it together and arrive as one, down for no time at all, so a
        key poller never sees the key. A thread that answers has caught up with its events."""
        if not self.probe:
            return
        foreground = self.probe.foreground()
        if not foreground:
            return
        try:
            xid = self.probe.xwindow(foreground)
        except ProbeError:
            return
        self._xdotool(["windowfocus", "--sync", str(xid)], DEFAULT_TIMEOUT)
        # WordHatch's poller runs on its window's thread, which a box just closed or a change of
        # the active window keeps busy for a moment: it must be back at its messages too.
        for hwnd in {foreground, self.probe.find(MAIN_CLASS)} - {None}:
            try:
                self.probe.send(hwnd, WM_NULL)
            except ProbeError:
                pass  # the window went away meanwhile: there is nothing to wait for

    @staticmethod
    def _stroke(modifiers, key):
        steps = []
        for modifier in modifiers:
            steps += ["keydown", modifier]
        if modifiers:
            steps += ["sleep", str(MODIFIER_LEAD)]
        steps += ["keydown", key, "sleep", str(KEY_HOLD), "keyup", key]
        for modifier in reversed(modifiers):
            steps += ["keyup", modifier]
        return steps + ["sleep", str(KEY_GAP)]

    def _send(self, strokes):
        self.route_keyboard()
        steps = []
        for modifiers, key in strokes:
            steps += self._stroke(modifiers, key)
        timeout = DEFAULT_TIMEOUT + len(strokes) * (KEY_HOLD + KEY_GAP + MODIFIER_LEAD) * 2
        self._xdotool(steps, timeout)

    def press(self, *chords):
        """Presses keys or chords given as xdotool key names: "Return", "ctrl+s", "shift+Tab", "F1"."""
        strokes = []
        for chord in chords:
            parts = chord.split("+")
            strokes.append(([_MODIFIERS.get(p.lower(), p) for p in parts[:-1]], parts[-1]))
        self._send(strokes)

    def type_text(self, text):
        """Types text key by key; newline is Return, tab is Tab."""
        self._send([key_for_char(c) for c in text])

    def type_quickly(self, text, delay_ms=20):
        """Types text as xdotool types it by itself: each key's press and release together, the
        next key `delay_ms` later. Only a watcher that sees every key event can follow it."""
        self.route_keyboard()
        self._xdotool(["type", "--delay", str(delay_ms), text], DEFAULT_TIMEOUT + len(text) * delay_ms / 1000.0)

    def press_quickly(self, *chords, delay_ms=20):
        """Presses keys or chords ("comma", "ctrl+v") as type_quickly types."""
        self.route_keyboard()
        self._xdotool(["key", "--delay", str(delay_ms)] + list(chords),
                      DEFAULT_TIMEOUT + len(chords) * delay_ms / 1000.0)

    def hold(self, key):
        """Presses a key (an xdotool key name) and leaves it down until release()."""
        self.route_keyboard()
        self._xdotool(["keydown", key], DEFAULT_TIMEOUT)

    def release(self, key):
        self._xdotool(["keyup", key], DEFAULT_TIMEOUT)

    def release_modifiers(self):
        steps = []
        for key in ("Shift_L", "Shift_R", "Control_L", "Control_R", "Alt_L", "Alt_R", "Super_L", _MODIFIERS["altgr"]):
            steps += ["keyup", key]
        self._xdotool(steps, DEFAULT_TIMEOUT)

    def click(self, x, y, button=1):
        """Clicks at screen coordinates, holding the button like a key."""
        self._xdotool(["mousemove", str(x), str(y), "sleep", str(KEY_GAP), "mousedown", str(button),
                       "sleep", str(KEY_HOLD), "mouseup", str(button), "sleep", str(KEY_GAP)], DEFAULT_TIMEOUT)

    def move_mouse(self, x, y):
        self._xdotool(["mousemove", str(x), str(y)], DEFAULT_TIMEOUT)

    def mouse_location(self):
        """(x, y) of the mouse cursor on the screen."""
        fields = dict(f.split(":", 1) for f in self._xdotool(["getmouselocation"], DEFAULT_TIMEOUT).split())
        return int(fields["x"]), int(fields["y"])

    def click_window(self, hwnd, x, y, button=1):
        """Clicks at client coordinates of a window (asked of the probe)."""
        client = self.probe.state(hwnd).client
        if client is None:
            raise HarnessError("cannot click: window %#x does not exist" % hwnd)
        self.click(client[0] + x, client[1] + y, button)


def screenshot(session, path):
    os.makedirs(os.path.dirname(os.path.abspath(path)), exist_ok=True)
    subprocess.run(["import", "-window", "root", path], env=session.env(), stdin=subprocess.DEVNULL,
                   stdout=subprocess.DEVNULL, stderr=subprocess.PIPE, timeout=30, check=True)
    return path


def _changed_pixels(session, first, second):
    result = subprocess.run(["compare", "-metric", "AE", first, second, "null:"], env=session.env(),
                            stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL, stderr=subprocess.PIPE, timeout=30)
    try:
        return int(float(result.stderr.decode().split()[0]))
    except (IndexError, ValueError):
        raise HarnessError("compare failed: %s" % result.stderr.decode().strip()) from None


def settled_screenshot(session, path, timeout=SCREEN_SETTLE_TIMEOUT, quiet_time=SCREEN_QUIET_TIME):
    """A screenshot taken once the screen has not changed for quiet_time seconds, so that the
    windows have finished painting. A blinking caret does not count as a change."""
    previous = path + ".previous.png"
    last = {"since": None}

    def quiet():
        screenshot(session, path)
        now = time.monotonic()
        if last["since"] is None or _changed_pixels(session, previous, path) > SCREEN_NOISE_PIXELS:
            last["since"] = now
        shutil.copyfile(path, previous)
        return now - last["since"] >= quiet_time
    try:
        wait_until(quiet, timeout, "the screen to stop changing", interval=0.2)
    finally:
        if os.path.exists(previous):
            os.remove(previous)
    return path


# ---------------------------------------------------------------- programs under test

def _crlf(text, encoding):
    return text.replace("\r\n", "\n").replace("\n", "\r\n").encode(encoding)


class WordHatchApp:
    """WordHatch.exe copied into its own folder in the Wine drive, with its .ini and .txt beside it."""

    def __init__(self, session, probe, name, exe_name=EXE_NAME, source_exe=None):
        self.session = session
        self.probe = probe
        self.folder = os.path.join(session.drive_c(), WINE_DRIVE_FOLDER, name)
        shutil.rmtree(self.folder, ignore_errors=True)
        os.makedirs(self.folder)
        self.exe_path = os.path.join(self.folder, exe_name)
        shutil.copy2(source_exe or os.path.join(win_dir(), EXE_NAME), self.exe_path)
        stem = os.path.splitext(exe_name)[0]
        self.ini_path = os.path.join(self.folder, stem + ".ini")
        self.txt_path = os.path.join(self.folder, stem + ".txt")
        self.processes = []

    def write_ini(self, text, encoding="cp1252"):
        with open(self.ini_path, "wb") as f:
            f.write(_crlf(text, encoding))

    def read_ini(self, encoding="cp1252"):
        with open(self.ini_path, "rb") as f:
            return f.read().decode(encoding).replace("\r\n", "\n")

    def write_triggers(self, text, encoding="cp1252"):
        with open(self.txt_path, "wb") as f:
            f.write(_crlf(text, encoding))

    def read_triggers(self, encoding="cp1252"):
        with open(self.txt_path, "rb") as f:
            return f.read().decode(encoding).replace("\r\n", "\n")

    def start(self, *args):
        """Starts one more instance (the program itself decides whether it stays)."""
        log = os.path.join(self.folder, "wine-%d.log" % len(self.processes))
        process = WineProcess(self.session, windows_path(self.exe_path), args, cwd=self.folder, log_path=log)
        self.processes.append(process)
        return process

    def main_window(self):
        return self.probe.find(MAIN_CLASS)

    def start_and_wait_window(self, *args, timeout=START_TIMEOUT):
        process = self.start(*args)

        def shown():
            if not process.running():
                raise AssertionError("WordHatch exited with %s before showing its window (its windows: %r)"
                                     % (process.popen.poll(), self.probe.windows(MAIN_CLASS)))
            hwnd = self.main_window()
            return hwnd if hwnd and self.probe.state(hwnd).visible else None
        try:
            return wait_until(shown, timeout, "the WordHatch main window")
        except WaitTimeout as timeout_error:
            raise WaitTimeout("%s; windows of its class: %r" % (timeout_error, self.probe.windows(MAIN_CLASS))) from None

    def close(self, timeout=DEFAULT_TIMEOUT):
        """Asks the main window to close (WM_CLOSE) and returns the exit code of the first instance."""
        hwnd = self.main_window()
        if hwnd:
            self.probe.close(hwnd)
        return self.processes[0].wait(timeout)

    def stop(self):
        for process in self.processes:
            process.kill()


class Target:
    """target.exe: an edit that takes the foreground and writes its text to a file on each change."""

    def __init__(self, session, probe, input_, folder, title, text="", name="target", ansi=False, no_paste=False,
                 exe=None):
        self.probe = probe
        self.input = input_
        self.title = title
        self.out_path = os.path.join(folder, name + "-out.txt")
        self.keys_path = os.path.join(folder, name + "-keys.txt")
        for path in (self.out_path, self.keys_path):
            if os.path.exists(path):
                os.remove(path)
        exe = exe or os.path.join(win_dir(), "e2e", "target.exe")
        self.process = WineProcess(session, exe, ["--title", title, "--out", windows_path(self.out_path),
                                                  "--keys", windows_path(self.keys_path), "--text", text,
                                                  "--ansi", "1" if ansi else "0",
                                                  "--no-paste", "1" if no_paste else "0"],
                                   log_path=os.path.join(folder, name + ".log"))
        # The file appears once the window has the focus.
        wait_until(lambda: os.path.exists(self.out_path), START_TIMEOUT, "target.exe to start")
        self.hwnd = wait_until(lambda: probe.find(TARGET_CLASS, title), START_TIMEOUT,
                               "the target window")

    def text(self):
        with open(self.out_path, "rb") as f:
            return f.read().decode("utf-8").replace("\r\n", "\n")

    def wait_text(self, expected, timeout=DEFAULT_TIMEOUT):
        """Waits until the edit holds exactly expected (newlines as \\n)."""
        return wait_until(lambda: self.text() == expected, timeout, lambda: "the target to hold %r (it holds %r)"
                          % (expected, self.text()))

    def key_events(self):
        if not os.path.exists(self.keys_path):
            return []
        with open(self.keys_path) as f:
            return f.read().splitlines()

    def hang(self):
        """Makes the program stop reading its messages for a minute, as a program that hangs does,
        and returns once it has begun."""
        marker = self.out_path + ".hangs"
        if os.path.exists(marker):
            os.remove(marker)
        self.probe.command(self.hwnd, TARGET_HANG_COMMAND)
        wait_until(lambda: os.path.exists(marker), DEFAULT_TIMEOUT, "the target to hang")

    def focus(self):
        self.probe.activate(self.hwnd)
        wait_until(lambda: self.probe.foreground() == self.hwnd, DEFAULT_TIMEOUT, "the target in the foreground")
        self.input.route_keyboard()

    def stop(self):
        self.process.kill()


# ---------------------------------------------------------------- unittest base

class E2ETestCase(unittest.TestCase):
    """Base of the end-to-end tests: a session, a probe, input, and cleanup of all it started."""

    def setUp(self):
        self.session = Session.load()
        self.probe = Probe(self.session)
        self.addCleanup(self.probe.stop)
        self.input = Input(self.session, self.probe)
        self._apps = []
        self._targets = []
        self.test_name = self.id().split(".", 1)[-1].replace(".", "-")
        self.work_dir = os.path.join(self.session.drive_c(), WINE_DRIVE_FOLDER, self.test_name + "-work")
        shutil.rmtree(self.work_dir, ignore_errors=True)
        os.makedirs(self.work_dir)
        # A window left by an earlier test would change what this one sees.
        leftovers = self.probe.windows(MAIN_CLASS)
        if leftovers:
            raise HarnessError("WordHatch windows from an earlier test are still open: %r" % leftovers)

    def _failed(self):
        """Whether this test has failed so far (unittest keeps that in its private outcome)."""
        outcome = getattr(self, "_outcome", None)
        if outcome is None:
            return False
        if getattr(outcome, "errors", None) is not None:  # Python before 3.11
            return any(exc_info for _, exc_info in outcome.errors)
        result = getattr(outcome, "result", None)
        recorded = list(getattr(result, "failures", [])) + list(getattr(result, "errors", []))
        return any(test is self for test, _ in recorded)

    def tearDown(self):
        if self._failed():
            try:
                path = os.path.join(self.session.folder, "failures", self.test_name + ".png")
                screenshot(self.session, path)
                print("screenshot of the failure: %s" % path)
            except (subprocess.SubprocessError, OSError) as error:
                print("no screenshot of the failure: %s" % error)
        for target in self._targets:
            target.stop()
        for app in self._apps:
            app.stop()
        # A test that failed halfway through a chord must not leave a modifier down for the next.
        self.input.release_modifiers()
        if self._apps:
            wait_until(lambda: self.probe.count(MAIN_CLASS) == 0, DEFAULT_TIMEOUT,
                       "the WordHatch windows to go away after their processes ended")

    def wordhatch(self, exe_name=EXE_NAME):
        """A WordHatch in a fresh folder named after the test; stopped in tearDown."""
        name = self.test_name if not self._apps else "%s-%d" % (self.test_name, len(self._apps))
        app = WordHatchApp(self.session, self.probe, name, exe_name)
        self._apps.append(app)
        return app

    def start_target(self, text="", title=None, ansi=False, no_paste=False, program=None):
        """A target window; with ansi=True its edit is an ANSI window, with no_paste=True it ignores
        every paste; with `program` ("other.exe") a copy of target.exe of that file name runs it."""
        number = len(self._targets)
        title = title or "Target %s %d" % (self.test_name, number)
        exe = None
        if program:
            exe = os.path.join(self.work_dir, program)
            shutil.copy2(os.path.join(win_dir(), "e2e", "target.exe"), exe)
        target = Target(self.session, self.probe, self.input, self.work_dir, title, text, "target%d" % number, ansi,
                        no_paste, exe)
        self._targets.append(target)
        return target

    def use_x_keymap(self, layout):
        """Sets the display's keymap to `layout` for this test (before WordHatch and the targets
        start); the keymap in use before comes back exactly once the test has ended."""
        saved = set_x_keymap(self.session, layout)
        self.addCleanup(restore_x_keymap, self.session, saved)

    def screenshot(self, name):
        return screenshot(self.session, os.path.join(self.session.folder, "screenshots", name + ".png"))

    def assertEventually(self, condition, timeout=DEFAULT_TIMEOUT, message="condition"):
        return wait_until(condition, timeout, message)


def main():
    """Runs the unittest cases of the calling test file."""
    unittest.main(module="__main__", verbosity=2)


if __name__ == "__main__":
    if len(sys.argv) == 2 and sys.argv[1] in ("setup", "cleanup"):
        (setup if sys.argv[1] == "setup" else cleanup)()
    else:
        print("usage: harness.py setup|cleanup     (WH_E2E_DIR names the state folder)", file=sys.stderr)
        sys.exit(2)
