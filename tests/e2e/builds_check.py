"""Which Windows builds this run tests end to end, and why, said in one line; and a check that the
choice agrees with what this machine really does with i386 code.
e2e: no-wine (runs tools/can_run_i386.sh and reads the builds' PE headers)"""
import errno
import os
import subprocess
import tempfile
import unittest

import harness
from wine_builds import program_build

EXIT_STATUS_OF_THE_PROGRAM = 42
CHECK_TIMEOUT = 30


def _check(*options):
    script = os.path.join(harness.source_dir(), "tools", "can_run_i386.sh")
    result = subprocess.run([script, *options], stdin=subprocess.DEVNULL, stdout=subprocess.PIPE,
                            stderr=subprocess.STDOUT, timeout=CHECK_TIMEOUT)
    return result.returncode, result.stdout.decode().strip()


class BuildsCheckTest(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.status, cls.answer = _check()
        cls.wine32_status, cls.wine32_answer = _check("--installed")
        cls.builds = os.environ.get("WH_E2E_BUILDS", "").split()
        print("e2e: testing %s: i386 code runs here? %s; the 32-bit Wine? %s"
              % (" and ".join(cls.builds) or "no build", cls.answer, cls.wine32_answer))

    def test_check_answers_what_running_its_program_shows(self):
        # Run the check's program without the shell, and read what the kernel itself says.
        with tempfile.TemporaryDirectory() as folder:
            program = os.path.join(folder, "exit42")
            script = os.path.join(harness.source_dir(), "tools", "can_run_i386.sh")
            subprocess.run([script, "--write", program], check=True, timeout=CHECK_TIMEOUT)
            try:
                ran = subprocess.run([program], timeout=CHECK_TIMEOUT).returncode == EXIT_STATUS_OF_THE_PROGRAM
                failure = None
            except OSError as error:
                ran, failure = False, error
        if ran:
            self.assertEqual((self.status, self.answer), (0, "yes"))
        else:
            self.assertEqual(self.status, 1)
            self.assertTrue(self.answer.startswith("no: "), self.answer)
            if failure is not None and failure.errno == errno.ENOEXEC:
                self.assertEqual(self.answer, "no: Exec format error")

    def test_builds_tested_follow_the_check(self):
        self.assertEqual(self.builds, ["win64", "win32"] if self.wine32_status == 0 else ["win64"])
        # The 32-bit Wine counts only where i386 code runs.
        if self.status != 0:
            self.assertEqual((self.wine32_status, self.wine32_answer), (self.status, self.answer))

    def test_each_build_folder_holds_programs_of_its_processor(self):
        root = os.environ["WH_WIN_ROOT"]
        for build in ("win32", "win64"):
            for program in (harness.EXE_NAME, os.path.join("e2e", "probe.exe"), os.path.join("e2e", "target.exe"),
                            os.path.join("bench", "ideal_expander.exe")):
                path = os.path.join(root, build, program)
                self.assertEqual(program_build(path), build, path)


if __name__ == "__main__":
    unittest.main(verbosity=2)
