"""The world of the end-to-end tests: a private X display with a window manager, a private Wine prefix,
the installer's 64-bit twin started in a chosen working directory, our automation driver beside it, real
mouse and keyboard input, screenshots, and the installer's exit code.

Everything started here is remembered by its process and stopped by its PID (and the prefix's wineserver
by `wineserver -k`), also when a test fails or the run is interrupted.
"""

import collections
import json
import os
import queue
import re
import select
import shutil
import signal
import subprocess
import tempfile
import threading
import time

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
INSTALLER = os.path.join(ROOT, "dist", "KestrowinSetup-x64.exe")
DRIVER = os.path.join(ROOT, "build", "win64", "e2e", "kwdriver.exe")
E2E_PROGRAMS = os.path.dirname(DRIVER)
PAYLOAD_DIR = os.path.join(ROOT, "build", "win64", "payload")
E2E_BUILD = os.path.join(ROOT, "build", "e2e")
SCREENS = os.path.join(E2E_BUILD, "screens")

WINE = "/usr/lib/wine/wine64"
WINESERVER = "/usr/lib/wine/wineserver"
SCREEN_SIZE = (1280, 1024)

# Bounds of the waits; none of them is a pause: every wait returns as soon as its state is reached.
START_TIMEOUT = 30.0
WINDOW_TIMEOUT_MS = 20000
EXIT_TIMEOUT = 20.0


class E2EError(Exception):
    pass


def wait_until(condition, timeout, what, interval=0.05):
    """Polls `condition` until it returns a true value, which is returned; fails after `timeout` s."""
    deadline = time.monotonic() + timeout
    while True:
        value = condition()
        if value:
            return value
        if time.monotonic() >= deadline:
            raise E2EError("timed out waiting for " + what)
        time.sleep(interval)


def stop_process(process, grace=3.0):
    """Ends one process that we started: SIGTERM, then SIGKILL if it is still there after `grace` s."""
    if process is None or process.poll() is not None:
        return
    process.terminate()
    try:
        process.wait(timeout=grace)
    except subprocess.TimeoutExpired:
        process.kill()
        process.wait(timeout=grace)


def windows_path(unix_path):
    """The path as the installer sees it through Wine's Z: drive."""
    return "Z:" + os.path.abspath(unix_path).replace("/", "\\")


def escape(text):
    return text.replace("\\", "\\\\").replace("\n", "\\n").replace("\r", "\\r").replace("\t", "\\t")


