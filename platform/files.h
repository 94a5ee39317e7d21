// File seam: byte-exact file access, shared for reading and writing with other programs.
#pragma once
#include <stdint.h>

struct PlatformFile;  // opaque; owned by the seam between PlatformOpenFile and PlatformCloseFile
typedef PlatformFile* FileHandle;

enum FileAccess { kFileReadOnly, kFileReadWrite };
enum FileCreation { kFileOpenExisting, kFileOpenAlways };
enum FileSeekOrigin { kSeekFromStart, kSeekFromEnd };

// Why an open failed, so that callers never mistake a file they may not open for a missing one,
// and can tell the user why.
enum FileError {
  kFileOk,
  kFileNotFound,      // the path names nothing, or a folder on it is missing
  kFileInUse,         // another program has it open without sharing it, or holds a lock on it
  kFileAccessDenied,  // the user may not read (or write) it, or it is a folder
  kFileOpenDenied,    // any other failure: an offline file, a device, a name the system refuses
};

// Kinds of thing a path can name.
enum PathKind { kPathNothing, kPathFile, kPathDirectory };

// Opens `path` with the given access, sharing reading and writing with others. kFileOpenAlways
// creates a missing file. Returns nullptr on failure and then sets *error (when given) to why.
FileHandle PlatformOpenFile(const char* path, FileAccess access, FileCreation creation, FileError* error);

// Closes a file; nullptr is ignored.
void PlatformCloseFile(FileHandle file);

// Returns the file's size in bytes; false when it cannot be had (or exceeds 32 bits).
bool PlatformFileSize(FileHandle file, uint32_t* size);

// Moves the file position to `offset` from the origin. Returns false on failure.
bool PlatformSeekFile(FileHandle file, int32_t offset, FileSeekOrigin origin);

// Reads up to `count` bytes at the file position; returns the number read (0 at the end or on error).
uint32_t PlatformReadFile(FileHandle file, void* buffer, uint32_t count);

// Writes `count` bytes at the file position; returns the number written (less on error).
uint32_t PlatformWriteFile(FileHandle file, const void* buffer, uint32_t count);

// Deletes the file; returns false when it could not be deleted.
bool PlatformDeleteFile(const char* path);

// Renames `from` to `to`, replacing `to` when it exists. Returns false on failure.
bool PlatformReplaceFile(const char* from, const char* to);

// Tells what `path` names right now.
PathKind PlatformPathKind(const char* path);

// Writes the program's own full path into `buffer` (at most size - 1 characters, NUL-terminated);
// returns its length, 0 on failure.
uint32_t PlatformModulePath(char* buffer, uint32_t size);

// What tells one version of a file from the next without reading it: its size and the time of
// its last write (in the system's units, only ever compared), or that nothing is there.
struct FileStamp {
  uint64_t size;
  uint64_t writeTime;
  bool present;  // false: nothing is at the path, or the file cannot be seen; size and time are 0
};

// The stamp of the file at `path` as the system reports it now, without opening the file. A
// path that names nothing, or a folder, or that cannot be looked at (an offline share), gives a
// stamp with `present` false.
FileStamp PlatformFileStamp(const char* path);

// The stamp of an open file as it stands now, the writes through the handle included; `present`
// false when it cannot be had.
FileStamp PlatformOpenFileStamp(FileHandle file);

// Whether another program holds the file at `path` open for writing, or locked: opening it for
// reading while sharing only reading with others fails for that reason. The check opens nothing
// that stays open. False for a missing file and any other failure to open it.
bool PlatformFileHeldForWriting(const char* path);
