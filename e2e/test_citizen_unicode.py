"""Destinations beyond ASCII and beyond 260 characters, typed into the field: the game lands byte for byte
in <destination>Kestrowin\\ with the screens showing the path as typed and broken after its 70th
character (not byte), and a destination too long for the system is reported, never half installed."""

import os

import kw
import wizard
from test_error_window import LOCATE
from wizard import (CAPTION_ERROR, CAPTION_EXTRACTION, CAPTION_LOCATION, CAPTION_VERIFY, InstallerTest,
                    assert_holds_the_payload, poll, wrap_path)

BREAK_AFTER = 70


def destination(base, padding_to, names):
    """A folder under `base` made of a padding folder and `names`, the padding chosen so that the
    `padding_to`th character of the typed path is the first of `names`; returns the folder and the path as
    typed, with a final backslash."""
    prefix = kw.windows_path(base) + "\\"
    padding = "p" * max(1, padding_to - len(prefix) - 2)
    folder = os.path.join(base, padding, *names)
    os.makedirs(folder)
    return folder, kw.windows_path(folder) + "\\"


class UnicodeAndLongDestinations(InstallerTest):

    def install_to(self, installer, typed):
        """Types `typed` on the location screen and goes on to the end of the installation or to the
        error window; returns the caption it came to."""
        installer.set_text(9, typed)
        self.leave(installer, CAPTION_LOCATION, 4, CAPTION_VERIFY)
        shown = installer.text(6)
        installer.click(4)
        installer.wait_window_gone(CAPTION_VERIFY)

        def standing():
            for caption in (CAPTION_EXTRACTION, CAPTION_ERROR):
                if installer.driver.ask("wait-window", 0, text=caption).get("ok"):
                    return caption
            return None

        caption = poll(standing, lambda c: c is not None, timeout=wizard.INSTALL_TIMEOUT)
        self.assertIsNotNone(caption, "neither the extraction screen nor the error window appeared")
        self.wait_screen(installer, caption)
        return shown, caption

    def test_destinations_with_accents_cyrillic_and_cjk_install_byte_identical(self):
        for names, starts_at in [(["Zoë", "Игры"], BREAK_AFTER - 4),
                                 (["游戏", "フォルダ", "게임"], BREAK_AFTER - 1)]:
            with self.subTest(names=names):
                base = wizard.ENVIRONMENT.workdir("u")
                folder, typed = destination(base, starts_at, names)
                self.assertGreater(len(typed.encode("utf-8")), len(typed), "the path is not ASCII")
                installer = self.start_at_location()
                shown, caption = self.install_to(installer, typed)
                self.assertEqual(shown, wrap_path(typed), "the verify screen's destination")
                self.assertEqual(caption, CAPTION_EXTRACTION, "the installation failed")
                self.wait_installed(installer)
                self.visit(installer, "step4_installed_unicode")
                self.assertEqual(installer.text(7), wrap_path(typed + "Kestrowin\\"),
                                 "the extraction screen's game folder")
                assert_holds_the_payload(self, os.path.join(folder, "Kestrowin"))
                installer.close_request("close")
                self.assert_ended(installer)

    def test_destinations_beyond_260_characters_install_whole_or_are_reported(self):
        for length in (250, 300):
            with self.subTest(length=length):
                base = wizard.ENVIRONMENT.workdir("long")
                prefix = kw.windows_path(base) + "\\"
                names = []
                while len(prefix) + sum(len(n) + 1 for n in names) < length:
                    names.append("Подпапка-" + "x" * 20)
                folder = os.path.join(base, *names)
                os.makedirs(folder)
                typed = kw.windows_path(folder) + "\\"
                self.assertGreaterEqual(len(typed), length)
                installer = self.start_at_location()
                _, caption = self.install_to(installer, typed)
                if caption == CAPTION_ERROR:
                    self.assertEqual(installer.text(14), LOCATE)
                    self.assertEqual(os.listdir(folder), [], "nothing is left of the game")
                else:
                    self.wait_installed(installer)
                    assert_holds_the_payload(self, os.path.join(folder, "Kestrowin"))
                installer.close_request("close")
                self.assert_ended(installer)
