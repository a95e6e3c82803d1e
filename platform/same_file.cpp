#include "platform/same_file.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <sys/stat.h>
#endif

namespace vesk {

#ifdef _WIN32

namespace {

bool fileIdentity(const char* path, BY_HANDLE_FILE_INFORMATION& info) {
  // No access rights are needed to read the identity; sharing everything
  // keeps the test from failing on files that others hold open.
  HANDLE file = CreateFileA(path, 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                            nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  const bool ok = GetFileInformationByHandle(file, &info) != 0;
  CloseHandle(file);
  return ok;
}

}  // namespace

bool pathsNameSameFile(const char* first, const char* second) {
  BY_HANDLE_FILE_INFORMATION a{};
  BY_HANDLE_FILE_INFORMATION b{};
  if (!fileIdentity(first, a) || !fileIdentity(second, b)) return false;
  return a.dwVolumeSerialNumber == b.dwVolumeSerialNumber &&
         a.nFileIndexHigh == b.nFileIndexHigh && a.nFileIndexLow == b.nFileIndexLow;
}

#else

bool pathsNameSameFile(const char* first, const char* second) {
  struct stat a {};
  struct stat b {};
  if (stat(first, &a) != 0 || stat(second, &b) != 0) return false;
  return a.st_dev == b.st_dev && a.st_ino == b.st_ino;
}

#endif

}  // namespace vesk
