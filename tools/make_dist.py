"""Writes the downloads for Windows users: DIST/WordHatch-win32.zip and DIST/WordHatch-win64.zip,
each holding its build's WordHatch.exe and a README.txt (CRLF, so that Notepad on any Windows
shows its lines).

    python3 tools/make_dist.py DIST path/to/win32/WordHatch.exe path/to/win64/WordHatch.exe
"""
import os
import sys
import zipfile

README = """{title}
{underline}

WordHatch is a small text expander. While it runs it watches what you type in
any program; when the characters you have just typed end in one of your
abbreviations, or you press one of your hotkeys, it erases the abbreviation
and types the output you set for it: text, named keys like {{Enter}}, pauses,
mouse clicks, program starts, window switching or a small pick list.

Which download
--------------
WordHatch-win64.zip holds the 64-bit program, for 64-bit Windows (almost every
computer today). WordHatch-win32.zip holds the 32-bit program, which runs on
32-bit and 64-bit Windows alike. Both do the same.

Starting it
-----------
WordHatch needs no installation. Unpack the zip into a folder of your own that
you can write to, for example Documents\\WordHatch, and double-click
WordHatch.exe. Its window is an editor for your trigger file; closing or
minimising it to the notification area (the tray) keeps WordHatch working.

Your files
----------
WordHatch keeps its files beside WordHatch.exe:
  WordHatch.txt   your trigger file: one trigger=output line per trigger,
                  lines that begin with ; are comments. A starter file is
                  written the first time WordHatch runs.
  WordHatch.ini   its settings: window placement, font, options, the trigger
                  file in use (File > Open picks another one) and a count of
                  expansions.
Saving in WordHatch's editor (Ctrl+S) reloads the triggers at once. Move the
folder and your triggers and settings move with it.

Starting it at login
--------------------
Choose Options > Auto-start at Login in WordHatch's window: Windows then
starts WordHatch from where it is each time you log in. Choose it again to
stop that. (If you move the folder, turn it on again from the new place.)

More
----
Help > Help Reference shows every trigger, key name and command.
"""

BUILDS = (("win32", "32-bit"), ("win64", "64-bit"))


def write_zip(dist, build, bits, exe):
    path = os.path.join(dist, "WordHatch-%s.zip" % build)
    title = "WordHatch (%s)" % bits
    readme = README.format(title=title, underline="=" * len(title)).replace("\n", "\r\n")
    with zipfile.ZipFile(path + ".part", "w", zipfile.ZIP_DEFLATED) as archive:
        archive.write(exe, "WordHatch.exe")
        archive.writestr("README.txt", readme)
    os.replace(path + ".part", path)
    return path


def main(argv):
    if len(argv) != 4:
        print(__doc__.strip().splitlines()[-1].strip(), file=sys.stderr)
        return 2
    dist, exes = argv[1], argv[2:]
    os.makedirs(dist, exist_ok=True)
    for (build, bits), exe in zip(BUILDS, exes):
        if not os.path.isfile(exe):
            print("dist: %s is missing: build it first (make exe)" % exe, file=sys.stderr)
            return 1
        print("dist: %s" % write_zip(dist, build, bits, exe))
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
