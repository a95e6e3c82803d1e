#include "platform/output_file.h"

#include <windows.h>

#include <fcntl.h>
#include <io.h>

#include <cerrno>
#include <cstdint>
#include <string>
#include <utility>

namespace vesk {

namespace {

constexpr int kNameAttempts = 100;

// The path in UTF-16 for the W calls; empty when it is no valid text of
// the ANSI code page.
std::wstring wideFromAnsi(const char* path) {
  const int length = MultiByteToWideChar(CP_ACP, MB_ERR_INVALID_CHARS, path, -1, nullptr, 0);
  if (length <= 1) return {};
  std::wstring wide(static_cast<std::size_t>(length), L'\0');
  if (MultiByteToWideChar(CP_ACP, MB_ERR_INVALID_CHARS, path, -1, wide.data(), length) != length) {
    return {};
  }
  wide.pop_back();  // the terminator
  return wide;
}

// "C:\dir\" of "C:\dir\name", "C:" of "C:name", "" of a bare name.
std::wstring folderOf(const std::wstring& path) {
  const std::size_t end = path.find_last_of(L"\\/:");
  return end == std::wstring::npos ? std::wstring() : path.substr(0, end + 1);
}

// The path a symbolic link or junction at `path` leads to, through the
// handle opened on it; empty when Windows cannot tell.
std::wstring finalPathOf(HANDLE file) {
  std::wstring path(MAX_PATH, L'\0');
  for (int attempt = 0; attempt < 2; ++attempt) {
    const DWORD length = GetFinalPathNameByHandleW(file, path.data(), static_cast<DWORD>(path.size()),
                                                   FILE_NAME_NORMALIZED | VOLUME_NAME_DOS);
    if (length == 0) return {};
    if (length < path.size()) {
      path.resize(length);
      return path;
    }
    path.resize(length);  // the room needed, its terminator included
  }
  return {};
}

// A name for the temporary file in `folder`, another on every call.
std::wstring temporaryName(const std::wstring& folder) {
  static std::uint64_t counter = 0;
  LARGE_INTEGER ticks{};
  QueryPerformanceCounter(&ticks);
  // splitmix64 over the time, the process and a counter.
  std::uint64_t x = static_cast<std::uint64_t>(ticks.QuadPart) ^
                    (static_cast<std::uint64_t>(GetCurrentProcessId()) << 40) ^ ++counter;
  x += 0x9E3779B97F4A7C15u;
  x = (x ^ (x >> 30)) * 0xBF58476D1CE4E5B9u;
  x = (x ^ (x >> 27)) * 0x94D049BB133111EBu;
  x ^= x >> 31;
  static constexpr wchar_t kDigits[] = L"0123456789abcdef";
  std::wstring name = folder + L"vesk-00000000.tmp";
  for (std::size_t i = 0; i < 8; ++i) name[folder.size() + 5 + i] = kDigits[(x >> (4 * i)) & 15];
  return name;
}

// The attributes a list takes over from the file it replaces; a
// read-only file is never replaced, and the others belong to the new file.
constexpr DWORD kKeptAttributes = FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM |
                                  FILE_ATTRIBUTE_ARCHIVE | FILE_ATTRIBUTE_NOT_CONTENT_INDEXED;

// Marks an open file to be deleted when its last handle closes, or takes
// the mark back.
bool setDeleteOnClose(HANDLE file, bool remove) {
  FILE_DISPOSITION_INFO info{};
  info.DeleteFile = remove ? TRUE : FALSE;
  return SetFileInformationByHandle(file, FileDispositionInfo, &info, sizeof info) != 0;
}

// The errno of the same meaning as a system error code, as the C library
// maps the codes of its own calls.
int errnoOf(DWORD code) {
  switch (code) {
    case ERROR_FILE_NOT_FOUND:
    case ERROR_PATH_NOT_FOUND:
    case ERROR_INVALID_DRIVE:
    case ERROR_BAD_NETPATH:
    case ERROR_BAD_NET_NAME:
    case ERROR_INVALID_NAME: return ENOENT;
    case ERROR_ACCESS_DENIED:
    case ERROR_SHARING_VIOLATION:
    case ERROR_LOCK_VIOLATION:
    case ERROR_CURRENT_DIRECTORY: return EACCES;
    case ERROR_WRITE_PROTECT: return EROFS;
    case ERROR_DISK_FULL:
    case ERROR_HANDLE_DISK_FULL: return ENOSPC;
    case ERROR_FILENAME_EXCED_RANGE: return ENAMETOOLONG;
    case ERROR_DIRECTORY: return ENOTDIR;
    case ERROR_NOT_ENOUGH_MEMORY:
    case ERROR_OUTOFMEMORY: return ENOMEM;
    default: return EIO;
  }
}

}  // namespace

struct OutputFile::Impl {
  enum class Kind {
    kReplace,    // a temporary file, put in place of the output by commit()
    kOverwrite,  // the existing output itself, cut to the new length by commit()
    kDirect,     // fopen(path, "wb"): devices, and what cannot be replaced
  };
  Kind kind = Kind::kDirect;
  std::FILE* stream = nullptr;
  HANDLE handle = INVALID_HANDLE_VALUE;  // the stream's, closed with it
  std::wstring target;                   // the file that commit() replaces
  std::wstring temporary;                // the temporary file; empty when there is none
  bool replacesFile = false;
  DWORD oldAttributes = 0;               // of the replaced file
  bool deleteOnClose = false;            // the temporary file goes when its handle closes
  std::string created;                   // a direct output that did not exist before
  int errorNumber = 0;                         // errno of the step that failed

