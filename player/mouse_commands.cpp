// Being written.
#include "player/mouse_commands.h"
