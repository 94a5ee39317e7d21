// Remove Clipboard Formatting (command 3198, also in the tray menu): the clipboard keeps only its
// plain text, so that pasting gives the text in the receiving document's own formatting.
// Portable (clipboard seam).
#pragma once

// Replaces everything on the clipboard by its CF_TEXT text. Returns true when it did; false, and
// the clipboard as it was, when it held no text, could not be opened or read, or memory ran out.
bool CleanClipboard();
