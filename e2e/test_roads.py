"""Whole roads through the wizard: the full installation driven by a person's mouse clicks, which creates
the game folder and nothing else anywhere, and a destination typed by hand without a final backslash."""

import os

import kw
from test_step5_finish import location_message
from wizard import (CAPTION_AGREEMENT, CAPTION_EXTRACTION, CAPTION_FINISH, CAPTION_LOCATION, CAPTION_VERIFY,
                    PAYLOAD, InstallerTest, assert_holds_the_payload, default_location, poll, snapshot,
                    wrap_path)

DONE = "No errors! ... The game is installed and ready to play ..."


def game_entries(folder):
    """The entries a game folder at `folder` (relative to a snapshot's root) adds to the snapshot."""
    return {folder} | {os.path.join(folder, name) for name in PAYLOAD}


class FullRoad(InstallerTest):

    def assert_only_the_game_was_added(self, before, after, game):
        self.assertEqual(sorted(set(after) - set(before)), sorted(game_entries(game)),
                         "entries created besides the game folder")
        self.assertEqual({path: after.get(path) for path in before}, before,
                         "entries changed or removed outside the game folder")

    def click_message_box_ok(self, installer):
        """A real click on the message box's OK button."""
        ok = [c for c in installer.dialog_controls()
              if c["class"] == "Button" and c["visible"] and c.get("text") == "OK"]
        self.assertEqual(len(ok), 1, "the message box has one OK button")
        screen = ok[0]["screen"]
        installer.environment.click_at(screen["x"] + screen["width"] // 2, screen["y"] + screen["height"] // 2)

    def test_agree_next_install_next_quit_by_real_clicks(self):
        # The destination stands beside other entries, all watched, and so is the installer's own folder.
        parent = self.new_workdir()
        workdir = os.path.join(parent, "games")
        os.mkdir(workdir)
        for path in (os.path.join(parent, "beside.txt"), os.path.join(workdir, "mine.txt")):
            with open(path, "w") as handle:
                handle.write("not the installer's\n")
        own_folder = os.path.dirname(kw.INSTALLER)
        before = {parent: snapshot(parent), own_folder: snapshot(own_folder)}

        installer = self.start_at_agreement(workdir)
        self.walk(installer, CAPTION_AGREEMENT, 3, CAPTION_LOCATION)
        self.visit(installer, "step2_location")
        self.assertEqual(installer.text(9), default_location(installer))
        self.walk(installer, CAPTION_LOCATION, 4, CAPTION_VERIFY)
        self.visit(installer, "step3_verify")
        self.walk(installer, CAPTION_VERIFY, 4, CAPTION_EXTRACTION)
        self.wait_installed(installer)
        self.assertEqual(installer.text(5), DONE, "the status line's last text")
        self.assertEqual(installer.progress(10)["pos"], 100)
        rows = poll(lambda: installer.list_rows(11), lambda r: len(r) == 1 + len(PAYLOAD))
        self.assertEqual([rows[0][0]] + sorted(row[0] for row in rows[1:]), [".."] + sorted(PAYLOAD))

        self.walk(installer, CAPTION_EXTRACTION, 3, CAPTION_FINISH)
        self.visit(installer, "step5_finish")
        messages = []
        for _ in range(2):
            installer.real_click(2)
            box = installer.wait_dialog("Game Location")
            texts = [c.get("text", "") for c in installer.dialog_controls() if c["class"] == "Static"]
            messages.append(max(texts, key=len))
            self.visit(installer, "step5_game_location", box)
            self.click_message_box_ok(installer)
            installer.wait_dialog_gone()
            self.assertTrue(poll(installer.window, lambda w: w["enabled"])["enabled"])
        self.assertEqual(messages, [location_message(default_location(installer))] * 2)
        installer.real_click(3)
        self.assert_ended(installer)

        assert_holds_the_payload(self, os.path.join(workdir, "Kestrowin"))
        self.assert_only_the_game_was_added(before[parent], snapshot(parent), os.path.join("games", "Kestrowin"))
        self.assertEqual(snapshot(own_folder), before[own_folder], "the installer's own folder changed")

    def test_a_destination_typed_without_a_final_backslash_holds_the_game(self):
        parent = self.new_workdir()
        start, typed_folder = os.path.join(parent, "start"), os.path.join(parent, "typed")
        os.mkdir(start)
        os.mkdir(typed_folder)
        before = snapshot(parent)
        typed = kw.windows_path(typed_folder)
        self.assertFalse(typed.endswith("\\"))

        installer = self.start_at_location(start)
        installer.set_text(9, typed)
        self.leave(installer, CAPTION_LOCATION, 4, CAPTION_VERIFY)
        self.assertEqual(installer.text(6), wrap_path(typed), "shown as typed")
        self.leave(installer, CAPTION_VERIFY, 4, CAPTION_EXTRACTION)
        self.wait_installed(installer)
        self.assertEqual(installer.text(7), wrap_path(typed + "\\Kestrowin\\"))

        assert_holds_the_payload(self, os.path.join(typed_folder, "Kestrowin"))
        self.assert_only_the_game_was_added(before, snapshot(parent), os.path.join("typed", "Kestrowin"))
