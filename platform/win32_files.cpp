// File seam over the Win32 file calls (single-byte "A" forms).
#include <windows.h>

#include "platform/files.h"

static HANDLE ToHandle(FileHandle file) { return reinterpret_cast<HANDLE>(file); }

// The seam's kind of a failed open. Only "there is nothing at this path" lets a caller make the
// file anew; every other failure leaves the file alone.
static FileError OpenErrorOf(DWORD error) {
  switch (error) {
    case ERROR_FILE_NOT_FOUND:
    case ERROR_PATH_NOT_FOUND:
    case ERROR_INVALID_NAME: return kFileNotFound;
    case ERROR_SHARING_VIOLATION:
    case ERROR_LOCK_VIOLATION: return kFileInUse;
    case ERROR_ACCESS_DENIED: return kFileAccessDenied;
    default: return kFileOpenDenied;
  }
}

FileHandle PlatformOpenFile(const char* path, FileAccess access, FileCreation creation, FileError* error) {
  DWORD rights = access == kFileReadWrite ? (GENERIC_READ | GENERIC_WRITE) : GENERIC_READ;
  DWORD disposition = creation == kFileOpenAlways ? OPEN_ALWAYS : OPEN_EXISTING;
  HANDLE h = CreateFileA(path, rights, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, disposition,
                         FILE_ATTRIBUTE_NORMAL, nullptr);
  if (h == INVALID_HANDLE_VALUE) {
    if (error) *error = OpenErrorOf(GetLastError());
    return nullptr;
  }
  if (error) *error = kFileOk;
  return reinterpret_cast<FileHandle>(h);
}

void PlatformCloseFile(FileHandle file) {
  if (file) CloseHandle(ToHandle(file));
}

bool PlatformFileSize(FileHandle file, uint32_t* size) {
  DWORD high = 0;
  DWORD low = GetFileSize(ToHandle(file), &high);
  if ((low == INVALID_FILE_SIZE && GetLastError() != NO_ERROR) || high != 0) return false;
  *size = low;
  return true;
}

bool PlatformSeekFile(FileHandle file, int32_t offset, FileSeekOrigin origin) {
  DWORD result = SetFilePointer(ToHandle(file), offset, nullptr, origin == kSeekFromEnd ? FILE_END : FILE_BEGIN);
  return result != INVALID_SET_FILE_POINTER || GetLastError() == NO_ERROR;
}

uint32_t PlatformReadFile(FileHandle file, void* buffer, uint32_t count) {
  DWORD read = 0;
  if (!ReadFile(ToHandle(file), buffer, count, &read, nullptr)) return 0;
  return read;
}

uint32_t PlatformWriteFile(FileHandle file, const void* buffer, uint32_t count) {
  DWORD written = 0;
  if (!WriteFile(ToHandle(file), buffer, count, &written, nullptr)) return 0;
  return written;
}

bool PlatformDeleteFile(const char* path) { return DeleteFileA(path) != 0; }

bool PlatformReplaceFile(const char* from, const char* to) {
  return MoveFileExA(from, to, MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0;
}

PathKind PlatformPathKind(const char* path) {
  DWORD attributes = GetFileAttributesA(path);
  if (attributes == INVALID_FILE_ATTRIBUTES) return kPathNothing;
  return (attributes & FILE_ATTRIBUTE_DIRECTORY) ? kPathDirectory : kPathFile;
}

uint32_t PlatformModulePath(char* buffer, uint32_t size) {
  if (size == 0) return 0;
  DWORD n = GetModuleFileNameA(nullptr, buffer, size);
  if (n >= size) n = 0;  // cut short: not a usable path
  buffer[n] = 0;
  return n;
}

static uint64_t Join(DWORD high, DWORD low) { return (uint64_t(high) << 32) | low; }

FileStamp PlatformFileStamp(const char* path) {
  FileStamp stamp = {};
  WIN32_FILE_ATTRIBUTE_DATA data;
  if (!GetFileAttributesExA(path, GetFileExInfoStandard, &data)) return stamp;
  if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) return stamp;
  stamp.size = Join(data.nFileSizeHigh, data.nFileSizeLow);
  stamp.writeTime = Join(data.ftLastWriteTime.dwHighDateTime, data.ftLastWriteTime.dwLowDateTime);
  stamp.present = true;
  return stamp;
}

FileStamp PlatformOpenFileStamp(FileHandle file) {
  FileStamp stamp = {};
  BY_HANDLE_FILE_INFORMATION info;
  if (!file || !GetFileInformationByHandle(ToHandle(file), &info)) return stamp;
  stamp.size = Join(info.nFileSizeHigh, info.nFileSizeLow);
  stamp.writeTime = Join(info.ftLastWriteTime.dwHighDateTime, info.ftLastWriteTime.dwLowDateTime);
  stamp.present = true;
  return stamp;
}

bool PlatformFileHeldForWriting(const char* path) {
  // Sharing reading alone: the open fails while any other handle may write to the file.
  HANDLE h = CreateFileA(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (h != INVALID_HANDLE_VALUE) {
    CloseHandle(h);
    return false;
  }
  return OpenErrorOf(GetLastError()) == kFileInUse;
}
