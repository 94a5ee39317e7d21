"""WordHatch.exe is a Windows GUI program for its build's processor (win32: i386, PE32; win64:
x86-64, PE32+) that imports only the system's own DLLs.
e2e: no-wine (reads the file with the mingw objdump only)"""
import os
import re
import subprocess
import unittest

import harness
from wine_builds import program_build

# Per build: the objdump that reads it, the file format it names, and the optional header's magic.
FORMATS = {"win32": ("i686-w64-mingw32-objdump", "pei-i386", "010b"),
           "win64": ("x86_64-w64-mingw32-objdump", "pei-x86-64", "020b")}
# The Windows system DLLs the program may import; the C and C++ runtimes are linked in, except
# msvcrt.dll, which every Windows has.
ALLOWED_DLLS = {"kernel32.dll", "user32.dll", "gdi32.dll", "comctl32.dll", "comdlg32.dll", "advapi32.dll",
                "shell32.dll", "msvcrt.dll", "ole32.dll", "oleaut32.dll", "shlwapi.dll", "winmm.dll",
                "version.dll", "imm32.dll", "uxtheme.dll"}
SUBSYSTEM_WINDOWS_GUI = 2


class ExeFileTest(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        exe = os.path.join(harness.win_dir(), harness.EXE_NAME)
        cls.build = os.path.basename(harness.win_dir())
        objdump, cls.file_format, cls.magic = FORMATS[cls.build]
        result = subprocess.run([objdump, "-p", exe], stdout=subprocess.PIPE, stderr=subprocess.PIPE, timeout=60)
        if result.returncode != 0:
            raise AssertionError("objdump cannot read %s: %s" % (exe, result.stderr.decode()))
        cls.headers = result.stdout.decode()

    def field(self, name):
        match = re.search(r"^%s\s+(\S+)" % re.escape(name), self.headers, re.MULTILINE)
        self.assertIsNotNone(match, "objdump shows no %s" % name)
        return match.group(1)

    def test_is_a_gui_program_of_its_build(self):
        self.assertRegex(self.headers, r"file format %s\b" % re.escape(self.file_format),
                         "not a PE file of the %s build" % self.build)
        self.assertEqual(self.field("Magic"), self.magic, "optional header of the wrong kind")
        # The harness picks the Wine that runs a program by the same header.
        self.assertEqual(program_build(os.path.join(harness.win_dir(), harness.EXE_NAME)), self.build)
        self.assertEqual(int(self.field("Subsystem"), 16), SUBSYSTEM_WINDOWS_GUI, "subsystem is not Windows GUI")

    def test_imports_only_system_dlls(self):
        imported = {name.lower() for name in re.findall(r"^\s*DLL Name: (\S+)", self.headers, re.MULTILINE)}
        # The program draws windows and menus, so these must be there; an empty list means misparsing.
        self.assertTrue({"kernel32.dll", "user32.dll"} <= imported, "imports found: %s" % sorted(imported))
        self.assertEqual(imported - ALLOWED_DLLS, set(), "imports of non-system DLLs")


if __name__ == "__main__":
    unittest.main(verbosity=2)