class Environment:
    """One X display with openbox and one Wine prefix, shared by all tests of a run."""

    def __init__(self):
        self.run_dir = None
        self.display = None
        self.processes = []
        self.env = None
        # The installers started and not yet stopped: a driver must tell its own from the others.
        self.installers = []

    def start(self):
        os.makedirs(E2E_BUILD, exist_ok=True)
        self.run_dir = tempfile.mkdtemp(prefix="run-", dir=E2E_BUILD)
        self._start_display()
        self._start_window_manager()
        self._make_prefix()

    def _start_display(self):
        # -displayfd lets the server pick a free display number itself, so parallel runs never collide.
        read_end, write_end = os.pipe()
        xvfb = subprocess.Popen(
            ["Xvfb", "-displayfd", str(write_end), "-screen", "0", "%dx%dx24" % SCREEN_SIZE,
             "-nolisten", "tcp"],
            pass_fds=(write_end,), stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL,
            start_new_session=True)
        self.processes.append(xvfb)
        os.close(write_end)
        number = b""
        deadline = time.monotonic() + START_TIMEOUT
        while not number.endswith(b"\n"):
            remaining = deadline - time.monotonic()
            if remaining <= 0 or not select.select([read_end], [], [], remaining)[0]:
                raise E2EError("Xvfb did not report its display")
            chunk = os.read(read_end, 16)
            if not chunk:
                raise E2EError("Xvfb ended before it reported its display")
            number += chunk
        os.close(read_end)
        self.display = ":" + number.decode().strip()
        self.env = dict(os.environ)
        # Wine and openbox keep their settings under HOME, which a bare CI shell may not set.
        self.env.setdefault("HOME", self.run_dir)
        self.env.update({
            "DISPLAY": self.display,
            "WINEPREFIX": os.path.join(self.run_dir, "prefix"),
            "WINEDEBUG": "-all",
            "WINESERVER": WINESERVER,
            # No offers to download add-ons, and no menu entries written into the host's home.
            "WINEDLLOVERRIDES": "mscoree,mshtml=;winemenubuilder.exe=d",
            "WINEARCH": "win64",
        })

    def _start_window_manager(self):
        openbox = subprocess.Popen(["openbox", "--sm-disable"], env=self.env,
                                   stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL,
                                   start_new_session=True)
        self.processes.append(openbox)

        def managed():
            result = subprocess.run(["xprop", "-root", "_NET_SUPPORTING_WM_CHECK"], env=self.env,
                                    capture_output=True, text=True)
            return "window id" in result.stdout

        wait_until(managed, START_TIMEOUT, "openbox to manage the display")

    def _make_prefix(self):
        subprocess.run([WINE, "wineboot", "-i"], env=self.env, stdout=subprocess.DEVNULL,
                       stderr=subprocess.DEVNULL, timeout=180, check=True, start_new_session=True)

    def spawn(self, args, cwd=None, pipes=False, environ=None):
        """Starts a process on our display and prefix; `environ` adds to or overrides its environment."""
        process = subprocess.Popen(
            args, cwd=cwd, env=dict(self.env, **(environ or {})),
            stdin=subprocess.PIPE if pipes else subprocess.DEVNULL,
            stdout=subprocess.PIPE if pipes else subprocess.DEVNULL,
            stderr=subprocess.DEVNULL, start_new_session=True)
        self.processes.append(process)
        return process

    def x(self, *args, check=True):
        """Runs an X client (xdotool, xwininfo, import) on our display and returns its output."""
        result = subprocess.run(list(args), env=self.env, capture_output=True, text=True, timeout=30)
        if check and result.returncode != 0:
            raise E2EError("%s failed: %s" % (args[0], result.stderr.strip()))
        return result.stdout

    def click_at(self, x, y):
        # `mousemove --sync` waits for the pointer to move, which it never does when it stands there.
        where = self.x("xdotool", "getmouselocation", "--shell")
        if ("X=%d\n" % x) in where and ("Y=%d\n" % y) in where:
            self.x("xdotool", "click", "1")
        else:
            self.x("xdotool", "mousemove", "--sync", str(x), str(y), "click", "1")

    def key(self, *keys):
        self.x("xdotool", "key", *keys)

    def screenshot(self, name, rect, settle=40):
        """Saves a PNG of `rect` (x, y, width, height) of the screen under build/e2e/screens, once two
        grabs in a row show the same pixels: a window that has just opened may still be painting. After
        `settle` grabs the last one is kept. The PNG carries no time stamps, so an unchanged screen gives
        an unchanged file."""
        os.makedirs(SCREENS, exist_ok=True)
        path = os.path.join(SCREENS, name + ".png")
        crop = "%dx%d+%d+%d" % (rect[2], rect[3], rect[0], rect[1])
        previous = None
        for _ in range(settle):
            grab = subprocess.run(["import", "-window", "root", "-crop", crop, "+repage", "-depth", "8",
                                   "rgb:-"], env=self.env, capture_output=True, timeout=30).stdout
            if grab and grab == previous:
                break
            previous = grab
        subprocess.run(["convert", "-size", "%dx%d" % (rect[2], rect[3]), "-depth", "8", "rgb:-", "-strip",
                        "-define", "png:exclude-chunks=date,time", path],
                       input=previous, env=self.env, capture_output=True, timeout=30, check=True)
        return path

    def colours(self, rect):
        """How many pixels of each colour (red, green, blue) the screen shows in `rect`
        (x, y, width, height)."""
        text = self.x("import", "-window", "root", "-crop",
                      "%dx%d+%d+%d" % (rect[2], rect[3], rect[0], rect[1]), "+repage", "-depth", "8",
                      "txt:-")
        counts = collections.Counter()
        for match in re.finditer(r"^\d+,\d+: \((\d+),(\d+),(\d+)", text, re.MULTILINE):
            counts[tuple(int(v) for v in match.groups())] += 1
        return counts

    def forget(self, process):
        if process in self.processes:
            self.processes.remove(process)

    def stop(self):
        for process in reversed([p for p in self.processes if p.poll() is None]):
            if process.args[0] in ("Xvfb", "openbox"):
                continue
            stop_process(process)
        if self.env:
            subprocess.run([WINESERVER, "-k"], env=self.env, stdout=subprocess.DEVNULL,
                           stderr=subprocess.DEVNULL, timeout=30)
            subprocess.run([WINESERVER, "-w"], env=self.env, stdout=subprocess.DEVNULL,
                           stderr=subprocess.DEVNULL, timeout=30)
        for process in reversed(self.processes):
            stop_process(process)
        self.processes = []
        if self.run_dir:
            shutil.rmtree(self.run_dir, ignore_errors=True)
            self.run_dir = None

    def workdir(self, name):
        """A fresh, empty folder for one installer: its working directory and default destination."""
        return tempfile.mkdtemp(prefix=name + "-", dir=self.run_dir)


