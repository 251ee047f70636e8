"""Step 2, the location screen: the default destination in its field, the folder chooser behind CHANGE
(confirmed and cancelled), BACK, and NEXT with a chosen or a typed destination."""

import os

import kw
from wizard import (CAPTION_AGREEMENT, CAPTION_LOCATION, CAPTION_VERIFY, InstallerTest, default_location,
                    lines, offset_in, poll, wrap_path)

NOTE = lines(
    "Select the 'CHANGE' button to choose another location if needed. Please note that you",
    "may need 'Administrative Privileges' to do so depending on your security settings.")
HINT = "Select 'BACK' to review the software agreement or 'NEXT' to continue ..."

IDOK, IDCANCEL = 1, 2


class LocationScreen(InstallerTest):

    def test_controls_and_the_default_destination(self):
        installer = self.start_at_location()
        info = installer.window()
        self.assertEqual((info["client_width"], info["client_height"]), (530, 400))

        box = installer.control(0)
        self.assertTrue(box["exists"], "the path box is missing")
        self.assertEqual(tuple(box["rect"][k] for k in ("x", "y", "width", "height")), (20, 147, 370, 40))
        field = installer.control(9)
        self.assertTrue(field["exists"], "the location field is missing")
        self.assertEqual(field["class"], "Edit")
        self.assertGreater(field["depth"], box["depth"], "the field lies inside the path box")
        self.assertEqual((field["rect"]["width"], field["rect"]["height"]), (650, 24))
        self.assertEqual(offset_in(installer, 0, 9, (0, 0)), (0, 0))
        self.assertEqual(field["text"], default_location(installer))

        for number, kind, rect, text in [
            (1, "Static", (0, 0, 530, 100), None),
            (5, "Static", (20, 125, 490, 20), "The default location is here:"),
            (2, "Button", (400, 150, 110, 20), "CHANGE"),
            (7, "Static", (20, 190, 490, 140), NOTE),
            (8, "Static", (20, 340, 490, 20), HINT),
            (3, "Button", (20, 370, 100, 20), "BACK"),
            (4, "Button", (410, 370, 100, 20), "NEXT"),
        ]:
            with self.subTest(control=number):
                self.assert_control(installer, number, kind, rect, text)

    def test_back_returns_to_a_fresh_agreement_screen(self):
        installer = self.start_at_location()
        self.leave(installer, CAPTION_LOCATION, 3, CAPTION_AGREEMENT)
        terms = installer.control(6)
        box = installer.control(0)
        self.assertEqual(terms["screen"]["y"] - box["client_on_screen"]["y"], 5, "terms box at the top")
        self.leave(installer, CAPTION_AGREEMENT, 3, CAPTION_LOCATION)
        self.assertEqual(installer.text(9), default_location(installer))

    def test_next_takes_the_field_text_unchanged(self):
        installer = self.start_at_location()
        default = default_location(installer)
        for typed in ["Z:\\no\\such\\folder", default.rstrip("\\"), "", "  Z:\\spaced \\ "]:
            with self.subTest(typed=typed):
                installer.set_text(9, typed)
                self.leave(installer, CAPTION_LOCATION, 4, CAPTION_VERIFY)
                shown = installer.text(6)
                self.leave(installer, CAPTION_VERIFY, 3, CAPTION_LOCATION)
                self.assertEqual(shown, wrap_path(typed))
                self.assertEqual(installer.text(9), default, "every entry to step 2 shows the default")


class ChangeLocation(InstallerTest):

    def open_chooser(self, installer):
        installer.click(2)
        chooser = installer.wait_dialog()
        self.visit(installer, "step2_folder_chooser", chooser)
        return chooser

    def choose(self, installer, folder):
        """CHANGE, the folder opened in the chooser's tree, OK. (Wine's chooser takes its answer from the
        tree alone: a path typed into its box is not used.)"""
        self.open_chooser(installer)
        installer.dialog_tree_select(folder)
        installer.dialog_press(IDOK)
        installer.wait_dialog_gone()

    def field_becomes(self, installer, expected):
        return poll(lambda: installer.text(9), lambda t: t == expected)

    def test_chooser_is_modal_and_greys_back_and_next(self):
        installer = self.start_at_location()
        chooser = self.open_chooser(installer)
        self.assertTrue(chooser["owned_by_target"], "the chooser belongs to the installer's window")
        self.assertFalse(chooser["target_enabled"], "the installer's window takes no input meanwhile")
        self.assertFalse(installer.control(3)["enabled"], "BACK is greyed while the chooser is open")
        self.assertFalse(installer.control(4)["enabled"], "NEXT is greyed while the chooser is open")
        self.assertTrue(installer.control(2)["enabled"], "CHANGE stays enabled")
        installer.dialog_press(IDCANCEL)
        installer.wait_dialog_gone()
        for number in (3, 4):
            with self.subTest(control=number):
                state = poll(lambda: installer.control(number), lambda c: c["enabled"])
                self.assertTrue(state["enabled"])

    def test_a_chosen_folder_fills_the_field_with_a_final_backslash(self):
        installer = self.start_at_location()
        chosen = os.path.join(installer.workdir, "chosen place")
        os.mkdir(chosen)
        self.choose(installer, chosen)
        expected = kw.windows_path(chosen) + "\\"
        self.assertEqual(self.field_becomes(installer, expected), expected)
        self.leave(installer, CAPTION_LOCATION, 4, CAPTION_VERIFY)
        self.assertEqual(installer.text(6), wrap_path(expected))
        self.leave(installer, CAPTION_VERIFY, 3, CAPTION_LOCATION)
        self.assertEqual(installer.text(9), default_location(installer), "the choice is forgotten")

    def test_cancel_falls_back_to_the_default(self):
        installer = self.start_at_location()
        default = default_location(installer)
        chosen = os.path.join(installer.workdir, "A")
        os.mkdir(chosen)
        for before in ("a folder chosen earlier", "a typed path"):
            with self.subTest(field_held=before):
                if before == "a typed path":
                    installer.set_text(9, "Z:\\typed\\by\\hand")
                else:
                    self.choose(installer, chosen)
                    expected = kw.windows_path(chosen) + "\\"
                    self.assertEqual(self.field_becomes(installer, expected), expected)
                self.open_chooser(installer)
                installer.dialog_press(IDCANCEL)
                installer.wait_dialog_gone()
                self.assertEqual(self.field_becomes(installer, default), default)
        self.leave(installer, CAPTION_LOCATION, 4, CAPTION_VERIFY)
        self.assertEqual(installer.text(6), wrap_path(default))
