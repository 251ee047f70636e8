"""Step 1, the agreement screen: its window, controls and texts, the terms box's scrolling, and the three
ways out of it (DECLINE, a close request, AGREE)."""

import re

from wizard import (BLACK, CAPTION_AGREEMENT, CAPTION_LOCATION, CLIENT_SIZE, GREEN, SCREEN_HEIGHT,
                    SCREEN_WIDTH, WHITE, InstallerTest, lines, offset_in, poll)

INTRO = lines(
    "Welcome! ... This will install the game onto your computer. Please read carefully the",
    "section below and press 'AGREE' to continue with the installation.")

CONSENT = lines(
    "By selecting 'AGREE', you have read and understood the terms listed above and consent",
    "to them. If not, select 'DECLINE' to quit the installation.")

# The two address lines (18 and 19) are the author's own; they are checked for their shape only.
TERMS = [
    "You must agree to ALL of the following listed below to install this software:",
    "",
    "A) You agree not to resell this game to anyone else without the expressed",
    "written consent of me, Brallowen.",
    "",
    "B) You ARE allowed to make back up copies of this game as well as install on",
    "more than one device as long as YOU are the sole user of that device.",
    "",
    "C) The software is provided 'AS IS', without warranty of any kind, expressed",
    "or implied. In no event should the author, Brallowen, be liable for any",
    "claim, damages, or other liablilties arising from or in connection with this",
    "software.",
    "",
    "If you have any questions about the above then please feel free to contact me",
    "at the following:",
    "",
    "Brallowen",
    None,
    None,
    "Thank you!",
]

TERMS_AT = (5, 5)          # label 6 in the inner area of container 0
INNER_HEIGHT = 330

WS_CAPTION = 0x00C00000
WS_SYSMENU = 0x00080000
WS_THICKFRAME = 0x00040000
WS_MINIMIZEBOX = 0x00020000
WS_MAXIMIZEBOX = 0x00010000
WS_VSCROLL = 0x00200000
WS_HSCROLL = 0x00100000
WS_EX_CLIENTEDGE = 0x00000200


class AgreementWindow(InstallerTest):

    def test_window_has_its_caption_size_style_and_place(self):
        installer = self.start_at_agreement()
        info = installer.window()
        self.assertEqual(info["caption"], CAPTION_AGREEMENT)
        self.assertEqual((info["client_width"], info["client_height"]), CLIENT_SIZE)
        self.assertEqual(installer.x_client_size(CAPTION_AGREEMENT), CLIENT_SIZE,
                         "size of the X window that shows the client area")

        style = info["style"]
        self.assertEqual(style & (WS_CAPTION | WS_SYSMENU), WS_CAPTION | WS_SYSMENU,
                         "title bar with system menu and close box")
        self.assertEqual(style & (WS_MINIMIZEBOX | WS_MAXIMIZEBOX | WS_THICKFRAME), 0,
                         "no minimise or maximise box, not resizable")

        self.assertEqual((info["screen_width"], info["screen_height"]), (SCREEN_WIDTH, SCREEN_HEIGHT))
        rect = info["window_rect"]
        self.assertLessEqual(abs(2 * rect["x"] + rect["width"] - SCREEN_WIDTH), 1, rect)
        self.assertLessEqual(abs(2 * rect["y"] + rect["height"] - SCREEN_HEIGHT), 1, rect)

    def test_controls_stand_where_the_screen_places_them(self):
        installer = self.start_at_agreement()
        box = installer.control(0)
        self.assertTrue(box["exists"], "the terms box is missing")
        self.assertEqual(box["depth"], 1, "the terms box is a child of the window itself")
        self.assertEqual(tuple(box["rect"][k] for k in ("x", "y", "width", "height")), (20, 165, 490, 160))
        self.assertTrue(box["exstyle"] & WS_EX_CLIENTEDGE, "the terms box has a sunken border")
        self.assertTrue(box["style"] & WS_VSCROLL, "the inner area is taller than the box")
        self.assertFalse(box["style"] & WS_HSCROLL, "the inner area is narrower than the box")

        terms = installer.control(6)
        self.assertTrue(terms["exists"], "the terms label is missing")
        self.assertEqual(terms["class"], "Static")
        self.assertGreater(terms["depth"], box["depth"], "the terms label lies inside the box")
        self.assertEqual((terms["rect"]["width"], terms["rect"]["height"]), (500, 330))
        self.assertEqual(offset_in(installer, 0, 6, TERMS_AT), (0, 0),
                         "the terms label at (5, 5) of the inner area, scrolled to the top")

        for number, kind, rect, text in [
            (1, "Static", (0, 0, 530, 100), None),
            (5, "Static", (20, 125, 490, 40), INTRO),
            (2, "Button", (20, 370, 100, 20), "DECLINE"),
            (3, "Button", (410, 370, 100, 20), "AGREE"),
            (7, "Static", (20, 330, 490, 40), CONSENT),
        ]:
            with self.subTest(control=number):
                self.assert_control(installer, number, kind, rect, text)

    def test_green_ground_white_labels_and_a_white_terms_box(self):
        installer = self.start_at_agreement()
        self.assertEqual(set(self.ground_colours(installer, (0, 392, 530, 8))), {GREEN},
                         "the window's ground below the buttons")
        for number in (5, 7):
            with self.subTest(label=number):
                self.assertEqual(set(self.colours_of(installer, number)), {GREEN, WHITE},
                                 "white text on green")
        box = self.colours_of(installer, 0, client=True)
        self.assertEqual(box.most_common(1)[0][0], WHITE, "the terms box is white")
        self.assertIn(BLACK, box, "the terms are black")
        self.assertNotIn(GREEN, box)

    def test_terms_read_line_by_line(self):
        installer = self.start_at_agreement()
        shown = installer.text(6).split("\r\n")
        self.assertEqual(len(shown), len(TERMS), shown)
        for number, (want, got) in enumerate(zip(TERMS, shown), start=1):
            with self.subTest(line=number):
                if want is not None:
                    self.assertEqual(got, want)
        self.assertRegex(shown[17], r"^[^@\s]+@[^@\s]+\.[^@\s]+$", "line 18: an e-mail address alone")
        self.assertRegex(shown[18], r"^\S+\.\S+$", "line 19: a web address alone")
        self.assertFalse([line for line in shown if re.search(r"[\r\n]", line)],
                         "every line break reads as one CR LF, none left over")


