// Being written.
#include "player/output_player.h"
