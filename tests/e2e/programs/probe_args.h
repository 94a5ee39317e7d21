// probe.exe's command plumbing, shared by its command files: the arguments, the answer and the
// readers of numeric and window arguments.
#pragma once
#include <windows.h>

#include <cerrno>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "probe_common.h"

namespace probe {

using Args = std::vector<std::string>;

// A 32-bit number (unsigned long has 32 bits in both builds); "-1" gives all bits set.
inline bool ParseNumber(const std::string& text, unsigned long* value) {
  if (text.empty()) return false;
  char* end = nullptr;
  *value = std::strtoul(text.c_str(), &end, 0);
  return end && *end == '\0';
}

// A pointer-sized value (a window handle, a wParam or an lParam) with all the bits this build's
// ULONG_PTR holds; a negative number stands for its two's complement. False for text that is no
// number or a value that does not fit, rather than a value cut short.
inline bool ParsePointerSized(const std::string& text, ULONG_PTR* value) {
  if (text.empty()) return false;
  char* end = nullptr;
  errno = 0;
  if (text[0] == '-') {
    long long number = std::strtoll(text.c_str(), &end, 0);
    if (errno == ERANGE || number < INTPTR_MIN) return false;
    *value = ULONG_PTR(LONG_PTR(number));
  } else {
    unsigned long long number = std::strtoull(text.c_str(), &end, 0);
    if (errno == ERANGE || number > UINTPTR_MAX) return false;
    *value = ULONG_PTR(number);
  }
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
  ULONG_PTR value = 0;
  if (index >= args.size() || !ParsePointerSized(args[index], &value)) return answer->Fail("expected a window handle");
  *window = reinterpret_cast<HWND>(value);
  return true;
}

inline bool ArgPointerSized(const Args& args, size_t index, ULONG_PTR* value, Answer* answer, const char* what) {
  if (index >= args.size() || !ParsePointerSized(args[index], value)) return answer->Fail(std::string("expected ") + what);
  return true;
}

inline bool ArgNumber(const Args& args, size_t index, unsigned long* value, Answer* answer, const char* what) {
  if (index >= args.size() || !ParseNumber(args[index], value)) return answer->Fail(std::string("expected ") + what);
  return true;
}

// Tab-separated fields, an empty one wherever two tabs meet.
inline Args SplitFields(const std::string& line) {
  Args fields;
  size_t start = 0;
  for (;;) {
    size_t tab = line.find('\t', start);
    fields.push_back(line.substr(start, tab == std::string::npos ? std::string::npos : tab - start));
    if (tab == std::string::npos) break;
    start = tab + 1;
  }
  return fields;
}

// The window itself for id 0, else its child with that control id.
inline bool TargetWindow(const Args& args, HWND* window, Answer* answer) {
  if (!ArgWindow(args, 1, window, answer)) return false;
  if (args.size() > 2) {
    unsigned long id = 0;
    if (!ArgNumber(args, 2, &id, answer, "a control id")) return false;
    if (id != 0) {
      HWND child = GetDlgItem(*window, int(id));
      if (!child) return answer->Fail("no child with id " + args[2]);
      *window = child;
    }
  }
  if (!IsWindow(*window)) return answer->Fail("no such window");
  return true;
}

}  // namespace probe