  // Notes the reason of the first step that failed (what fails after it is
  // its consequence) and returns false: the C library's errno, or the
  // system's last error code.
  bool failedInLibrary() {
    if (errorNumber == 0) errorNumber = errno != 0 ? errno : EIO;
    return false;
  }
  bool failedInSystem() {
    if (errorNumber == 0) errorNumber = errnoOf(GetLastError());
    return false;
  }

  ~Impl() { discard(); }

  void discard() {
    if (stream != nullptr) std::fclose(stream);
    stream = nullptr;
    handle = INVALID_HANDLE_VALUE;
    if (!temporary.empty()) DeleteFileW(temporary.c_str());
    temporary.clear();
    if (!created.empty()) std::remove(created.c_str());
    created.clear();
  }

  bool openDirect(const char* path, bool isNew) {
    kind = Kind::kDirect;
    errno = 0;
    stream = std::fopen(path, "wb");
    if (stream == nullptr) return failedInLibrary();
    if (isNew) created = path;
    return true;
  }

  bool adopt(HANDLE file, Kind how) {
    kind = how;
    errno = 0;
    const int fd = _open_osfhandle(reinterpret_cast<std::intptr_t>(file), _O_WRONLY | _O_BINARY);
    if (fd < 0) {
      failedInLibrary();
      CloseHandle(file);
      discard();
      return false;
    }
    stream = _fdopen(fd, "wb");
    if (stream == nullptr) {
      failedInLibrary();
      _close(fd);
      discard();
      return false;
    }
    handle = file;
    return true;
  }

  // A new file in `folder`, or INVALID_HANDLE_VALUE where none can be made.
  HANDLE openTemporary(const std::wstring& folder) {
    for (int attempt = 0; attempt < kNameAttempts; ++attempt) {
      std::wstring name = temporaryName(folder);
      const HANDLE file = CreateFileW(name.c_str(), GENERIC_WRITE | DELETE, 0, nullptr, CREATE_NEW,
                                      FILE_ATTRIBUTE_NORMAL, nullptr);
      if (file != INVALID_HANDLE_VALUE) {
        temporary = std::move(name);
        // A process that is ended before commit() takes the file with it.
        deleteOnClose = setDeleteOnClose(file, true);
        return file;
      }
      const DWORD error = GetLastError();
      if (error != ERROR_FILE_EXISTS && error != ERROR_ALREADY_EXISTS) break;
    }
    return INVALID_HANDLE_VALUE;
  }

  // The replaced file's attributes, set through the open handle (the
  // file's name cannot be opened while it is marked for deletion).
  bool takeOverAttributes() {
    FILE_BASIC_INFO info{};  // zero times: left as they are
    info.FileAttributes = oldAttributes & kKeptAttributes;
    if (info.FileAttributes == 0) return true;
    return SetFileInformationByHandle(handle, FileBasicInfo, &info, sizeof info) != 0;
  }

