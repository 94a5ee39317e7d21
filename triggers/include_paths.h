// The paths of included trigger files: a path as an include line writes it becomes the path that
// the load opens, and two paths are told the same file or not. Both "\" and "/" separate folders
// (the system takes either); a path stands on its own when it begins with two separators (a
// network path) or a drive letter and ":", is on its includer's drive (or network share) when it
// begins with one (a root), and is relative to its includer's folder otherwise.
#pragma once
#include <stddef.h>

// Writes into `out` (`size` bytes) the path of the file that the `length` bytes at `written` name
// in a file at `includer`: every %NAME% expanded (a name not defined stays as written), joined to
// the includer's folder when relative (to its drive when it begins at a root), and without "." and
// ".." folders. False when it does not fit `out`.
bool ResolveIncludePath(const char* includer, const char* written, size_t length, char* out, size_t size);

// Takes the "." and ".." folders out of `path`, in place; a ".." never climbs above the root (the
// leading separators, a drive, or a network path's server and share), and a relative path keeps
// the ".." that lead out of its own folder.
void CollapseDotFolders(char* path);

// Whether two paths name the same file as the system sees them: separators alike, and letters
// compared without regard to ASCII case.
bool SamePath(const char* a, const char* b);
