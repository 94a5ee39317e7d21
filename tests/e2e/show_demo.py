"""`make run` on a machine without a display: WordHatch at work on a virtual one.

    python3 show_demo.py EXE RUN_DIR
Starts EXE (copied into RUN_DIR, where its .ini and .txt stay) and Wine's Notepad, types a trigger
of EXE's trigger file (",ty" when it has one) into Notepad with real keys, waits for the output
there, saves RUN_DIR/screenshot.png and stops everything; exits with 1 if the output never comes.
"""
import os
import shutil
import sys

from harness import (DEFAULT_TIMEOUT, MAIN_CLASS, START_TIMEOUT, HarnessError, Input, Probe, ProbeError,
                     WaitTimeout, WineProcess, cleanup, key_for_char, settled_screenshot, setup, wait_until,
                     windows_path)

DEMO_TRIGGER = ",ty"
NOTEPAD_CLASS = "Notepad"
EM_SETMODIFY = 0x00B9
EXPANSION_TIMEOUT = 10.0
_COMMAND_PREFIXES = ("RUN:", "WINDOW:", "LIST:")


def demo_trigger(trigger_path):
    """(abbreviation, output) to show off from a trigger file: ",ty" when the file has it, else the
    first abbreviation whose output is plain text (no keys, variables or commands); None if none."""
    with open(trigger_path, "rb") as f:
        lines = f.read().decode("cp1252").splitlines()
    plain = []
    for line in lines:
        trigger, equals, output = line.partition("=")
        if line.startswith(";") or not equals or not trigger or not output:
            continue
        if "{" in trigger or "{" in output or "%" in output or output.startswith(_COMMAND_PREFIXES):
            continue
        try:
            for c in trigger:
                key_for_char(c)
        except ValueError:
            continue
        plain.append((trigger, output))
    for trigger, output in plain:
        if trigger == DEMO_TRIGGER:
            return trigger, output
    return plain[0] if plain else None


def _notepad_edit(probe, hwnd):
    for child in probe.children(hwnd):
        if child.cls.lower() == "edit":
            return child.hwnd
    raise HarnessError("Notepad's window has no edit control")


def _show_expansion(session, probe, trigger_path, log_dir):
    """Starts Notepad in the foreground, types a trigger of the file into it and waits until its
    edit holds the output. Returns (notepad process, window, edit); raises WaitTimeout."""
    found = wait_until(lambda: os.path.exists(trigger_path) and demo_trigger(trigger_path), START_TIMEOUT,
                       "a plain-text trigger in %s" % trigger_path)
    abbreviation, output = found
    notepad = WineProcess(session, "notepad", log_path=os.path.join(log_dir, "notepad.log"))
    hwnd = wait_until(lambda: probe.find(NOTEPAD_CLASS), START_TIMEOUT, "Notepad's window")
    edit = _notepad_edit(probe, hwnd)
    probe.activate(hwnd)
    wait_until(lambda: probe.foreground() == hwnd, DEFAULT_TIMEOUT, "Notepad in the foreground")
    print("show: typing %r into Notepad" % abbreviation)
    Input(session, probe).type_text(abbreviation)
    held = {"text": None}

    def expanded():
        held["text"] = probe.text(edit).replace("\r\n", "\n")
        return held["text"] == output
    try:
        wait_until(expanded, EXPANSION_TIMEOUT, "Notepad to hold %r" % output)
    except WaitTimeout:
        raise WaitTimeout("WordHatch did not expand %r within %.0f s: Notepad holds %r, not %r"
                          % (abbreviation, EXPANSION_TIMEOUT, held["text"], output)) from None
    print("show: Notepad holds %r" % output)
    return notepad, hwnd, edit


def _close_notepad(probe, notepad, hwnd, edit):
    """Closes Notepad without its question about saving: the edit is marked unchanged first."""
    try:
        probe.send(edit, EM_SETMODIFY, 0, 0)
        probe.close(hwnd)
        wait_until(lambda: not probe.find(NOTEPAD_CLASS), DEFAULT_TIMEOUT, "Notepad to close")
    except (ProbeError, WaitTimeout):
        pass
    notepad.kill()


def show(exe, run_dir):
    """Starts exe (copied into run_dir, where its .ini and .txt stay) on a virtual display with the
    Wine prefix of run_dir/wine, then Wine's Notepad in the foreground, types a trigger of the
    trigger file (",ty" when it has one) into Notepad, waits until Notepad holds the output, saves
    run_dir/screenshot.png and stops everything again. Returns the screenshot's path; raises
    WaitTimeout (after saving the screenshot all the same) when the expansion does not come."""
    run_dir = os.path.abspath(run_dir)
    os.environ.setdefault("WH_WIN_DIR", os.path.dirname(os.path.abspath(exe)))
    os.makedirs(run_dir, exist_ok=True)
    copy = os.path.join(run_dir, os.path.basename(exe))
    shutil.copy2(exe, copy)
    trigger_path = os.path.splitext(copy)[0] + ".txt"
    path = os.path.join(run_dir, "screenshot.png")
    state = os.path.join(run_dir, "wine")
    session = setup(state, reuse_prefix=True)
    try:
        process = WineProcess(session, windows_path(copy), cwd=run_dir, log_path=os.path.join(run_dir, "wine.log"))
        with Probe(session) as probe:
            def shown():
                if not process.running():
                    raise HarnessError("%s exited with %s before showing its window; see %s"
                                       % (exe, process.popen.poll(), process.log))
                hwnd = probe.find(MAIN_CLASS)
                return hwnd if hwnd and probe.state(hwnd).visible else None
            hwnd = wait_until(shown, START_TIMEOUT, "the main window")
            notepad = None
            try:
                notepad = _show_expansion(session, probe, trigger_path, run_dir)
            finally:
                # Also when the expansion failed: the picture shows what happened instead.
                settled_screenshot(session, path)
                if notepad:
                    _close_notepad(probe, *notepad)
                probe.close(hwnd)
                try:
                    process.wait(DEFAULT_TIMEOUT)
                except WaitTimeout:
                    process.kill()
        return path
    finally:
        cleanup(state, keep_prefix=True)


if __name__ == "__main__":
    if len(sys.argv) != 3:
        print("usage: show_demo.py EXE RUN_DIR  (a screenshot of EXE at work on a virtual display)", file=sys.stderr)
        sys.exit(2)
    try:
        print("screenshot: %s" % show(sys.argv[1], sys.argv[2]))
    except (WaitTimeout, HarnessError) as error:
        print("show: %s\nscreenshot: %s" % (error, os.path.join(os.path.abspath(sys.argv[2]), "screenshot.png")),
              file=sys.stderr)
        sys.exit(1)
