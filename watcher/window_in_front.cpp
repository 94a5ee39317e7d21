// The window in front (see window_in_front.h). Reading a program's file name opens its process,
// which is too slow for every key: it is read when the window in front changes. A title changes
// on its own (a browser's tab, a document's name), so it is read whenever a rule on titles is
// judged, and only then.
#include "watcher/window_in_front.h"

#include <string.h>

#include "common/state.h"
#include "platform/top_windows.h"
#include "triggers/firing_rules.h"
#include "triggers/trigger_table.h"
#include "triggers/word_case.h"

const int kTitleSize = 1024;  // bytes of a title that a rule looks at

// The text of a window, folded to small letters as the patterns are, into `out` (size bytes).
static void FoldInto(const char* text, char* out, size_t size) {
  size_t length = strnlen(text, (size - 1) / kMaxUtf8Bytes);
  out[LowerCaseText(text, length, out)] = 0;
}

// Whether some entry may fire in the window with this program, its title not read: a rule on
// titles counts as letting its entries fire.
static bool SomethingFiresIn(const char* program) {
  if (gTriggers.everywhereUsed) return true;
  for (int32_t rule = 1; rule <= ProgramRuleCount(); ++rule) {
    if (RuleAllows(rule, program, nullptr)) return true;
  }
  return false;
}

void LookAtWindowInFront() {
  if (ProgramRuleCount() == 0) return;
  WindowInFront& front = gWatcher.front;
  WindowHandle window = PlatformForegroundWindow();
  uint32_t process = PlatformWindowProcess(window);
  bool changed = !front.known || window != front.window || process != front.process;
  if (changed) {
    char name[kProgramNameSize / kMaxUtf8Bytes];  // folded, it may take more bytes
    PlatformProcessFileName(process, name, sizeof name);
    FoldInto(name, front.program, sizeof front.program);
    front.window = window;
    front.process = process;
    front.known = true;
  }
  if (changed || front.judgedAtLoad != gTriggers.loadCount) {
    front.nothingFires = !SomethingFiresIn(front.program);
    front.judgedAtLoad = gTriggers.loadCount;
  }
}

void KeepKeysOut(bool out) { gWatcher.keysKeptOut = out; }

bool KeysKeptHere() {
  if (TriggersSuspended() || gWatcher.keysKeptOut) return false;
  return ProgramRuleCount() == 0 || !gWatcher.front.nothingFires;
}

// The rule judged against the window in front, its title read when the rule looks at titles.
static bool RuleLetsFire(int32_t rule) {
  if (rule == kEverywhere) return true;
  if (!ProgramRuleAt(rule).byTitle) return RuleAllows(rule, gWatcher.front.program, nullptr);
  char title[kTitleSize], folded[kTitleSize * kMaxUtf8Bytes];
  PlatformWindowCaption(gWatcher.front.window, title, sizeof title);
  FoldInto(title, folded, sizeof folded);
  return RuleAllows(rule, gWatcher.front.program, folded);
}

bool EntryMayFireHere(int entry) {
  if (TriggersSuspended() && !(TriggerFlags(entry) != 0 && (TriggerOptions(entry) & kOptionSwitchesSuspend))) {
    return false;
  }
  return RuleLetsFire(TriggerRule(entry));
}
