"""High DPI: on displays of 120, 144 and 192 DPI (Wine's LogPixels) the window, every control (the pictures
among them) and the text are those of 96 DPI scaled by DPI/96. Each screen is saved at every DPI
(dpi96_*.png, dpi144_*.png, ...) for a person to compare."""

import re

import kw
import wizard
from wizard import (CAPTION_AGREEMENT, CAPTION_EXTRACTION, CAPTION_LOCATION, CAPTION_VERIFY, InstallerTest,
                    poll)

# Wine's LogPixels; 144 is the one each run must see, 120 and 192 the other common steps.
HIGH_DPIS = (120, 144, 192)
CONTROL_NUMBERS = range(0, 21)
INTRO_LABEL = 5  # two lines of white text on the green ground of step 1


def scaled(length, dpi):
    """A 96-DPI length on a display of `dpi`: the nearest pixel, halves up."""
    return (length * dpi + 48) // 96


def layout(installer):
    """The window's client size and the rectangle of each control standing directly in it."""
    info = installer.window()
    controls = {}
    for number in CONTROL_NUMBERS:
        control = installer.control(number)
        if control["exists"] and control["depth"] == 1:
            controls[number] = tuple(control["rect"][k] for k in ("x", "y", "width", "height"))
    return (info["client_width"], info["client_height"]), controls


def text_width(environment, installer, number):
    """How many pixel columns lie between the first and the last column of white pixels in control
    `number`: the width its text takes on the screen, which grows with the font."""
    area = installer.control(number)["screen"]
    text = environment.x("import", "-window", "root", "-crop",
                         "%dx%d+%d+%d" % (area["width"], area["height"], area["x"], area["y"]), "+repage",
                         "-depth", "8", "txt:-")
    columns = [int(m.group(1)) for m in re.finditer(r"^(\d+),\d+: \(255,255,255", text, re.MULTILINE)]
    return max(columns) - min(columns) + 1 if columns else 0


class HighDpi(InstallerTest):

    def display_at(self, dpi):
        """A display and Wine prefix of their own, the prefix set to `dpi`, stopped after the test."""
        environment = kw.Environment()
        self.addCleanup(environment.stop)
        environment.start()
        environment.x(kw.WINE, "reg", "add", "HKCU\\Control Panel\\Desktop", "/v", "LogPixels", "/t",
                      "REG_DWORD", "/d", str(dpi), "/f")
        return environment

    def journey(self, environment, dpi):
        """Takes the wizard from step 1 to the finish screen on `environment`; returns what each screen
        looked like, and the width of the introduction's text."""
        self.environment = environment
        seen = {}
        installer = self.start_installer()
        self.wait_screen(installer, CAPTION_AGREEMENT)
        seen["agreement"] = layout(installer)
        width = poll(lambda: text_width(environment, installer, INTRO_LABEL), lambda h: h > 0)
        installer.screenshot("dpi%d_step1_agreement" % dpi)
        for caption, number, name in [(CAPTION_LOCATION, 3, "location"), (CAPTION_VERIFY, 4, "verify"),
                                      (CAPTION_EXTRACTION, 4, "extraction")]:
            self.leave(installer, installer.window()["caption"], number, caption)
            if caption == CAPTION_EXTRACTION:
                self.wait_installed(installer)
            seen[name] = layout(installer)
            installer.screenshot("dpi%d_step_%s" % (dpi, name))
        installer.click(3)
        self.wait_screen(installer, CAPTION_EXTRACTION, fresh=True)
        seen["finish"] = layout(installer)
        installer.screenshot("dpi%d_step5_finish" % dpi)
        installer.close_request("close")
        self.assert_ended(installer)
        return seen, width

    def test_every_screen_window_control_and_font_scale_with_the_dpi(self):
        normal, normal_text = self.journey(wizard.ENVIRONMENT, 96)
        for dpi in HIGH_DPIS:
            high, high_text = self.journey(self.display_at(dpi), dpi)
            for screen, (size, controls) in normal.items():
                high_size, high_controls = high[screen]
                with self.subTest(dpi=dpi, screen=screen):
                    self.assertEqual(high_size, tuple(scaled(v, dpi) for v in size), "client size")
                    self.assertEqual(sorted(high_controls), sorted(controls), "the same controls")
                for number, rect in controls.items():
                    with self.subTest(dpi=dpi, screen=screen, control=number):
                        self.assertEqual(high_controls.get(number), tuple(scaled(v, dpi) for v in rect))
            with self.subTest(dpi=dpi, what="font"):
                # Arial 9 pt is 12 pixels at 96 DPI; glyph advances round a little either way.
                ratio = high_text / normal_text / (dpi / 96)
                self.assertTrue(0.93 <= ratio <= 1.07, (normal_text, high_text))
