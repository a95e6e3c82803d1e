#include "platform/output_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <time.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>
#include <string>
#include <utility>

namespace vesk {

namespace {

// The kernel gives up on a path after as many links (ELOOP).
constexpr int kMaxLinks = 40;
constexpr int kNameAttempts = 100;

// "dir/" of "dir/name", "/" of "/name", "" of a bare name.
std::string folderOf(const std::string& path) {
  const std::size_t slash = path.rfind('/');
  return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

// The path that `path` leads to once the symbolic links at its end are
// followed, also to a file that does not exist yet. Links in the folders
// above need no following: the temporary file goes into the same folder
// however it is reached. After too many links the last one is returned
// still a link, and is then written directly, which fails as fopen does.
std::string followLinks(std::string path) {
  char target[4096];
  for (int link = 0; link < kMaxLinks; ++link) {
    const ssize_t length = readlink(path.c_str(), target, sizeof target);
    if (length <= 0 || static_cast<std::size_t>(length) == sizeof target) break;
    std::string next(target, static_cast<std::size_t>(length));
    path = next.front() == '/' ? std::move(next) : folderOf(path) + next;
  }
  return path;
}

// A name for the temporary file in `folder`, another on every call.
std::string temporaryName(const std::string& folder) {
  static std::uint64_t counter = 0;
  timespec now{};
  clock_gettime(CLOCK_REALTIME, &now);
  // splitmix64 over the time, the process and a counter.
  std::uint64_t x = static_cast<std::uint64_t>(now.tv_nsec) ^
                    (static_cast<std::uint64_t>(now.tv_sec) << 30) ^
                    (static_cast<std::uint64_t>(getpid()) << 12) ^ ++counter;
  x += 0x9E3779B97F4A7C15u;
  x = (x ^ (x >> 30)) * 0xBF58476D1CE4E5B9u;
  x = (x ^ (x >> 27)) * 0x94D049BB133111EBu;
  x ^= x >> 31;
  static constexpr char kDigits[] = "0123456789abcdef";
  std::string name = folder + "vesk-00000000.tmp";
  for (std::size_t i = 0; i < 8; ++i) name[folder.size() + 5 + i] = kDigits[(x >> (4 * i)) & 15];
  return name;
}

// The folder's entries on disk, so that a rename survives a power loss;
// where this fails, the rename is still done.
void syncFolder(const std::string& folder) {
  const int fd = ::open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return;
  if (fsync(fd) != 0) {
    // Some file systems cannot sync a folder; the rename stands.
  }
  ::close(fd);
}

}  // namespace

struct OutputFile::Impl {
  enum class Kind {
    kReplace,    // a temporary file, renamed over the output by commit()
    kOverwrite,  // the existing output itself, cut to the new length by commit()
    kDirect,     // fopen(path, "wb"): devices, FIFOs, and what cannot be replaced
  };
  Kind kind = Kind::kDirect;
  std::FILE* stream = nullptr;
  std::string target;     // the file that commit() replaces
  std::string temporary;  // the temporary file's name; empty while it has none
  bool unnamed = false;   // an O_TMPFILE file, named only by commit()
  bool replacesFile = false;
  struct stat old {};     // the replaced file's owner and mode
  std::string created;    // a direct output that did not exist before
  int errorNumber = 0;          // errno of the step that failed

  // Notes errno as the reason of a failed step (the first one that
  // failed: what fails after it is its consequence) and returns false.
  bool failed() {
    if (errorNumber == 0) errorNumber = errno != 0 ? errno : EIO;
    return false;
  }

  ~Impl() { discard(); }

  void discard() {
    if (stream != nullptr) std::fclose(stream);
    stream = nullptr;
    if (!temporary.empty()) ::unlink(temporary.c_str());
    temporary.clear();
    if (!created.empty()) ::unlink(created.c_str());
    created.clear();
  }

  bool openDirect(const char* path, bool isNew) {
    kind = Kind::kDirect;
    errno = 0;
    stream = std::fopen(path, "wb");
    if (stream == nullptr) return failed();
    if (isNew) created = path;
    return true;
  }

  bool adopt(int fd, Kind how) {
    kind = how;
    stream = fdopen(fd, "wb");
    if (stream != nullptr) return true;
    failed();
    ::close(fd);
    discard();
    return false;
  }

