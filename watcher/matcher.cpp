// Being written.
#include "watcher/matcher.h"