class Driver:
    """Talks to one kwdriver.exe: a command line in, one JSON answer out."""

    def __init__(self, environment):
        self.environment = environment
        self.process = environment.spawn([WINE, DRIVER], pipes=True)
        self.lines = queue.Queue()
        self.reader = threading.Thread(target=self._read, daemon=True)
        self.reader.start()
        self.call("hello", timeout=START_TIMEOUT)

    def _read(self):
        for line in self.process.stdout:
            self.lines.put(line)
        self.lines.put(None)

    def call(self, command, *words, text=None, timeout=15.0):
        """Sends one command; words are the leading arguments, `text` the escaped rest of the line.
        Returns the answer; raises when the driver reports a failure or gives no answer in time."""
        answer = self.ask(command, *words, text=text, timeout=timeout)
        if not answer.get("ok"):
            raise E2EError("driver %s %s: %s" % (command, " ".join(map(str, words)), answer))
        return answer

    def ask(self, command, *words, text=None, timeout=15.0):
        """Like call, but returns a failed answer instead of raising."""
        line = " ".join([command] + [str(w) for w in words])
        if text is not None:
            line += " " + escape(text)
        self.process.stdin.write((line + "\n").encode("utf-8"))
        self.process.stdin.flush()
        try:
            raw = self.lines.get(timeout=timeout)
        except queue.Empty:
            raise E2EError("driver gave no answer to " + command)
        if raw is None:
            raise E2EError("driver ended while answering " + command)
        return json.loads(raw.decode("utf-8"))

    def close(self):
        try:
            if self.process.poll() is None:
                self.process.stdin.write(b"quit\n")
                self.process.stdin.flush()
                self.process.wait(timeout=10)
        except (OSError, subprocess.TimeoutExpired):
            pass
        stop_process(self.process)
        self.reader.join(timeout=5)
        for pipe in (self.process.stdin, self.process.stdout):
            try:
                pipe.close()
            except OSError:
                pass
        self.environment.forget(self.process)


