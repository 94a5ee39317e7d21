"""Which Wine runs which build of WordHatch, chosen by the Windows program itself.

The 32-bit build (build/win32) runs under Debian's `wine` and `wineserver` as found on PATH, as it
always has. The 64-bit build (build/win64) runs under the 64-bit loader and server, called by
their own paths: Debian's `wine` script and the helpers that go through it (wineboot, reg) pick
the 32-bit loader whenever wine32 is installed, even on a machine that cannot execute it. Each
build has a Wine prefix of its own, and a 64-bit prefix is made as one (WINEARCH=win64).

    program_build(path)        "win32" or "win64", from the PE header of a Windows program
    WineTools.of(build)        the commands and environment that run that build's programs
"""

import shlex
import struct
import sys
from collections import namedtuple

PE_MACHINES = {0x014C: "win32", 0x8664: "win64"}
PE_HEADER_OFFSET = 0x3C
PE_SIGNATURE = b"PE\0\0"

LOADER_64 = "/usr/lib/wine/wine64"
SERVER_64 = "/usr/lib/wine/wineserver64"


def program_build(path):
    """The build a Windows program belongs to, read from its PE header; raises ValueError."""
    with open(path, "rb") as f:
        dos = f.read(PE_HEADER_OFFSET + 4)
        if len(dos) < PE_HEADER_OFFSET + 4 or dos[:2] != b"MZ":
            raise ValueError("%s is not a Windows program" % path)
        (offset,) = struct.unpack_from("<I", dos, PE_HEADER_OFFSET)
        f.seek(offset)
        header = f.read(6)
    if len(header) < 6 or header[:4] != PE_SIGNATURE:
        raise ValueError("%s has no PE header" % path)
    (machine,) = struct.unpack_from("<H", header, 4)
    if machine not in PE_MACHINES:
        raise ValueError("%s is for machine 0x%04x, neither i386 nor x86-64" % (path, machine))
    return PE_MACHINES[machine]


class WineTools(namedtuple("WineTools", "build loader server env")):
    """The loader and server of one build, and what their environment needs beyond the prefix."""

    @classmethod
    def of(cls, build):
        if build == "win64":
            return cls(build, LOADER_64, SERVER_64,
                       {"WINELOADER": LOADER_64, "WINESERVER": SERVER_64, "WINEARCH": "win64"})
        if build == "win32":
            return cls(build, "wine", "wineserver", {})
        raise ValueError("no Wine for the build %r" % build)

    def wine(self, *args):
        """The command line that runs a Windows program (or one of Wine's own, like reg)."""
        return [self.loader] + [str(a) for a in args]

    def wineboot(self, *args):
        return self.wine("wineboot", *args)

    def wineserver(self, *args):
        return [self.server] + [str(a) for a in args]


def shell_settings(program):
    """Shell lines that set WH_WINE_BUILD, WH_WINE (the loader), WH_WINESERVER and export the
    environment that runs program, for tools/run.sh to eval."""
    tools = WineTools.of(program_build(program))
    lines = ["WH_WINE_BUILD=%s" % shlex.quote(tools.build), "WH_WINE=%s" % shlex.quote(tools.loader),
             "WH_WINESERVER=%s" % shlex.quote(tools.server)]
    lines += ["export %s=%s" % (name, shlex.quote(value)) for name, value in sorted(tools.env.items())]
    return "\n".join(lines)


if __name__ == "__main__":
    if len(sys.argv) != 2:
        print("usage: wine_builds.py PROGRAM.exe   (prints shell settings that run it under the right Wine)",
              file=sys.stderr)
        sys.exit(2)
    try:
        print(shell_settings(sys.argv[1]))
    except (OSError, ValueError) as error:
        print("wine_builds: %s" % error, file=sys.stderr)
        sys.exit(1)
