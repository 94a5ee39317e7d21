// The help file: the built-in help text written afresh and opened in Notepad. Portable (files,
// resources and shell seams); the Help Reference command finds the path and tells the user.
#pragma once

// Room for the command that opens the help file: "notepad.exe " and a path.
const unsigned kHelpCommandSize = 260 + 16;

enum HelpResult {
  kHelpShown,
  kHelpNotWritten,     // the help text is missing or the file could not be written whole
  kHelpViewerFailed,   // the file is written, but Notepad could not be started
};

// Writes the help text to the file at `path`, replacing what was there, and opens it with
// Notepad. On kHelpViewerFailed, `command` (at least kHelpCommandSize bytes) holds the command
// that could not be run.
HelpResult ShowHelpFile(const char* path, char* command);
