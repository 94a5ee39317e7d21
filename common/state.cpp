// The process-wide state records (see state.h).
#include "common/state.h"

ShellState gShell;
TriggerTable gTriggers;
TriggerFileList gTriggerFiles;
TriggerWatchState gTriggerWatch;
WatcherState gWatcher;
KeyLayoutState gKeyLayout;
PlayerState gPlayer;
PickListState gPickList;
SearchState gSearch;
FormState gForm;
