// Recording fake of the shell, top-level windows, warning and pick list window seams (see
// fake_platform.h).
#include <stdint.h>
#include <string.h>

#include <string>

#include "common/state.h"
#include "common/text.h"
#include "platform/form_window.h"
#include "platform/list_window.h"
#include "platform/search_window.h"
#include "platform/shell.h"
#include "platform/top_windows.h"
#include "platform/ui.h"
#include "tests/unit/fake_platform.h"

// The shell's answers: a started command, and "file not found".
const int32_t kFakeShellStarted = 42;
const int32_t kFakeShellNotFound = 2;

uint32_t FakeAddWindow(const std::string& title, bool answers) {
  FakeWindow window;
  window.title = title;
  window.answers = answers;
  gFake.windows.push_back(window);
  return uint32_t(gFake.windows.size());
}

static uint32_t HandleNumber(WindowHandle window) { return uint32_t(reinterpret_cast<uintptr_t>(window)); }
static WindowHandle HandleOf(uint32_t number) { return reinterpret_cast<WindowHandle>(uintptr_t(number)); }

// The scripted window behind a handle, or nullptr.
static FakeWindow* WindowOf(WindowHandle window) {
  uint32_t number = HandleNumber(window);
  if (number == 0 || number > gFake.windows.size()) return nullptr;
  FakeWindow* found = &gFake.windows[number - 1];
  return found->exists ? found : nullptr;
}

WindowHandle PlatformFindWindowByExactTitle(const char* title) {
  if (FakeCallFails()) return nullptr;
  for (size_t i = 0; i < gFake.windows.size(); ++i) {
    if (gFake.windows[i].exists && gFake.windows[i].title == title) return HandleOf(uint32_t(i + 1));
  }
  return nullptr;
}

WindowHandle PlatformForegroundWindow() { return HandleOf(gFake.foregroundWindow); }

WindowHandle PlatformNextWindowDown(WindowHandle window) {
  uint32_t number = HandleNumber(window);
  return number < gFake.windows.size() ? HandleOf(number + 1) : nullptr;
}

bool PlatformWindowTitle(WindowHandle window, char* out, uint32_t size, uint32_t) {
  FakeRecord(kFakeTitleQuery, HandleNumber(window));
  out[0] = 0;
  FakeWindow* found = WindowOf(window);
  if (!found || !found->answers || FakeCallFails()) return false;
  size_t n = found->title.size() < size - 1 ? found->title.size() : size - 1;
  memcpy(out, found->title.data(), n);
  out[n] = 0;
  return true;
}

uint32_t FakeFrontWindowOf(const std::string& program, const std::string& title) {
  uint32_t window = FakeAddWindow(title);
  gFake.windows[window - 1].program = program;
  gFake.foregroundWindow = window;
  return window;
}

uint32_t PlatformWindowProcess(WindowHandle window) { return WindowOf(window) ? HandleNumber(window) : 0; }

bool PlatformProcessFileName(uint32_t process, char* out, uint32_t size) {
  FakeRecord(kFakeProgramQuery, process);
  FakeWindow* found = WindowOf(HandleOf(process));
  CopyTextBounded(out, found ? found->program.c_str() : "", size);
  return found && !found->program.empty();
}

bool PlatformWindowCaption(WindowHandle window, char* out, uint32_t size) {
  FakeRecord(kFakeCaptionQuery, HandleNumber(window));
  FakeWindow* found = WindowOf(window);
  CopyTextBounded(out, found ? found->title.c_str() : "", size);
  return found != nullptr;
}

bool PlatformIsWindow(WindowHandle window) { return WindowOf(window) != nullptr; }

void PlatformBringWindowForward(WindowHandle window) {
  FakeRecord(kFakeBringForward, HandleNumber(window));
  gFake.foregroundWindow = HandleNumber(window);
}

int32_t PlatformShellExecute(const char* file, const char* parameters) {
  FakeRecord(kFakeShellExecute, 0, 0, 0, file, parameters);
  if (FakeCallFails()) return kFakeShellNotFound;
  return gFake.startableFiles.count(file) ? kFakeShellStarted : kFakeShellNotFound;
}

bool PlatformSetCurrentDirectory(const char* folder) {
  bool exists = gFake.folders.count(folder) != 0 && !FakeCallFails();
  FakeRecord(kFakeSetDirectory, exists, 0, 0, folder);
  if (exists) gFake.currentDirectory = folder;
  return exists;
}

void PlatformShowWarning(const char* text, const char* caption) {
  FakeRecord(kFakeWarning, 0, 0, 0, text, caption);
}

bool PlatformOpenFieldForm(WindowHandle previous) {
  FakeRecord(kFakeFieldForm, HandleNumber(previous), uint32_t(gForm.fieldCount), 0, gForm.title);
  return !FakeCallFails();
}

bool PlatformOpenSearchWindow(WindowHandle previous) {
  FakeRecord(kFakeSearchWindow, HandleNumber(previous), 0, 0, gSearch.lastQuery);
  return !FakeCallFails();
}

bool PlatformOpenListWindow(const ListPlacement& placement) {
  FakeRecord(kFakeListWindow, 0, 0, 0,
             std::to_string(placement.left) + "," + std::to_string(placement.top) + "," +
                 std::to_string(placement.width) + "," + std::to_string(placement.height));
  return !gFake.failListWindow && !FakeCallFails();
}
