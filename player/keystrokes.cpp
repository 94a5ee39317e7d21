// Being written.
#include "player/keystrokes.h"
