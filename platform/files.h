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