class TermsBoxScrolling(InstallerTest):

    def scrolled(self, installer, expected):
        return poll(lambda: offset_in(installer, 0, 6, TERMS_AT)[1], lambda y: y == expected)

    def test_arrow_clicks_move_one_pixel_and_keys_reach_both_ends(self):
        installer = self.start_at_agreement()
        box = installer.control(0)
        client = box["client_on_screen"]
        metrics = installer.window()
        arrow_x = client["x"] + client["width"] + metrics["scrollbar_width"] // 2
        arrow_y = client["y"] + client["height"] - metrics["scroll_arrow_height"] // 2

        for clicks in (1, 2, 3):
            with self.subTest(arrow_clicks=clicks):
                installer.environment.click_at(arrow_x, arrow_y)
                self.assertEqual(self.scrolled(installer, clicks), clicks)

        # A click into the box gives it the keyboard focus.
        installer.environment.click_at(client["x"] + 20, client["y"] + client["height"] - 10)
        focus = poll(installer.focus, lambda f: 0 in f["focus_ids"])
        self.assertIn(0, focus["focus_ids"], "the terms box did not take the focus: %s" % focus)

        page = client["height"]
        bottom = INNER_HEIGHT - client["height"]
        for key, expected in [("End", bottom), ("Home", 0), ("Down", 1), ("Next", 1 + page),
                              ("Up", page), ("Prior", 0)]:
            with self.subTest(key=key):
                installer.environment.key(key)
                self.assertEqual(self.scrolled(installer, expected), expected)
        self.assertEqual(offset_in(installer, 0, 6, TERMS_AT)[0], 0, "no sideways scrolling")


class LeavingTheAgreement(InstallerTest):

    def test_decline_ends_with_code_0_and_touches_no_file(self):
        for how in ("message", "mouse"):
            with self.subTest(press=how):
                installer = self.start_at_agreement()
                self.press(installer, 2, how)
                self.assert_ended(installer)
                self.assert_empty_folder(installer.workdir)

    def test_close_request_ends_with_code_0(self):
        for how in ("close", "sys-close", "alt-f4"):
            with self.subTest(request=how):
                installer = self.start_at_agreement()
                installer.close_request(how)
                self.assert_ended(installer)
                self.assert_empty_folder(installer.workdir)

    def test_agree_leads_to_the_location_screen(self):
        for how in ("message", "mouse"):
            with self.subTest(press=how):
                installer = self.start_at_agreement()
                self.press(installer, 3, how)
                installer.wait_window_gone(CAPTION_AGREEMENT)
                self.wait_screen(installer, CAPTION_LOCATION)
                self.assertIsNone(installer.process.poll(), "the installer is still running")
