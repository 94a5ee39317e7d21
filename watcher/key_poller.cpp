// The key poller (being written): for now a tick only keeps its timer running.
#include "watcher/key_poller.h"

#include "platform/ui.h"

void PollKeys() {
  PlatformStopTimer(kPollTimerId);
  PlatformStartTimer(kPollTimerId, kPollPeriodMs);
}