  // A new file in `folder`, or -1 where none can be made.
  int openTemporary(const std::string& folder) {
#ifdef O_TMPFILE
    // Linux: a file without a name, gone with the process whatever ends
    // it. Naming it later goes through /proc/self/fd.
    if (::access("/proc/self/fd", X_OK) == 0) {
      const int fd = ::open(folder.empty() ? "." : folder.c_str(),
                            O_TMPFILE | O_WRONLY | O_CLOEXEC, 0666);
      if (fd >= 0) {
        unnamed = true;
        return fd;
      }
      // Older kernels and some file systems have no unnamed files; a
      // folder that refuses them refuses the named file below too.
    }
#endif
    for (int attempt = 0; attempt < kNameAttempts; ++attempt) {
      std::string name = temporaryName(folder);
      // Made with the mode fopen gives a new file, the umask applied.
      const int fd = ::open(name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOCTTY, 0666);
      if (fd >= 0) {
        temporary = std::move(name);
        return fd;
      }
      if (errno != EEXIST) return -1;
    }
    return -1;
  }

  // Before the close: the replaced file's owner and mode, the bytes on
  // disk, and a name for an unnamed file.
  bool prepareReplacement(int fd) {
    if (replacesFile) {
      struct stat now {};
      if (fstat(fd, &now) == 0 && (now.st_uid != old.st_uid || now.st_gid != old.st_gid) &&
          fchown(fd, old.st_uid, old.st_gid) != 0) {
        // Only root may give a file to another user, and others only to
        // a group of their own; otherwise the list belongs to the user,
        // as a copy would.
      }
      if (fchmod(fd, old.st_mode & 07777) != 0) return false;
    }
    // On disk before the rename, so that a power loss leaves either list
    // whole. EINVAL: a file system that cannot sync, the bytes are written.
    if (fsync(fd) != 0 && errno != EINVAL) return false;
    if (!unnamed) return true;
    const std::string self = "/proc/self/fd/" + std::to_string(fd);
    const std::string folder = folderOf(target);
    for (int attempt = 0; attempt < kNameAttempts; ++attempt) {
      std::string name = temporaryName(folder);
      if (linkat(AT_FDCWD, self.c_str(), AT_FDCWD, name.c_str(), AT_SYMLINK_FOLLOW) == 0) {
        temporary = std::move(name);
        return true;
      }
      if (errno != EEXIST) return false;
    }
    return false;
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
  impl.target = followLinks(path);
  const std::string folder = folderOf(impl.target);
  if (lstat(impl.target.c_str(), &impl.old) != 0) {
    // A free name becomes a new file; anything else (no such folder, a
    // name ending in '/') is fopen's to refuse as before.
    const bool freeName = errno == ENOENT && impl.target.size() > folder.size();
    if (!freeName) return impl.openDirect(path, false);
    const int fd = impl.openTemporary(folder);
    if (fd < 0) return impl.openDirect(path, true);
    return impl.adopt(fd, Impl::Kind::kReplace);
  }
  if (!S_ISREG(impl.old.st_mode)) return impl.openDirect(path, false);
  // Opened for writing as fopen would, but not emptied: a file the user
  // may not write fails here, as it always did, and is never replaced.
  const int existing = ::open(impl.target.c_str(), O_WRONLY | O_CLOEXEC | O_NOCTTY);
  if (existing < 0) return impl.failed();
  impl.replacesFile = true;
  const int fd = impl.openTemporary(folder);
  if (fd < 0) return impl.adopt(existing, Impl::Kind::kOverwrite);
  ::close(existing);
  return impl.adopt(fd, Impl::Kind::kReplace);
}

std::FILE* OutputFile::stream() const { return m_impl != nullptr ? m_impl->stream : nullptr; }

bool OutputFile::commit() {
  if (m_impl == nullptr || m_impl->stream == nullptr) return false;
  Impl& impl = *m_impl;
  const auto step = [&impl](bool done) { return done || impl.failed(); };
  std::FILE* stream = std::exchange(impl.stream, nullptr);
  // Rows lost to a full disk show up as a stream error or at the flush.
  // A write that failed earlier left its errno, which nothing since has
  // set again: no call since failed.
  bool ok = step(std::fflush(stream) == 0 && std::ferror(stream) == 0);
  const int fd = fileno(stream);
  if (impl.kind == Impl::Kind::kOverwrite) {
    const off_t length = ftello(stream);
    ok = ok && step(length >= 0 && ftruncate(fd, length) == 0);
  } else if (impl.kind == Impl::Kind::kReplace) {
    ok = ok && step(impl.prepareReplacement(fd));
  }
  ok = step(std::fclose(stream) == 0) && ok;
  if (impl.kind == Impl::Kind::kReplace) {
    ok = ok && step(std::rename(impl.temporary.c_str(), impl.target.c_str()) == 0);
    if (ok) {
      impl.temporary.clear();
      syncFolder(folderOf(impl.target));
    }
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
