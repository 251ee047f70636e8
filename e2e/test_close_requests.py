"""A close request on any screen ends the installer with exit code 0 (step 1, step 4 and the error
window have their own cases beside their screens)."""

import os

from wizard import PAYLOAD, InstallerTest


class CloseRequests(InstallerTest):

    def test_every_later_screen_closes_with_code_0(self):
        for screen, reach, request, files in [
            ("location", lambda: self.start_at_location(), "sys-close", []),
            ("verify", lambda: self.start_at_verify(), "close", []),
            ("finish", lambda: self.start_at_finish(), "alt-f4", ["Kestrowin"]),
        ]:
            with self.subTest(screen=screen, request=request):
                installer = reach()
                installer.close_request(request)
                self.assert_ended(installer)
                self.assertEqual(sorted(os.listdir(installer.workdir)), files)
                if files:
                    game = os.path.join(installer.workdir, "Kestrowin")
                    self.assertEqual(sorted(os.listdir(game)), sorted(PAYLOAD), "the game stays")
