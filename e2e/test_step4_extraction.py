"""Step 4, the extraction screen with the installation itself: the report after a success, the folder
list, the installed files byte for byte, an earlier game folder replaced, and what a user does while the
installation runs."""

import math
import os
import shutil
import tempfile

import kw
from wizard import (CAPTION_EXTRACTION, CAPTION_FINISH, GREEN, PAYLOAD, YELLOW, InstallerTest,
                    assert_holds_the_payload, default_location, poll, wrap_path)

LVS_REPORT = 0x0001
LVS_TYPEMASK = 0x0003
LVS_SINGLESEL = 0x0004
WS_EX_CLIENTEDGE = 0x00000200

DONE = "No errors! ... The game is installed and ready to play ..."
CREATED = "The following Files/Folders were created inside this location:"
HINT = "Select 'NEXT' to continue ..."


class Installation(InstallerTest):


    def test_full_install_reports_success_and_writes_the_payload(self):
        installer = self.start_install()
        self.wait_installed(installer)
        game_path = default_location(installer) + "Kestrowin\\"

        self.assertEqual(installer.window()["caption"], CAPTION_EXTRACTION)
        for number, kind, rect, text in [
            (1, "Static", (0, 0, 530, 100), None),
            (5, "Static", (20, 120, 490, 20), DONE),
            (6, "Static", (20, 170, 490, 20), CREATED),
            (7, "Static", (20, 190, 490, 40), wrap_path(game_path)),
            (8, "Static", (240, 370, 160, 20), HINT),
            (3, "Button", (410, 370, 100, 20), "NEXT"),
            (10, "msctls_progress32", (20, 140, 490, 20), None),
        ]:
            with self.subTest(control=number):
                self.assert_control(installer, number, kind, rect, text)
        self.assertEqual(set(self.colours_of(installer, 7)), {GREEN, YELLOW}, "the game folder in yellow")
        bar = installer.progress(10)
        self.assertEqual((bar["low"], bar["high"], bar["pos"]), (0, 100, 100))

        listing = installer.control(11)
        self.assertTrue(listing["exists"], "the folder list is missing")
        self.assertEqual(tuple(listing["rect"][k] for k in ("x", "y", "width", "height")),
                         (20, 230, 490, 130))
        self.assertTrue(listing["visible"])

        assert_holds_the_payload(self, os.path.join(installer.workdir, "Kestrowin"))

    def test_folder_list_shows_the_parent_entry_then_the_files(self):
        installer = self.start_install()
        self.wait_installed(installer)
        view = installer.columns(11)
        self.assertEqual([(c["text"], c["width"]) for c in view["columns"]],
                         [("Name", 100), ("Size", 100), ("Type", 100), ("Modified", 100)])
        self.assertEqual(view["style"] & LVS_TYPEMASK, LVS_REPORT, "a details view")
        self.assertTrue(view["style"] & LVS_SINGLESEL, "single selection")
        self.assertTrue(view["exstyle"] & WS_EX_CLIENTEDGE, "a sunken border")
        rows = poll(lambda: installer.list_rows(11), lambda r: len(r) == 1 + len(PAYLOAD))
        self.assertEqual(rows[0][0], "..")
        self.assertEqual(sorted(row[0] for row in rows[1:]), sorted(PAYLOAD))
        for row in rows[1:]:
            with self.subTest(file=row[0]):
                size = os.path.getsize(kw.payload_file(row[0]))
                self.assertEqual(row[1], "%d KB" % math.ceil(size / 1024))
                self.assertTrue(row[3], "the time of the last change is shown")

    def test_an_earlier_game_folder_is_replaced(self):
        installer_dir = self.new_workdir()
        old = os.path.join(installer_dir, "Kestrowin")
        os.makedirs(os.path.join(old, "saves", "deep"))
        for name in ("old.txt", "saves/slot1.dat", "saves/deep/x.bin", PAYLOAD[3]):
            with open(os.path.join(old, name), "w") as handle:
                handle.write("left from before\n" * 300)
        beside = os.path.join(installer_dir, "kestrowin-notes.txt")
        with open(beside, "w") as handle:
            handle.write("not the game folder")
        installer = self.start_install(workdir=installer_dir)
        self.wait_installed(installer)
        assert_holds_the_payload(self, old)
        self.assertTrue(os.path.exists(beside), "an entry beside the game folder is left alone")

    def test_game_folder_path_is_broken_once_after_70_characters(self):
        for length in (70, 71, 150):
            with self.subTest(game_path_length=length):
                # A short base outside the build tree, so that even 70 characters can be reached.
                base = tempfile.mkdtemp(prefix="kw", dir="/tmp")
                self.addCleanup(shutil.rmtree, base, True)
                destination = os.path.join(base, "p" * (length - len(kw.windows_path(base)) - 12))
                os.mkdir(destination)
                game_path = kw.windows_path(destination) + "\\Kestrowin\\"
                self.assertEqual(len(game_path), length)
                installer = self.start_install(workdir=destination)
                self.wait_installed(installer)
                self.assertEqual(installer.text(7), wrap_path(game_path))

    def test_close_request_after_the_installation_ends_with_code_0(self):
        installer = self.start_install()
        self.wait_installed(installer)
        installer.close_request("close")
        self.assert_ended(installer)


class InputDuringTheInstallation(InstallerTest):
    """The installation runs without handling messages, so what a user does meanwhile waits in the queue.
    Each road first makes sure that its input was given while NEXT was still greyed, that is, before the
    installation had ended."""

    def start_installing(self):
        """INSTALL by a real click; returns once the extraction screen's NEXT exists, and the point on the
        screen where INSTALL was, which is where NEXT stands."""
        installer = self.start_at_verify()
        place = installer.control(4)["screen"]
        point = (place["x"] + place["width"] // 2, place["y"] + place["height"] // 2)
        installer.environment.click_at(*point)
        installer.wait_window(CAPTION_EXTRACTION)
        installer.wait_control(3)
        return installer, point

    def assert_still_installing(self, installer):
        self.assertFalse(installer.state(3)["enabled"], "the installation had ended before the input")

    def test_next_clicked_while_it_runs_is_not_taken(self):
        installer, point = self.start_installing()
        installer.environment.click_at(*point)
        self.assert_still_installing(installer)
        self.wait_installed(installer)
        self.assertEqual(installer.text(5), "No errors! ... The game is installed and ready to play ...")
        self.assertTrue(installer.state(10)["exists"], "the extraction screen stays")
        # Had the early click been taken, this one would land on QUIT of the finish screen.
        installer.environment.click_at(*point)
        self.wait_screen(installer, CAPTION_FINISH, fresh=True)
        self.assertEqual(installer.text(3), "QUIT")
        self.assertIsNone(installer.process.poll(), "the finish screen stands")

    def test_a_close_request_while_it_runs_ends_the_program_after_it(self):
        # Real keys cannot serve here: the window manager hands the focus to the new window only once
        # the installer answers, after the installation.
        for request in ("close", "sys-close"):
            with self.subTest(request=request):
                installer, _ = self.start_installing()
                installer.close_request(request)
                self.assert_still_installing(installer)
                self.assert_ended(installer)
                assert_holds_the_payload(self, os.path.join(installer.workdir, "Kestrowin"))
