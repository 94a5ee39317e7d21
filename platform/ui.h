// Main-window seam: what the portable core may do to the program's window.
// Every operation does nothing when the window (or the child it names) does not exist.
#pragma once
#include <stddef.h>
#include <stdint.h>

// Shows the UTF-8 `text` in the status bar at once (repainted before returning).
void PlatformShowStatusText(const char* text);

// Replaces the editor's whole text with the UTF-8 `text` (which clears its undo state), puts the
// caret at the start, scrolls it into view and repaints the main window and the editor with
// their backgrounds. The editor shows every character; a byte that begins no well-formed UTF-8
// sequence shows as U+FFFD.
void PlatformSetEditorText(const char* text);

// The editor's whole text as UTF-8, NUL-terminated, in a new block from PlatformHeapAlloc that
// the caller releases with PlatformHeapFree; *length is the text's length. nullptr when there is
// no editor or the heap cannot supply the block.
char* PlatformEditorText(size_t* length);

// True when the user has changed the editor's text since it was last set (the editor can undo).
bool PlatformEditorChanged();

// Starts (or restarts) timer `id` of the main window with a period of `ms` milliseconds.
void PlatformStartTimer(uint32_t id, uint32_t ms);

// Stops timer `id` of the main window.
void PlatformStopTimer(uint32_t id);

// Tells the user of a failure (UTF-8 text and caption) in a warning box owned by the main
// window (task-modal, topmost), and returns when it is closed.
void PlatformShowWarning(const char* text, const char* caption);

// Asks the user a yes-or-no question (UTF-8 text and caption) in a warning box owned by the main
// window (task-modal, No the default button), and returns true when the answer is Yes.
bool PlatformAskYesNo(const char* text, const char* caption);
