"""The error window after a failed installation: its look and text for each of the three failures, OK
back to the location screen with the default destination, and closing it."""

import os
import subprocess
import unittest

import kw
from wizard import (CAPTION_ERROR, CAPTION_LOCATION, CAPTION_VERIFY, GREEN, PAYLOAD, WHITE,
                    InstallerTest, default_location, lines)

LOCATE = lines(
    "I can't locate the directory that you have chosen ...",
    "",
    "I'm returning you to where you can select the location",
    "again. If you still have problems, try keeping the",
    "initial default location the same.",
    "",
    "Select 'OK' To try again ...")

RETURN = [
    "I am returning you to where you can select the",
    "location again. If you still experience problems",
    "then try leaving the location set to the default.",
    "",
    "Select 'OK' to try it again ...",
]

CREATE = lines(
    "Hmmm? I can't seem to create the 'Game' folder",
    "inside the location you have chosen. It could",
    "be that you don't have 'Administrative Rights'",
    "to save data to that location.",
    "",
    *RETURN)

SAVE = lines(
    "Hmmm? I can't seem to save any data. It could",
    "be that you don't have 'Administrative Rights'",
    "to save data to that location or the area is full.",
    "You need about 9 MB. of free space to install",
    "",
    *RETURN)


class ErrorWindow(InstallerTest):

    def fail_install(self, installer, location=None):
        """From the location screen: `location` typed unless None, NEXT, INSTALL, and the error window."""
        if location is not None:
            installer.set_text(9, location)
        self.leave(installer, CAPTION_LOCATION, 4, CAPTION_VERIFY)
        self.leave(installer, CAPTION_VERIFY, 4, CAPTION_ERROR)
        self.visit(installer, "error_window")

    def assert_error_window(self, installer, text):
        info = installer.window()
        self.assertEqual(info["caption"], CAPTION_ERROR)
        self.assertEqual((info["client_width"], info["client_height"]), (470, 295))
        for number, kind, rect, label in [
            (12, "Static", (0, 0, 470, 47), None),
            (13, "Static", (0, 47, 144, 247), None),
            (14, "Static", (154, 50, 306, 204), text),
            (15, "Button", (258, 270, 100, 20), "OK"),
        ]:
            with self.subTest(control=number):
                self.assert_control(installer, number, kind, rect, label)
        self.assertEqual(set(self.ground_colours(installer, (154, 256, 316, 12))), {GREEN},
                         "the window's ground between the text and OK")
        self.assertEqual(set(self.colours_of(installer, 14)), {GREEN, WHITE}, "white text on green")

    def dismiss(self, installer):
        installer.click(15)
        installer.wait_window_gone(CAPTION_ERROR)
        self.wait_screen(installer, CAPTION_LOCATION)
        self.assertEqual(installer.text(9), default_location(installer))

    def test_a_missing_destination_is_reported_every_time(self):
        installer = self.start_at_location()
        missing = default_location(installer) + "gone away\\"
        for attempt in (1, 2):
            with self.subTest(attempt=attempt):
                self.fail_install(installer, missing)
                self.assert_error_window(installer, LOCATE)
                self.dismiss(installer)
        self.assert_empty_folder(installer.workdir)

    def test_a_file_in_the_way_of_the_game_folder(self):
        workdir = self.new_workdir()
        in_the_way = os.path.join(workdir, "Kestrowin")
        with open(in_the_way, "w") as handle:
            handle.write("a file, not a folder")
        installer = self.start_at_location(workdir)
        self.fail_install(installer)
        self.assert_error_window(installer, CREATE)
        self.dismiss(installer)
        self.assertTrue(os.path.isfile(in_the_way), "the file in the way is left alone")

    @unittest.skipUnless(os.geteuid() == 0, "a small file system needs root to mount")
    def test_a_full_disk_during_extraction(self):
        workdir = self.new_workdir()
        # Room for half the game: whatever the payload weighs, a write comes out short.
        room = sum(os.path.getsize(kw.payload_file(name)) for name in PAYLOAD) // 2
        size = "size=%dk" % max(64, room // 1024)
        subprocess.run(["mount", "-t", "tmpfs", "-o", size, "tmpfs", workdir], check=True)
        self.addCleanup(subprocess.run, ["umount", "-l", workdir], check=False)
        installer = self.start_at_location(workdir)
        self.fail_install(installer)
        self.assert_error_window(installer, SAVE)
        self.dismiss(installer)
        self.assertTrue(os.path.isdir(os.path.join(workdir, "Kestrowin")),
                        "the partly filled game folder stays")

    def test_closing_the_error_window_ends_with_code_0(self):
        installer = self.start_at_location()
        self.fail_install(installer, default_location(installer) + "missing\\")
        installer.close_request("sys-close")
        self.assert_ended(installer)
