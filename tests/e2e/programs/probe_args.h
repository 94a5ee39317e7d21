// probe.exe's command plumbing, shared by its command files: the arguments, the answer and the
// readers of numeric and window arguments.
#pragma once
#include <windows.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "probe_common.h"

namespace probe {

using Args = std::vector<std::string>;

inline bool ParseNumber(const std::string& text, unsigned long* value) {
  if (text.empty()) return false;
  char* end = nullptr;
  *value = std::strtoul(text.c_str(), &end, 0);
  return end && *end == '\0';
}

// ---- answers ----

struct Answer {
  std::string lines;
  bool failed = false;

  void Line(const std::string& line) { lines += line + "\n"; }
  void Fields(std::initializer_list<std::string> fields) { Line(JoinFields(fields)); }
  bool Fail(const std::string& message) {
    lines = "error\t" + Escape(message) + "\n";
    failed = true;
    return false;
  }
};

inline bool ArgWindow(const Args& args, size_t index, HWND* window, Answer* answer) {
  unsigned long value = 0;
  if (index >= args.size() || !ParseNumber(args[index], &value)) return answer->Fail("expected a window handle");
  *window = reinterpret_cast<HWND>(static_cast<uintptr_t>(value));
  return true;
}

inline bool ArgNumber(const Args& args, size_t index, unsigned long* value, Answer* answer, const char* what) {
  if (index >= args.size() || !ParseNumber(args[index], value)) return answer->Fail(std::string("expected ") + what);
  return true;
}

}  // namespace probe