class Installer:
    """One run of the installer's twin in `workdir`, with a driver attached to it; `program` may name a
    copy of the twin elsewhere, and `environ` adds to the twin's environment."""

    def __init__(self, environment, workdir, program=INSTALLER, environ=None):
        self.environment = environment
        self.workdir = workdir
        self.windows_pid = None
        self.process = environment.spawn([WINE, program], cwd=workdir, environ=environ)
        self.driver = Driver(environment)
        # The process ID of an installer that has ended may be handed to a new process, so only the
        # running ones are named.
        for other in environment.installers:
            if other.windows_pid is not None and other.process.poll() is None:
                self.driver.call("ignore", other.windows_pid)
        environment.installers.append(self)

    # --- windows ---------------------------------------------------------------------------------

    def wait_window(self, caption, timeout_ms=WINDOW_TIMEOUT_MS, fresh=False):
        """Waits for a visible window `caption` of the installer and makes it the one the driver works
        on; with `fresh`, one other than the current window (a new screen with the same caption)."""
        command = "wait-new-window" if fresh else "wait-window"
        answer = self.driver.ask(command, timeout_ms, text=caption, timeout=timeout_ms / 1000 + 10)
        if not answer.get("ok"):
            if self.process.poll() is not None:
                raise E2EError("installer ended (exit code %s) before %r appeared"
                               % (self.process.returncode, caption))
            raise E2EError("window %r did not appear; visible windows: %s"
                           % (caption, [w["caption"] for w in answer.get("windows", [])]))
        self.windows_pid = answer["pid"]
        return answer

    def wait_control(self, number, timeout_ms=WINDOW_TIMEOUT_MS):
        return self.driver.call("wait-control", timeout_ms, number, timeout=timeout_ms / 1000 + 10)

    def wait_window_gone(self, caption, timeout_ms=WINDOW_TIMEOUT_MS):
        return self.driver.call("wait-window-gone", timeout_ms, text=caption,
                                timeout=timeout_ms / 1000 + 10)

    def window(self):
        return self.driver.call("window")

    def control(self, number):
        return self.driver.call("control", number)

    def state(self, number):
        """Whether control `number` exists, is enabled and visible; answered even while the installer
        handles no messages."""
        return self.driver.call("state", number)

    def text(self, number):
        return self.driver.call("text", number)["text"]

    def click(self, number):
        return self.driver.call("click", number)

    def set_text(self, number, text):
        return self.driver.call("set-text", number, text=text)

    def progress(self, number):
        return self.driver.call("progress", number)

    def list_rows(self, number):
        return self.driver.call("list-rows", number)["rows"]

    def columns(self, number):
        return self.driver.call("columns", number)

    def focus(self):
        return self.driver.call("focus")

    def close_request(self, how):
        """Asks the window to close: "close" (WM_CLOSE), "sys-close" (the Close command of the system
        menu) or "alt-f4" (real keys, turned into a close request by the window manager)."""
        if how == "alt-f4":
            self.activate()
            self.environment.key("alt+F4")
        else:
            self.driver.call(how)

    def x_windows(self, caption):
        """The X windows whose name is `caption`."""
        found = self.environment.x("xdotool", "search", "--name", "^" + re.escape(caption) + "$",
                                   check=False)
        return found.split()

    def x_client_size(self, caption):
        """The size of the X window that shows the window `caption`: its client area under Wine."""
        windows = self.x_windows(caption)
        if len(windows) != 1:
            raise E2EError("expected one X window named %r, found %d" % (caption, len(windows)))
        geometry = self.environment.x("xwininfo", "-id", windows[0])
        width = int(re.search(r"Width: (\d+)", geometry).group(1))
        height = int(re.search(r"Height: (\d+)", geometry).group(1))
        return width, height

    def activate(self):
        """Gives the installer's window the keyboard focus through the window manager."""
        windows = self.x_windows(self.window()["caption"])
        if not windows:
            raise E2EError("the installer's window has no X window")
        self.environment.x("xdotool", "windowactivate", "--sync", windows[0])

    def real_click(self, number):
        """A real mouse click on the centre of control `number`."""
        screen = self.control(number)["screen"]
        self.environment.click_at(screen["x"] + screen["width"] // 2, screen["y"] + screen["height"] // 2)

    # --- dialogs ---------------------------------------------------------------------------------

    def wait_dialog(self, title="", timeout_ms=WINDOW_TIMEOUT_MS):
        return self.driver.call("dialog-wait", timeout_ms, text=title, timeout=timeout_ms / 1000 + 10)

    def dialog_controls(self):
        return self.driver.call("dialog-controls")["controls"]

    def dialog_tree_selection(self):
        """The folder chooser's selected folder with its ancestors, as the tree names them."""
        return self.driver.call("dialog-tree")["selected"]

    def dialog_tree_select(self, unix_path):
        """Opens the folders of `unix_path` one after another in the chooser's tree, from the tree's
        node for Wine's Z: drive, and selects the last one."""
        selected = self.dialog_tree_selection()
        drives = [i for i, name in enumerate(selected) if "(Z:)" in name]
        if not drives:
            raise E2EError("the chooser's tree shows no Z: drive above %s" % selected)
        chain = selected[:drives[0] + 1] + [part for part in unix_path.split("/") if part]
        return self.driver.call("dialog-tree-select", text="\t".join(chain))

    def dialog_press(self, number):
        return self.driver.call("dialog-press", number)

    def wait_dialog_gone(self, timeout_ms=WINDOW_TIMEOUT_MS):
        return self.driver.call("dialog-wait-gone", timeout_ms, timeout=timeout_ms / 1000 + 10)

    # --- the end ---------------------------------------------------------------------------------

    def wait_gone(self, timeout_ms=WINDOW_TIMEOUT_MS):
        """Waits until no window of the installer is left on the screen."""
        return self.driver.call("wait-gone", timeout_ms, timeout=timeout_ms / 1000 + 10)

    def exit_code(self, timeout=EXIT_TIMEOUT):
        """The installer's exit code, once it has ended; fails if it runs on after `timeout` s."""
        try:
            return self.process.wait(timeout=timeout)
        except subprocess.TimeoutExpired:
            raise E2EError("installer still running after %.0f s" % timeout)

    def screenshot(self, name, dialog=None):
        """A PNG of the installer's top-level window, its frame and title bar included, and of the
        `dialog` (an answer of wait_dialog) standing over it when one is given."""
        info = self.window()
        rects = [info["window_rect"]] + ([dialog["window_rect"]] if dialog else [])
        client = info["client_on_screen"]
        # The window manager's title bar stands above the client area, higher than Wine's own idea of
        # the frame may reach: 30 pixels hold it.
        left = max(0, min(r["x"] for r in rects))
        top = max(0, min([r["y"] for r in rects] + [client["y"] - 30]))
        right = min(SCREEN_SIZE[0], max(r["x"] + r["width"] for r in rects))
        bottom = min(SCREEN_SIZE[1], max(r["y"] + r["height"] for r in rects))
        return self.environment.screenshot(name, (left, top, right - left, bottom - top))

    def stop(self):
        self.driver.close()
        stop_process(self.process)
        self.environment.forget(self.process)
        if self in self.environment.installers:
            self.environment.installers.remove(self)


def payload_file(name):
    return os.path.join(PAYLOAD_DIR, name)


def _on_signal(signum, frame):
    raise KeyboardInterrupt("signal %d" % signum)


def install_signal_handlers():
    """Turns SIGTERM and SIGHUP into the same clean stop as Ctrl-C."""
    for sig in (signal.SIGTERM, signal.SIGHUP):
        signal.signal(sig, _on_signal)
