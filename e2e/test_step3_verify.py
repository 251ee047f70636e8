"""Step 3, the verify screen: its controls and texts, the destination wrapped once after 70 characters,
and BACK."""

from wizard import (CAPTION_LOCATION, CAPTION_VERIFY, GREEN, WHITE, YELLOW, InstallerTest,
                    default_location, lines, wrap_path)

ADVICE = lines(
    "If this is correct, select 'INSTALL' to continue. If not, select 'BACK' to change.",
    "",
    "You will need about 9MB. of free disk space in order to install the game.")
HINT = "Select 'BACK' to change locations or 'INSTALL' to continue..."


def path_of_length(length):
    """A destination of exactly `length` characters whose 70th and 71st fall inside a folder name."""
    head = "Z:\\games\\"
    body = "".join("abcdefghij"[i % 10] for i in range(length - len(head) - 1))
    return (head + body + "\\")[:length]


class VerifyScreen(InstallerTest):

    def test_controls_and_texts(self):
        installer = self.start_at_verify()
        shown = default_location(installer)
        for number, kind, rect, text in [
            (1, "Static", (0, 0, 530, 100), None),
            (5, "Static", (20, 125, 490, 20), "You have chosen to install the game here:"),
            (6, "Static", (20, 145, 490, 40), wrap_path(shown)),
            (7, "Static", (20, 190, 490, 150), ADVICE),
            (8, "Static", (20, 345, 490, 20), HINT),
            (3, "Button", (20, 370, 100, 20), "BACK"),
            (4, "Button", (410, 370, 100, 20), "INSTALL"),
        ]:
            with self.subTest(control=number):
                self.assert_control(installer, number, kind, rect, text)

    def test_the_destination_alone_is_yellow(self):
        installer = self.start_at_verify()
        self.assertEqual(set(self.colours_of(installer, 6)), {GREEN, YELLOW})
        for number in (5, 7, 8):
            with self.subTest(label=number):
                self.assertEqual(set(self.colours_of(installer, number)), {GREEN, WHITE})

    def test_destination_is_broken_once_after_70_characters(self):
        installer = self.start_at_location()
        for length, first, second in [(70, 70, None), (71, 70, 1), (150, 70, 80), (200, 70, 130),
                                      (3, 3, None)]:
            with self.subTest(length=length):
                path = path_of_length(length)
                self.assertEqual(len(path), length)
                installer.set_text(9, path)
                self.leave(installer, CAPTION_LOCATION, 4, CAPTION_VERIFY)
                self.visit(installer, "step3_verify_wrapped")
                shown = installer.text(6).split("\r\n")
                self.leave(installer, CAPTION_VERIFY, 3, CAPTION_LOCATION)
                expected = [path[:first]] + ([] if second is None else [path[first:]])
                self.assertEqual(shown, expected)
                self.assertEqual([len(line) for line in shown], [first] + ([second] if second else []))
