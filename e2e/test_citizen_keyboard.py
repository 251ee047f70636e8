"""The keyboard, with real keys: on every screen Tab visits the buttons, the field, the terms box and the
folder list in reading order (top to bottom, left to right) and Shift+Tab goes back the same way; Enter
and Space press the focused button."""

from wizard import (CAPTION_AGREEMENT, CAPTION_EXTRACTION, CAPTION_LOCATION, CAPTION_VERIFY, InstallerTest,
                    poll)

WS_TABSTOP = 0x00010000
CONTROL_NUMBERS = range(0, 21)
KEY_TIMEOUT = 10.0
PATH_BOX, LOCATION_FIELD = 0, 9


def tab_stops_in_reading_order(installer):
    """The controls standing directly in the window that Tab should visit, ordered by where they stand."""
    stops = []
    for number in CONTROL_NUMBERS:
        control = installer.control(number)
        if (control["exists"] and control["depth"] == 1 and control["style"] & WS_TABSTOP
                and control["visible"] and control["enabled"]):
            stops.append((control["rect"]["y"], control["rect"]["x"], number))
    return [number for _, _, number in sorted(stops)]


def focused(installer):
    """The number of the control standing directly in the window that holds the focus, or None."""
    ids = installer.focus()["focus_ids"]
    return ids[-1] if ids else None


class Keyboard(InstallerTest):

    def press_key(self, installer, key):
        """Presses `key` and returns the control that then has the focus, once the focus has moved."""
        before = focused(installer)
        installer.environment.key(key)
        return poll(lambda: focused(installer), lambda now: now != before, timeout=KEY_TIMEOUT)

    def tab_to(self, installer, number):
        for _ in CONTROL_NUMBERS:
            if focused(installer) == number:
                return
            self.press_key(installer, "Tab")
        self.fail("Tab never reached control %d" % number)

    def assert_tab_order(self, installer, screen):
        installer.activate()
        expected = tab_stops_in_reading_order(installer)
        self.assertGreater(len(expected), 1, "%s has too few tab stops" % screen)
        # Start from the first stop; the screen may open with the focus anywhere.
        if focused(installer) not in expected:
            self.press_key(installer, "Tab")
        self.tab_to(installer, expected[0])
        forward = [self.press_key(installer, "Tab") for _ in expected]
        self.assertEqual(forward, expected[1:] + expected[:1], "Tab on %s" % screen)
        backward = [self.press_key(installer, "shift+Tab") for _ in expected]
        self.assertEqual(backward, list(reversed(expected)), "Shift+Tab on %s" % screen)

    def test_tab_order_and_activation_by_keys_on_every_screen(self):
        installer = self.start_at_agreement()
        for key, button, caption in [("Return", 3, CAPTION_LOCATION),   # AGREE
                                     ("space", 3, CAPTION_AGREEMENT),   # BACK
                                     ("space", 3, CAPTION_LOCATION),    # AGREE
                                     ("Return", 4, CAPTION_VERIFY),     # NEXT
                                     ("Return", 3, CAPTION_LOCATION),   # BACK
                                     ("space", 4, CAPTION_VERIFY),      # NEXT
                                     ("Return", 4, CAPTION_EXTRACTION)]:  # INSTALL
            screen = installer.window()["caption"]
            with self.subTest(screen=screen, key=key, button=button):
                self.assert_tab_order(installer, screen)
                if screen == CAPTION_LOCATION:
                    self.tab_to(installer, PATH_BOX)
                    self.assertEqual(installer.focus()["focus_ids"][0], LOCATION_FIELD,
                                     "Tab stops in the field, not on the box around it")
                self.tab_to(installer, button)
                installer.environment.key(key)
                installer.wait_window_gone(screen)
                self.wait_screen(installer, caption)
        self.wait_installed(installer)
        self.assert_tab_order(installer, "the extraction report")
        self.tab_to(installer, 3)
        installer.environment.key("Return")
        self.wait_screen(installer, CAPTION_EXTRACTION, fresh=True)
        self.assert_tab_order(installer, "the finish screen")
        self.tab_to(installer, 3)
        installer.environment.key("space")
        self.assert_ended(installer)
