// Reload on change: the trigger table is loaded again when another program changes the trigger
// file or a file that it includes.
// Model: every load that reads the file notes the stamp (size, last write time) of each file it
// opened (TriggerFile.stamp), and watches the folders that hold the listed files. A folder's
// change message only looks at the stamps: when none differs from those noted, the change was
// another file's (an editor's swap or backup file, or this program's own save, whose reload
// noted the new stamps) and nothing happens. Otherwise the reload timer starts, and starts again
// at each further change, so that a burst of writes gives one reload. When it fires, a changed
// file that is still changing (its stamp moved since the last look) or held for writing by its
// writer is looked at again a little later, so that no file is read half-written; while a file
// that the last load read is missing, the table stays as it is and the status bar says so; else
// the table is loaded again, without the reset of the watcher that Open and Save make, and never
// while an expansion or output is under way (the timer's next tick tries again).
// Re-entry: the question about the editor's unsaved changes is asked from the timer, and its
// message loop runs the timer and the change messages too; the timer does nothing while it is open.
#pragma once
#include <stdint.h>

const uint32_t kReloadTimerId = 7782;
const uint32_t kReloadSettleMs = 400;     // after the last change, the files are looked at
const uint32_t kReloadLookAgainMs = 250;  // a file still changing or held is looked at again
const uint32_t kHeldLookAgainMs = 2000;   // an included file held at the load is looked at again

// After a load that listed the trigger files: watches the folders that hold them, each once,
// unless they are the folders watched already, each of them (a folder that could not be watched,
// a share offline, is tried again at the next load). A file changed between its reading and the new
// watch starts the reload timer, as its message would have.
void WatchTriggerFolders();

// After a load: an included file that it could not read because another program held it is
// looked at after kHeldLookAgainMs, since letting a file go changes nothing that a folder tells.
// Such a file has no stamp noted, so it counts as changed: it is looked at until it is let go,
// and the table is then loaded again.
void LookAgainAtHeldFiles();

// At the end of the run: nothing is watched any more.
void StopWatchingTriggerFolders();

// A watched folder changed (kFolderChangedMessage): starts the reload timer again when a listed
// file's stamp differs from the one its load noted, or when a missing file was reported.
void OnTriggerFolderChanged();

// Timer kReloadTimerId: looks at the changed files and reloads the table once they have settled,
// as the model above says. When the main file changed while the editor holds unsaved changes,
// asks the user once for that change which to keep: Yes shows the file's new text, No keeps the
// editor's text, still unsaved; the table is loaded from disk either way. A main file that did
// not change leaves the editor's text alone.
void ReloadChangedTriggerFiles();
