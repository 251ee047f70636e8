"""Step 5, the finish screen: its controls and text, GAME LOCATION's message box (modal, the same message
every time), and QUIT."""

import os

import kw
from wizard import CAPTION_FINISH, PAYLOAD, InstallerTest, default_location, lines, poll

FINISH = [
    "To play the game, just navigate to the location where you installed the game onto your",
    "hard drive. Once there, double click the game's icon ('PlayKestrowin.exe') which looks",
    "little green button with some balls inside a pool rack.",
    "",
    "Any questions, problems, or comments can be directed to Brallowen at:",
    None,
    "Thanks for taking a look at my game and I hope you enjoy it!",
    "",
    "If needed, select 'GAME LOCATION' to remind you of the full path as to where you have",
    "installed the game to ...",
]
CONTACT = r"^E-Mail: [^@\s]+@[^@\s]+\.\S+  Website: \S+\.\S+$"
HINT = "Select 'QUIT' to finish ..."
IDOK = 1


def location_message(location):
    return lines("The full path of the game is located here:", "", location, "",
                 "You will need to remember this location in order to start the game ...")


class FinishScreen(InstallerTest):

    def test_controls_and_texts(self):
        installer = self.start_at_finish()
        self.assertEqual(installer.window()["caption"], CAPTION_FINISH)
        for number, kind, rect, text in [
            (1, "Static", (0, 0, 530, 100), None),
            (5, "Static", (20, 120, 490, 250), None),
            (8, "Static", (260, 370, 140, 20), HINT),
            (2, "Button", (20, 370, 120, 20), "GAME LOCATION"),
            (3, "Button", (410, 370, 100, 20), "QUIT"),
        ]:
            with self.subTest(control=number):
                self.assert_control(installer, number, kind, rect, text)
        shown = installer.text(5).split("\r\n")
        self.assertEqual(len(shown), len(FINISH), shown)
        for number, (want, got) in enumerate(zip(FINISH, shown), start=1):
            with self.subTest(line=number):
                if want is None:
                    self.assertRegex(got, CONTACT)
                else:
                    self.assertEqual(got, want)

    def message_box_text(self, installer):
        texts = [c.get("text", "") for c in installer.dialog_controls() if c["class"] == "Static"]
        return max(texts, key=len) if texts else None

    def test_game_location_shows_the_same_message_every_time(self):
        # A destination of more than 200 characters, to be shown whole, with no break put into it.
        workdir = self.new_workdir()
        while len(kw.windows_path(workdir)) < 200:
            workdir = os.path.join(workdir, "a longer way to the games folder")
        os.makedirs(workdir)
        installer = self.start_at_finish(workdir)
        expected = location_message(default_location(installer))
        for press in (1, 2, 3):
            with self.subTest(press=press):
                installer.click(2)
                box = installer.wait_dialog("Game Location")
                self.visit(installer, "step5_game_location", box)
                self.assertFalse(box["target_enabled"], "the finish screen takes no input meanwhile")
                self.assertEqual(self.message_box_text(installer), expected)
                buttons = [c for c in installer.dialog_controls() if c["class"] == "Button"]
                self.assertEqual([b.get("text") for b in buttons if b["visible"]], ["OK"])
                installer.dialog_press(IDOK)
                installer.wait_dialog_gone()
                window = poll(installer.window, lambda w: w["enabled"])
                self.assertTrue(window["enabled"], "the finish screen answers again after OK")
        self.assertIsNone(installer.process.poll(), "the finish screen stays until QUIT")

    def test_quit_while_the_message_box_stands_does_nothing(self):
        installer = self.start_at_finish()
        installer.click(2)
        installer.wait_dialog("Game Location")
        installer.real_click(3)
        installer.dialog_press(IDOK)
        installer.wait_dialog_gone()
        window = poll(installer.window, lambda w: w["enabled"])
        self.assertTrue(window["enabled"])
        self.assertIsNone(installer.process.poll(), "QUIT was not taken while the box stood")
        installer.real_click(3)
        self.assert_ended(installer)

    def test_quit_ends_with_code_0_and_leaves_the_game(self):
        installer = self.start_at_finish()
        installer.click(3)
        self.assert_ended(installer)
        game = os.path.join(installer.workdir, "Kestrowin")
        self.assertEqual(sorted(os.listdir(game)), sorted(PAYLOAD))