  // ReplaceFileW keeps the replaced file's security and creation time;
  // where it cannot work (some network shares), a rename over the file
  // puts the list in place in one step too.
  bool putInPlace() {
    if (replacesFile && ReplaceFileW(target.c_str(), temporary.c_str(), nullptr,
                                     REPLACEFILE_IGNORE_MERGE_ERRORS, nullptr, nullptr) != 0) {
      return true;
    }
    return MoveFileExW(temporary.c_str(), target.c_str(),
                       MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0;
  }
};

OutputFile::OutputFile() = default;
OutputFile::~OutputFile() = default;

bool OutputFile::open(const char* path) {
  m_impl = std::make_unique<Impl>();
  if (path == nullptr) {
    m_impl->errorNumber = ENOENT;
    return false;
  }
  Impl& impl = *m_impl;
  const std::wstring wide = wideFromAnsi(path);
  if (wide.empty()) return impl.openDirect(path, false);
  // Opened for writing as fopen would (sharing reading and writing), but
  // not emptied: a read-only file, or one another program holds locked,
  // fails here as it always did and is never replaced.
  const HANDLE existing = CreateFileW(wide.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                      nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (existing == INVALID_HANDLE_VALUE) {
    // A free name becomes a new file. Anything else (no such folder, no
    // access, a link to nowhere) is fopen's to refuse or create as before.
    const bool freeName = GetLastError() == ERROR_FILE_NOT_FOUND &&
                          GetFileAttributesW(wide.c_str()) == INVALID_FILE_ATTRIBUTES &&
                          wide.size() > folderOf(wide).size();
    if (!freeName) return impl.openDirect(path, false);
    impl.target = wide;
    const HANDLE file = impl.openTemporary(folderOf(wide));
    if (file == INVALID_HANDLE_VALUE) return impl.openDirect(path, true);
    return impl.adopt(file, Impl::Kind::kReplace);
  }
  if (GetFileType(existing) != FILE_TYPE_DISK) {  // NUL, CON, a pipe
    CloseHandle(existing);
    return impl.openDirect(path, false);
  }
  impl.target = wide;
  const DWORD attributes = GetFileAttributesW(wide.c_str());
  if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY) != 0) {
    // Windows refuses to write a read-only file; Wine lets its root user
    // do so. Neither may replace it.
    CloseHandle(existing);
    impl.errorNumber = EACCES;
    return false;
  }
  if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0) {
    // A link: its target is replaced, the link stays.
    impl.target = finalPathOf(existing);
    if (impl.target.empty()) return impl.adopt(existing, Impl::Kind::kOverwrite);
  }
  impl.replacesFile = true;
  impl.oldAttributes = attributes != INVALID_FILE_ATTRIBUTES ? attributes : 0;
  const HANDLE file = impl.openTemporary(folderOf(impl.target));
  if (file == INVALID_HANDLE_VALUE) return impl.adopt(existing, Impl::Kind::kOverwrite);
  CloseHandle(existing);
  return impl.adopt(file, Impl::Kind::kReplace);
}

std::FILE* OutputFile::stream() const { return m_impl != nullptr ? m_impl->stream : nullptr; }

bool OutputFile::commit() {
  if (m_impl == nullptr || m_impl->stream == nullptr) return false;
  Impl& impl = *m_impl;
  const auto inLibrary = [&impl](bool done) { return done || impl.failedInLibrary(); };
  const auto inSystem = [&impl](bool done) { return done || impl.failedInSystem(); };
  std::FILE* stream = std::exchange(impl.stream, nullptr);
  // Rows lost to a full disk show up as a stream error or at the flush.
  // A write that failed earlier left its errno, which nothing since has
  // set again: no call since failed.
  bool ok = inLibrary(std::fflush(stream) == 0 && std::ferror(stream) == 0);
  if (impl.kind == Impl::Kind::kOverwrite) {
    // After the flush the handle stands at the end of the new list.
    ok = ok && inSystem(SetEndOfFile(impl.handle) != 0);
  } else if (impl.kind == Impl::Kind::kReplace) {
    ok = ok && inSystem(impl.takeOverAttributes() && FlushFileBuffers(impl.handle) != 0);
    if (ok && impl.deleteOnClose) {
      ok = inSystem(setDeleteOnClose(impl.handle, false));
      impl.deleteOnClose = !ok;
    }
  }
  ok = inLibrary(std::fclose(stream) == 0) && ok;
  impl.handle = INVALID_HANDLE_VALUE;
  if (impl.kind == Impl::Kind::kReplace) {
    ok = ok && inSystem(impl.putInPlace());
    if (ok) impl.temporary.clear();
  } else if (ok) {
    impl.created.clear();  // written: the new file stays
  }
  impl.discard();  // what is left of a failed commit
  if (ok) impl.errorNumber = 0;
  return ok;
}

void OutputFile::discard() {
  if (m_impl != nullptr) m_impl->discard();
}

int OutputFile::error() const { return m_impl != nullptr ? m_impl->errorNumber : 0; }

}  // namespace vesk
