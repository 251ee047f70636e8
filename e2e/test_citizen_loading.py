"""Safe loading: DLLs dropped beside the installer or in its working directory under the names of system
DLLs are never loaded, even with Wine told to prefer such copies over its own."""

import os
import shutil

import kw
import wizard
from wizard import CAPTION_AGREEMENT, CAPTION_LOCATION, InstallerTest

# DLLs a GUI program pulls in indirectly, through the system DLLs it imports or on demand.
PLANTED = ["version", "uxtheme", "dwmapi", "cryptbase", "textshaping", "winmm", "imm32", "msimg32",
           "propsys", "profapi", "wtsapi32", "windowscodecs", "sspicli", "userenv"]

MARKER = ".dll.loaded"
CONTROL_TIMEOUT = 30.0


def plant(folder):
    source = os.path.join(kw.E2E_PROGRAMS, "kwplanted.dll")
    for name in PLANTED:
        shutil.copyfile(source, os.path.join(folder, name + ".dll"))


def markers(folder):
    """The planted DLLs that were loaded from `folder`."""
    return sorted(f[:-len(MARKER)] for f in os.listdir(folder) if f.endswith(MARKER))


def remove_markers(folder):
    for name in markers(folder):
        os.remove(os.path.join(folder, name + MARKER))


class PlantedDlls(InstallerTest):

    def test_dlls_beside_the_program_or_in_its_folder_are_not_loaded(self):
        program_folder = self.new_workdir()
        workdir = self.new_workdir()
        for folder in (program_folder, workdir):
            plant(folder)
        program = os.path.join(program_folder, "KestrowinSetup.exe")
        shutil.copyfile(kw.INSTALLER, program)
        control = os.path.join(program_folder, "unprotected.exe")
        shutil.copyfile(os.path.join(kw.E2E_PROGRAMS, "kwunprotected.exe"), control)
        environment = wizard.ENVIRONMENT
        prefer_planted = {"WINEDLLOVERRIDES": "%s;%s=n,b" % (environment.env["WINEDLLOVERRIDES"],
                                                             ",".join(PLANTED))}

        # Without the protections, every planted DLL is taken: the test can tell the difference.
        process = environment.spawn([kw.WINE, control] + [name + ".dll" for name in PLANTED], cwd=workdir,
                                    environ=prefer_planted)
        process.wait(timeout=CONTROL_TIMEOUT)
        environment.forget(process)
        self.assertEqual(markers(program_folder), sorted(PLANTED),
                         "the unprotected control program did not load the planted DLLs")
        remove_markers(program_folder)

        installer = kw.Installer(environment, workdir, program=program, environ=prefer_planted)
        self.addCleanup(installer.stop)
        self.wait_screen(installer, CAPTION_AGREEMENT)
        self.leave(installer, CAPTION_AGREEMENT, 3, CAPTION_LOCATION)
        installer.close_request("close")
        self.assert_ended(installer)
        for folder in (program_folder, workdir):
            with self.subTest(folder=folder):
                self.assertEqual(markers(folder), [], "planted DLLs were loaded")
