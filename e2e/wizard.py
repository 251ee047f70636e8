"""What every end-to-end test shares: the run's environment, a test case that starts a fresh installer in
a fresh working directory for each test, the wizard's captions, and the roads from one screen to the
next as a user takes them."""

import filecmp
import os
import time
import unittest

import kw

CAPTION_AGREEMENT = "Kestrowin Game Installer - Step 1: Legal Agreement"
CAPTION_LOCATION = "Kestrowin Game Installer - Step 2: Select Location"
CAPTION_VERIFY = "Kestrowin Game Installer - Step 3: Verify Location"
CAPTION_EXTRACTION = "Kestrowin Game Installer - Step 4: Extraction"
CAPTION_FINISH = CAPTION_EXTRACTION
CAPTION_ERROR = "Error ..."

INSTALL_TIMEOUT = 60.0

GREEN = (0, 128, 0)
WHITE = (255, 255, 255)
YELLOW = (255, 255, 0)
BLACK = (0, 0, 0)

SCREEN_WIDTH, SCREEN_HEIGHT = 1280, 1024
CLIENT_SIZE = (530, 400)

# The last control each screen creates: a screen's window is shown before its controls are made.
LAST_CONTROL = {CAPTION_AGREEMENT: 7, CAPTION_LOCATION: 4, CAPTION_VERIFY: 4, CAPTION_EXTRACTION: 3,
                CAPTION_ERROR: 15}

# The installer's line break in composed texts reaches the Win32 labels as CR LF.
BREAK = "\r\n"

PAYLOAD = ["PlayKestrowin.exe", "Engine3D.dll", "Assets.zip", "TroubleShooting_Guide.txt",
           "OgreMITLicense.txt"]

# Set by run_e2e.py for the whole run.
ENVIRONMENT = None

_screens_taken = set()


def lines(*parts):
    return BREAK.join(parts)


def poll(read, accept, timeout=10.0, interval=0.05):
    """Reads a value until `accept(value)` holds or `timeout` s have passed, and returns the last value
    read, so that the caller's assertion shows what was seen when the wait ended."""
    deadline = time.monotonic() + timeout
    while True:
        value = read()
        if accept(value) or time.monotonic() >= deadline:
            return value
        time.sleep(interval)


