// ideal_expander.exe: the reference that the benchmark measures WordHatch against, an expander
// with nothing in it but the essential work.
//
//   ideal_expander.exe ABBREVIATION OUTPUT
//
// Every 10 ms it asks for the state of all 255 virtual keys. Each key that went down since the
// last look adds the character it types (with Shift as held) to the typed characters; Backspace
// takes the last one away. When the typed characters end in ABBREVIATION it sends one Backspace
// per abbreviation character and then OUTPUT, all in one SendInput call, and starts afresh.
// Characters of OUTPUT go through their key on the keyboard layout, with Shift around it as
// needed, like WordHatch's; a character that has no such key goes as a Unicode packet.
//
// Its one window, of class WordHatchBenchIdeal, is never shown; it carries the timer, which is
// set the moment the window exists, so a caller that finds the window knows the keys are
// watched. WM_CLOSE to it ends the program.
#include <windows.h>
#include <shellapi.h>

#include <string>
#include <vector>

namespace {

const UINT_PTR kPollTimerId = 1;
const UINT kPollPeriodMs = 10;
const int kKeyCount = 255;  // virtual keys 0 to 254
const SHORT kDownBit = SHORT(0x8000);
const BYTE kPressedState = 0x80;  // a key's entry in a keyboard state array while it is down
const int kCharBufferSize = 8;
const wchar_t kClassName[] = L"WordHatchBenchIdeal";
// SendInput checks the record size it is given against its own build's INPUT.
static_assert(sizeof(INPUT) == (sizeof(void*) == 8 ? 40 : 28), "INPUT as SendInput takes it in this build");

std::wstring gAbbreviation;
std::wstring gOutput;
std::wstring gTyped;  // the newest typed characters, at most as many as the abbreviation has
bool gWasDown[kKeyCount] = {};

INPUT KeyInput(WORD vk, DWORD flags) {
  INPUT input = {};
  input.type = INPUT_KEYBOARD;
  input.ki.wVk = vk;
  input.ki.wScan = WORD(MapVirtualKeyW(vk, MAPVK_VK_TO_VSC));
  input.ki.dwFlags = flags;
  return input;
}

void AddPress(std::vector<INPUT>* inputs, WORD vk) {
  inputs->push_back(KeyInput(vk, 0));
  inputs->push_back(KeyInput(vk, KEYEVENTF_KEYUP));
}

void AddCharacter(std::vector<INPUT>* inputs, wchar_t c) {
  SHORT key = VkKeyScanW(c);
  BYTE vk = LOBYTE(key), shiftState = HIBYTE(key);
  if (key == -1 || (shiftState & ~1)) {  // no key, or one that needs Ctrl or Alt
    INPUT input = {};
    input.type = INPUT_KEYBOARD;
    input.ki.wScan = WORD(c);
    input.ki.dwFlags = KEYEVENTF_UNICODE;
    inputs->push_back(input);
    input.ki.dwFlags = KEYEVENTF_UNICODE | KEYEVENTF_KEYUP;
    inputs->push_back(input);
    return;
  }
  if (shiftState) inputs->push_back(KeyInput(VK_SHIFT, 0));
  AddPress(inputs, vk);
  if (shiftState) inputs->push_back(KeyInput(VK_SHIFT, KEYEVENTF_KEYUP));
}

// Erases the abbreviation and types the output in one burst.
void Expand() {
  std::vector<INPUT> inputs;
  for (size_t i = 0; i < gAbbreviation.size(); ++i) AddPress(&inputs, VK_BACK);
  for (wchar_t c : gOutput) AddCharacter(&inputs, c);
  SendInput(UINT(inputs.size()), inputs.data(), sizeof(INPUT));
  gTyped.clear();
}

// The character that key vk types with Shift as it is now, or 0 when it types none.
wchar_t CharOfKey(int vk, bool shift) {
  BYTE keys[256] = {};
  if (shift) keys[VK_SHIFT] = kPressedState;
  wchar_t chars[kCharBufferSize];
  int count = ToUnicode(UINT(vk), MapVirtualKeyW(UINT(vk), MAPVK_VK_TO_VSC), keys, chars, kCharBufferSize, 0);
  return count == 1 ? chars[0] : 0;
}

void OnKeyDown(int vk, bool shift) {
  if (vk == VK_BACK) {
    if (!gTyped.empty()) gTyped.pop_back();
    return;
  }
  wchar_t c = CharOfKey(vk, shift);
  if (!c) return;
  gTyped.push_back(c);
  if (gTyped.size() > gAbbreviation.size()) gTyped.erase(0, gTyped.size() - gAbbreviation.size());
  if (gTyped == gAbbreviation) Expand();
}

void PollKeys() {
  bool shift = (GetAsyncKeyState(VK_SHIFT) & kDownBit) != 0;
  for (int vk = 0; vk < kKeyCount; ++vk) {
    bool down = (GetAsyncKeyState(vk) & kDownBit) != 0;
    if (down && !gWasDown[vk]) OnKeyDown(vk, shift);
    gWasDown[vk] = down;
  }
}

LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_TIMER:
      if (wParam == kPollTimerId) PollKeys();
      return 0;
    case WM_DESTROY:
      PostQuitMessage(0);
      return 0;
  }
  return DefWindowProcW(window, message, wParam, lParam);
}

bool ParseCommandLine() {
  int count = 0;
  LPWSTR* args = CommandLineToArgvW(GetCommandLineW(), &count);
  if (!args) return false;
  if (count == 3) {
    gAbbreviation = args[1];
    gOutput = args[2];
  }
  LocalFree(args);
  return !gAbbreviation.empty();
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
  if (!ParseCommandLine()) return 2;
  WNDCLASSEXW wc = {};
  wc.cbSize = sizeof wc;
  wc.lpfnWndProc = WindowProc;
  wc.hInstance = instance;
  wc.lpszClassName = kClassName;
  if (!RegisterClassExW(&wc)) return 3;
  // Never shown, so it never takes the foreground from the window being typed into.
  HWND window = CreateWindowExW(0, kClassName, L"WordHatch bench: ideal expander", WS_OVERLAPPED, 0, 0, 0, 0,
                                nullptr, nullptr, instance, nullptr);
  if (!window || !SetTimer(window, kPollTimerId, kPollPeriodMs, nullptr)) return 4;

  MSG message;
  while (GetMessageW(&message, nullptr, 0, 0) > 0) DispatchMessageW(&message);
  return int(message.wParam);
}
