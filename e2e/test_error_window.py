"""The error window after a failed installation: its look and text for each failure, OK back to the
location screen with the default destination, a retry that succeeds once the cause is mended, and closing
the window. The disks are real: a small tmpfs that fills up, read-only bind mounts."""

import os
import subprocess
import unittest

import kw
from wizard import (CAPTION_ERROR, CAPTION_EXTRACTION, CAPTION_LOCATION, CAPTION_VERIFY, GREEN, PAYLOAD,
                    WHITE, InstallerTest, assert_holds_the_payload, default_location, lines, snapshot)

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


REMOVE = lines(
    "Hmmm? I can't seem to remove the old 'Kestrowin'",
    "folder inside the location you have chosen. A file",
    "in it may be read-only or still in use by another",
    "program.",
    "",
    *RETURN)

AS_ROOT = unittest.skipUnless(os.geteuid() == 0, "mounting a file system needs root")


def mount(*args):
    subprocess.run(["mount", *args], check=True)


def write(path, text="kept as it was\n"):
    with open(path, "w") as handle:
        handle.write(text)


class ErrorWindow(InstallerTest):

    def mounted(self, *args):
        """Mounts with `args` (the mount point last) and unmounts in the cleanup, whatever happens.
        Called before the installer starts, so that the installer has ended when the mount goes."""
        mount(*args)
        self.addCleanup(subprocess.run, ["umount", "-l", args[-1]], stderr=subprocess.DEVNULL, check=False)

    def retry(self, installer, location=None, game=None):
        """On the location screen after OK: `location` typed unless None, NEXT, INSTALL, and a
        successful installation whose game folder `game` holds the payload."""
        if location is not None:
            installer.set_text(9, location)
        self.leave(installer, CAPTION_LOCATION, 4, CAPTION_VERIFY)
        self.leave(installer, CAPTION_VERIFY, 4, CAPTION_EXTRACTION)
        self.wait_installed(installer)
        assert_holds_the_payload(self, game or os.path.join(installer.workdir, "Kestrowin"))

    def fail_install(self, installer, location=None, before_install=None):
        """From the location screen: `location` typed unless None, NEXT, `before_install` run on the
        verify screen when given, INSTALL, and the error window."""
        if location is not None:
            installer.set_text(9, location)
        self.leave(installer, CAPTION_LOCATION, 4, CAPTION_VERIFY)
        if before_install:
            before_install()
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
        os.remove(in_the_way)
        self.retry(installer)

    @AS_ROOT
    def test_a_full_disk_during_extraction(self):
        workdir = self.new_workdir()
        # Room for half the game: whatever the payload weighs, a write comes out short.
        game_size = sum(os.path.getsize(kw.payload_file(name)) for name in PAYLOAD)
        size = "size=%dk" % max(64, game_size // 2 // 1024)
        self.mounted("-t", "tmpfs", "-o", size, "tmpfs", workdir)
        installer = self.start_at_location(workdir)
        self.fail_install(installer)
        self.assert_error_window(installer, SAVE)
        self.dismiss(installer)
        self.assertTrue(os.path.isdir(os.path.join(workdir, "Kestrowin")),
                        "the partly filled game folder stays")
        # Room made: the retry removes the partly filled folder and installs the whole game.
        mount("-o", "remount,size=%dk" % (2 * game_size // 1024 + 1024), workdir)
        self.retry(installer)

    def test_each_failure_then_a_retry_that_succeeds(self):
        for case in (self.case_destination_removed_after_it_was_chosen, self.case_emptied_field,
                     self.case_read_only_destination, self.case_earlier_game_folder_partly_read_only,
                     self.case_earlier_game_folder_holding_a_link_out_of_it):
            with self.subTest(case=case.__name__[len("case_"):]):
                case()

    def run_failure(self, workdir, text, location=None, before_install=None, watched=None):
        """The installer started in `workdir` fails (see fail_install) with `text` in the error window;
        OK leads back to the default. Entries under `watched` (a folder) stay as they were. Returns the
        installer on the location screen."""
        before = snapshot(watched) if watched else None
        installer = self.start_at_location(workdir)
        self.fail_install(installer, location, before_install)
        self.assert_error_window(installer, text)
        self.dismiss(installer)
        if watched:
            self.assertEqual(snapshot(watched), before, "entries changed by the failed installation")
        return installer

    def case_destination_removed_after_it_was_chosen(self):
        workdir = self.new_workdir()
        chosen = os.path.join(workdir, "chosen")
        os.mkdir(chosen)
        location = kw.windows_path(chosen) + "\\"
        installer = self.run_failure(workdir, LOCATE, location, before_install=lambda: os.rmdir(chosen))
        self.assertEqual(os.listdir(workdir), [], "nothing created")
        os.mkdir(chosen)
        self.retry(installer, location, os.path.join(chosen, "Kestrowin"))

    def case_emptied_field(self):
        workdir = self.new_workdir()
        installer = self.run_failure(workdir, LOCATE, "", watched=workdir)
        self.retry(installer)

    @AS_ROOT
    def case_read_only_destination(self):
        workdir = self.new_workdir()
        self.mounted("--bind", workdir, workdir)
        mount("-o", "remount,ro,bind", workdir)
        installer = self.run_failure(workdir, CREATE, watched=workdir)
        mount("-o", "remount,rw,bind", workdir)
        self.retry(installer)

    @AS_ROOT
    def case_earlier_game_folder_partly_read_only(self):
        # Only what the removal reaches may go, and only inside the game folder: the read-only part
        # stays, and so does every entry beside the game folder.
        workdir = self.new_workdir()
        write(os.path.join(workdir, "beside.txt"))
        saves = os.path.join(workdir, "Kestrowin", "saves")
        os.makedirs(saves)
        write(os.path.join(saves, "slot1.dat"))
        self.mounted("--bind", saves, saves)
        mount("-o", "remount,ro,bind", saves)
        outside = {k: v for k, v in snapshot(workdir).items() if not k.startswith("Kestrowin")}
        installer = self.run_failure(workdir, REMOVE, watched=saves)
        self.assertEqual({k: v for k, v in snapshot(workdir).items() if not k.startswith("Kestrowin")},
                         outside, "entries outside the game folder changed")
        subprocess.run(["umount", saves], check=True)
        self.retry(installer)
        self.assertTrue(os.path.isfile(os.path.join(workdir, "beside.txt")))

    def case_earlier_game_folder_holding_a_link_out_of_it(self):
        # Under Wine a link to a folder can be neither removed nor emptied through, so the removal
        # fails; what matters is that nothing behind the link is touched.
        workdir = self.new_workdir()
        target = os.path.join(self.new_workdir(), "kept")
        os.makedirs(os.path.join(target, "inner"))
        write(os.path.join(target, "precious.txt"))
        write(os.path.join(target, "inner", "deeper.txt"))
        game = os.path.join(workdir, "Kestrowin")
        os.mkdir(game)
        link = os.path.join(game, "shortcut")
        os.symlink(target, link)
        before = snapshot(target)
        installer = self.run_failure(workdir, REMOVE)
        self.assertEqual(snapshot(target), before, "the link's target was touched")
        os.remove(link)
        self.retry(installer)
        self.assertEqual(snapshot(target), before, "the link's target was touched")

    def test_closing_the_error_window_ends_with_code_0(self):
        installer = self.start_at_location()
        self.fail_install(installer, default_location(installer) + "missing\\")
        installer.close_request("sys-close")
        self.assert_ended(installer)
