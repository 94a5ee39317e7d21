"""CPU time of Linux processes from /proc, for the idle figures of the bench.

    cpu_seconds(pid)            user + system time of the process, all its threads, in seconds
    wineserver_pid(prefix)      the wineserver that serves the Wine prefix, or None
    wine_program_pid(popen, exe_name)   the process that runs a Windows program started with
                                `wine program.exe`: Wine replaces itself by the program, so it is
                                the started process itself; checked against its command line
"""
import os

_TICKS_PER_SECOND = os.sysconf("SC_CLK_TCK")
# Fields of /proc/PID/stat after the ")" that closes the command name: state is the first, and
# utime and stime are fields 14 and 15 of the whole line.
_UTIME_AFTER_NAME = 11
_STIME_AFTER_NAME = 12


def cpu_seconds(pid):
    with open("/proc/%d/stat" % pid) as f:
        fields = f.read().rsplit(")", 1)[1].split()
    return (int(fields[_UTIME_AFTER_NAME]) + int(fields[_STIME_AFTER_NAME])) / _TICKS_PER_SECOND


def _read(path):
    try:
        with open(path, "rb") as f:
            return f.read()
    except OSError:
        return b""


def wineserver_pid(prefix):
    wanted = b"WINEPREFIX=" + os.path.abspath(prefix).encode()
    for name in os.listdir("/proc"):
        if not name.isdigit():
            continue
        # Debian's is wineserver32 or wineserver64.
        if not _read("/proc/%s/comm" % name).startswith(b"wineserver"):
            continue
        if wanted in _read("/proc/%s/environ" % name).split(b"\0"):
            return int(name)
    return None


def wine_program_pid(popen, exe_name):
    command = _read("/proc/%d/cmdline" % popen.pid).split(b"\0")[0]
    if not command.lower().endswith(exe_name.lower().encode()):
        raise RuntimeError("process %d runs %r, not %s" % (popen.pid, command, exe_name))
    return popen.pid