class InstallerTest(unittest.TestCase):
    """Each test gets its own installer process, driver and empty working directory."""

    # The display and Wine prefix the test's installers run on: the run's own unless a test sets one of
    # its own.
    environment = None

    def run_environment(self):
        environment = self.environment or ENVIRONMENT
        if environment is None:
            raise unittest.SkipTest("no e2e environment")
        return environment

    def new_workdir(self):
        """A fresh, empty folder named after the test."""
        return self.run_environment().workdir(self._testMethodName)

    def start_installer(self, workdir=None):
        if workdir is None:
            workdir = self.new_workdir()
        installer = kw.Installer(self.run_environment(), workdir)
        self.addCleanup(installer.stop)
        self.addCleanup(self.end_road, installer)
        return installer

    def end_road(self, installer):
        """Every road ends with exit code 0: an installer that a test leaves on a screen is sent a close
        request there, as a user would end it."""
        if installer.process.poll() is None:
            installer.close_request("close")
        self.assert_ended(installer)

    def wait_screen(self, installer, caption, fresh=False):
        """Waits until the screen `caption` stands with all its controls."""
        answer = installer.wait_window(caption, fresh=fresh)
        installer.wait_control(LAST_CONTROL[caption])
        return answer

    def start_at_agreement(self, workdir=None):
        installer = self.start_installer(workdir)
        self.wait_screen(installer, CAPTION_AGREEMENT)
        self.visit(installer, "step1_agreement")
        return installer

    def start_at_location(self, workdir=None):
        installer = self.start_at_agreement(workdir)
        self.leave(installer, CAPTION_AGREEMENT, 3, CAPTION_LOCATION)
        self.visit(installer, "step2_location")
        return installer

    def start_at_verify(self, workdir=None):
        """Agrees and takes the default destination on to step 3."""
        installer = self.start_at_location(workdir)
        self.leave(installer, CAPTION_LOCATION, 4, CAPTION_VERIFY)
        self.visit(installer, "step3_verify")
        return installer

    def start_install(self, workdir=None):
        """Goes on to step 4, where the installation starts at once."""
        installer = self.start_at_verify(workdir)
        self.leave(installer, CAPTION_VERIFY, 4, CAPTION_EXTRACTION)
        return installer

    def wait_installed(self, installer):
        """Waits until the extraction screen has turned into its report: NEXT enabled."""
        state = poll(lambda: installer.control(3), lambda c: c["exists"] and c["enabled"],
                     timeout=INSTALL_TIMEOUT)
        self.assertTrue(state["exists"] and state["enabled"], "NEXT was not enabled: %s" % state)
        self.visit(installer, "step4_installed")

    def start_at_finish(self, workdir=None):
        installer = self.start_install(workdir=workdir)
        self.wait_installed(installer)
        installer.click(3)
        self.wait_screen(installer, CAPTION_FINISH, fresh=True)
        self.visit(installer, "step5_finish")
        return installer

    def visit(self, installer, screen, dialog=None):
        """Saves a picture of a screen, with the `dialog` over it when given, the first time the run
        comes to it."""
        if screen not in _screens_taken:
            _screens_taken.add(screen)
            installer.screenshot(screen, dialog)

    def press(self, installer, number, how="message"):
        """Presses button `number` the way `how` names: "message" (a posted BM_CLICK) or "mouse" (a real
        click at its centre)."""
        if how == "mouse":
            installer.real_click(number)
        else:
            installer.click(number)

    def leave(self, installer, from_caption, number, to_caption):
        """Presses `number` and waits until the window `from_caption` has gone and `to_caption` stands."""
        installer.click(number)
        if from_caption != to_caption:
            installer.wait_window_gone(from_caption)
        return self.wait_screen(installer, to_caption)

    def walk(self, installer, from_caption, number, to_caption):
        """Like leave, but with a real mouse click on button `number`; a screen that replaces one with
        the same caption is told apart from it."""
        installer.real_click(number)
        if from_caption != to_caption:
            installer.wait_window_gone(from_caption)
        return self.wait_screen(installer, to_caption, fresh=from_caption == to_caption)

    def assert_ended(self, installer):
        """The installer's windows go away and its process ends with exit code 0."""
        installer.wait_gone()
        self.assertEqual(installer.exit_code(), 0)

    def assert_control(self, installer, number, kind, rect, text=None):
        """Control `number` exists, enabled and visible, with the window class `kind`, at `rect`
        (x, y, width, height) in the client area of the top-level window, with `text` when given."""
        info = installer.control(number)
        self.assertTrue(info["exists"], "control %d is missing" % number)
        self.assertEqual(info["class"], kind, "class of control %d" % number)
        got = info["rect"]
        self.assertEqual((got["x"], got["y"], got["width"], got["height"]), rect,
                         "geometry of control %d" % number)
        if text is not None:
            self.assertEqual(info.get("text"), text, "text of control %d" % number)
        self.assertTrue(info["enabled"], "control %d is disabled" % number)
        self.assertTrue(info["visible"], "control %d is hidden" % number)
        return info

    def colours_of(self, installer, number, client=False):
        """The colours on screen where control `number` stands (only its client area with `client`),
        once the screen shows the control's own ground."""
        info = installer.control(number)
        area = info["client_on_screen" if client else "screen"]
        rect = (area["x"], area["y"], area["width"], area["height"])
        return poll(lambda: ENVIRONMENT.colours(rect), lambda c: len(c) > 1)

    def ground_colours(self, installer, rect):
        """The colours on screen in `rect` (x, y, width, height) of the window's client area."""
        client = installer.window()["client_on_screen"]
        return ENVIRONMENT.colours((client["x"] + rect[0], client["y"] + rect[1], rect[2], rect[3]))

    def assert_empty_folder(self, path):
        self.assertEqual(sorted(os.listdir(path)), [], "the working directory was touched")


def wrap_path(path):
    """A path as the screens show it: broken once, after its 70th character."""
    return path if len(path) <= 70 else path[:70] + BREAK + path[70:]


def default_location(installer):
    """The installer's working directory as it offers it: seen from Windows, with a final backslash."""
    return kw.windows_path(installer.workdir) + "\\"


def offset_in(installer, container, child, child_at):
    """Where control `child` stands in the client area of `container`, less where it was placed in the
    container's inner area (`child_at`): how far the inner area is scrolled, as (x, y)."""
    outer = installer.control(container)["client_on_screen"]
    inner = installer.control(child)["screen"]
    return (child_at[0] - (inner["x"] - outer["x"]), child_at[1] - (inner["y"] - outer["y"]))


def snapshot(root):
    """Every entry under `root` by its relative path: a file with its size and time of last change, a
    link with its target, a folder by its kind alone (its own times change with what it holds)."""
    entries = {}
    for folder, folders, files in os.walk(root):
        for name in folders + files:
            path = os.path.join(folder, name)
            relative = os.path.relpath(path, root)
            if os.path.islink(path):
                entries[relative] = ("link", os.readlink(path))
            elif os.path.isdir(path):
                entries[relative] = ("folder",)
            else:
                info = os.stat(path)
                entries[relative] = ("file", info.st_size, info.st_mtime_ns)
    return entries


def assert_holds_the_payload(test, folder):
    """The game folder `folder` holds the five files, each byte for byte as the payload, and nothing
    else."""
    test.assertEqual(sorted(os.listdir(folder)), sorted(PAYLOAD))
    for name in PAYLOAD:
        with test.subTest(file=name):
            test.assertTrue(filecmp.cmp(os.path.join(folder, name), kw.payload_file(name), shallow=False),
                            "%s differs from the payload" % name)
