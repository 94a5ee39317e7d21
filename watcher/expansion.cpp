// Being written.
#include "watcher/expansion.h"
