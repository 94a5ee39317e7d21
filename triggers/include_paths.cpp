// The paths of included trigger files (see include_paths.h): worked out as text, as the system
// itself works out a full path, so that the host tests see what a Windows run sees.
#include "triggers/include_paths.h"

#include <string.h>

#include "common/state.h"
#include "common/text.h"
#include "platform/environment.h"

// Room for a path with its variables expanded; the seam may ask for a little more than it needs.
const size_t kExpandedPathSize = 2 * kPathCapacity;
const char kSeparators[] = "\\/";

static bool IsSeparator(char c) { return c == '\\' || c == '/'; }

static bool IsDriveLetter(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }

static bool StandsAlone(const char* path) { return IsSeparator(path[0]) || (IsDriveLetter(path[0]) && path[1] == ':'); }

// The bytes of the folder that holds the file at `path`, its last separator included.
static size_t FolderLength(const char* path) {
  size_t folder = 0;
  for (size_t at = 0; path[at]; ++at) {
    if (IsSeparator(path[at])) folder = at + 1;
  }
  return folder;
}

// The bytes of the root that a ".." never takes away.
static size_t RootLength(const char* path) {
  if (IsDriveLetter(path[0]) && path[1] == ':') return IsSeparator(path[2]) ? 3 : 2;
  size_t at = 0;
  while (IsSeparator(path[at])) ++at;
  if (at < 2) return at;
  for (int part = 0; part < 2 && path[at]; ++part) {  // a network path's server and share
    at += strcspn(path + at, kSeparators);
    if (path[at]) ++at;
  }
  return at;
}

// The bytes of the drive or network share of `path`, without the separator after it: what a path
// that begins with one separator is joined to. None for a path without either.
static size_t DriveLength(const char* path) {
  size_t root = RootLength(path);
  while (root > 0 && IsSeparator(path[root - 1])) --root;
  return root;
}

void CollapseDotFolders(char* path) {
  char* root = path + RootLength(path);
  char* out = root;  // every folder kept is written back here; `in` never falls behind it
  int kept = 0;      // folders written that a ".." may take back
  for (const char* in = root; *in;) {
    size_t length = strcspn(in, kSeparators);
    size_t taken = length + (in[length] ? 1 : 0);
    bool dot = length == 1 && in[0] == '.', dots = length == 2 && in[0] == '.' && in[1] == '.';
    if (dots && kept > 0) {
      for (--out; out > root && !IsSeparator(out[-1]);) --out;
      --kept;
    } else if (length > 0 && !dot && !(dots && root != path)) {  // a root has no folder above it
      memmove(out, in, taken);
      out += taken;
      if (!dots) ++kept;
    }
    in += taken;
  }
  *out = 0;
}

bool SamePath(const char* a, const char* b) {
  for (; *a && *b; ++a, ++b) {
    if (IsSeparator(*a) && IsSeparator(*b)) continue;
    if (AsciiLower(uint8_t(*a)) != AsciiLower(uint8_t(*b))) return false;
  }
  return *a == *b;
}

bool ResolveIncludePath(const char* includer, const char* written, size_t length, char* out, size_t size) {
  char raw[kPathCapacity], expanded[kExpandedPathSize];
  if (length >= sizeof raw) return false;
  memcpy(raw, written, length);
  raw[length] = 0;
  const char* path = raw;
  if (strchr(raw, '%')) {
    uint32_t needed = PlatformExpandEnvironment(raw, expanded, sizeof expanded);
    if (needed > sizeof expanded) return false;
    if (needed > 0) path = expanded;  // a failed expansion leaves the path as written
  }
  // A path from a root is on its includer's drive: the current drive changes with each RUN:.
  size_t folder = 0;
  if (!StandsAlone(path)) folder = FolderLength(includer);
  else if (IsSeparator(path[0]) && !IsSeparator(path[1])) folder = DriveLength(includer);
  size_t pathLength = strlen(path);
  if (folder + pathLength >= size) return false;
  memcpy(out, includer, folder);
  memcpy(out + folder, path, pathLength + 1);
  CollapseDotFolders(out);
  return true;
}
