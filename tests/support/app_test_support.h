// Helpers of the shell tests: a scratch directory, schematic files made
// on the fly, whole-file reads, what a run must leave alone of a file and
// a folder, a child process (with a file size limit, for failing writes),
// and a run of the shell on the in-memory host.
#pragma once

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <memory>
#include <ostream>
#include <set>
#include <string>
#include <vector>

#include <signal.h>
#include <stdlib.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include "app/parts_list_app.h"
#include "app/resources.h"
#include "tests/support/memory_host.h"

namespace vesk::test {

// A fresh directory under the system's temporary directory, removed with
// everything in it at the end of the test.
class ScratchDir {
 public:
  ScratchDir() {
    std::string pattern = (std::filesystem::temp_directory_path() / "vesk-app-XXXXXX").string();
    if (mkdtemp(pattern.data()) != nullptr) path_ = pattern;
  }
  ~ScratchDir() {
    std::error_code ignored;
    if (!path_.empty()) std::filesystem::remove_all(path_, ignored);
  }
  ScratchDir(const ScratchDir&) = delete;
  ScratchDir& operator=(const ScratchDir&) = delete;

  std::string file(const std::string& name) const { return (path_ / name).string(); }
  const std::filesystem::path& path() const { return path_; }

 private:
  std::filesystem::path path_;
};

struct Part {
  std::string reference, name, note;
};

// A schematic file holding one resistor-like component per part.
inline std::string schematicText(const std::vector<Part>& parts) {
  std::string text = "+KOLVA_DATA_V.1.0\r\n+SHEETINFO,EL:0,VL:255,W:1500,H:1000,-SHEETINFO\r\n";
  int y = 100;
  for (const Part& part : parts) {
    text +=
        "+COMPONENT\r\n+KOLVA_LIB_V.1.0\r\n+COMP,N:RESISTOR\r\nX:3,Y:1,B:1\r\nR:R\r\n"
        "+PIN,N:1,L:L0,T:,M:1,-PIN\r\n+PIN,N:2,L:R0,T:,M:2,-PIN\r\n-COMP\r\n-KOLVA_LIB_V.1.0\r\n";
    text += "L:0,X:250,Y:" + std::to_string(y) + ",LIB:RESISTOR,DIR:0,BLK:0,N:" + part.name +
            ",NX:2,NY:20,R:" + part.reference + ",RX:2,RY:10,NOTE:" + part.note +
            ",-COMPONENT\r\n";
    y += 50;
  }
  text += "-KOLVA_DATA_V.1.0\r\n";
  return text;
}

inline void writeFile(const std::string& path, const std::string& bytes) {
  std::ofstream(path, std::ios::binary) << bytes;
}

inline std::string readFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// What a run must leave alone of a file: its bytes, its identity (a file
// replaced by another has a new inode), its permission bits and its times.
struct FileState {
  bool exists = false;
  std::string bytes;
  ino_t inode = 0;
  mode_t mode = 0;
  long long modifiedNs = 0, changedNs = 0;
  bool operator==(const FileState&) const = default;
};

inline void PrintTo(const FileState& state, std::ostream* out) {
  if (!state.exists) {
    *out << "(no file)";
    return;
  }
  *out << "inode " << state.inode << ", mode 0" << std::oct << state.mode << std::dec << ", mtime "
       << state.modifiedNs << ", ctime " << state.changedNs << ", bytes \"" << state.bytes << "\"";
}

inline FileState fileState(const std::string& path) {
  FileState state;
  struct stat info {};
  if (stat(path.c_str(), &info) != 0) return state;
  state.exists = true;
  state.bytes = readFile(path);
  state.inode = info.st_ino;
  state.mode = info.st_mode & 07777;
  state.modifiedNs = info.st_mtim.tv_sec * 1000000000LL + info.st_mtim.tv_nsec;
  state.changedNs = info.st_ctim.tv_sec * 1000000000LL + info.st_ctim.tv_nsec;
  return state;
}

// The names in a folder, hidden ones included.
inline std::set<std::string> namesIn(const std::filesystem::path& folder) {
  std::set<std::string> names;
  for (const auto& entry : std::filesystem::directory_iterator(folder)) {
    names.insert(entry.path().filename().string());
  }
  return names;
}

// Runs `body` in a child process and returns its exit status (-1 when it
// did not end normally). `prepare` runs in the child first; it returns
// false when the child cannot be set up, which ends it with 77.
inline int inChild(const std::function<bool()>& prepare, const std::function<int()>& body) {
  std::fflush(nullptr);
  const pid_t child = fork();
  if (child == 0) _exit(prepare() ? body() : 77);
  int status = 0;
  if (child < 0 || waitpid(child, &status, 0) != child) return -1;
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

// Writes beyond `bytes` fail with EFBIG, as they fail with ENOSPC on a
// full disk, rather than ending the process.
inline bool limitFileSize(rlim_t bytes) {
  const rlimit limit{bytes, bytes};
  return signal(SIGXFSZ, SIG_IGN) != SIG_ERR && setrlimit(RLIMIT_FSIZE, &limit) == 0;
}

// What the shell wrote to its output and error streams. (The traces of
// the conversion go to the process's own standard error stream.)
struct Said {
  std::string out;
  std::string err;
};

inline std::string readBack(std::FILE* stream) {
  std::string text;
  if (stream == nullptr) return text;
  std::rewind(stream);
  for (int c; (c = std::fgetc(stream)) != EOF;) text.push_back(static_cast<char>(c));
  std::fclose(stream);
  return text;
}

// Runs the shell with `args` (after the program path "/opt/vesk/bin/vesk")
// on `host`; `user` acts in the main dialog. Returns the exit status;
// what the shell wrote goes to `said` where one is given.
inline int runShell(CMemoryHost& host, const std::function<void(CMemoryHost&)>& user = {},
                    Said* said = nullptr) {
  if (user) host.WhenShown(kIddPartsListDialog, user);
  std::FILE* out = std::tmpfile();
  std::FILE* err = std::tmpfile();
  int status = -1;
  if (out != nullptr && err != nullptr) {
    CPartsListApp app(host, out, err);
    app.InitInstance();
    status = app.ExitCode();
  }
  const Said written{readBack(out), readBack(err)};
  if (said != nullptr) *said = written;
  return status;
}

inline std::vector<std::string> withProgram(std::vector<std::string> args) {
  args.insert(args.begin(), "/opt/vesk/bin/vesk");
  return args;
}

// A host that can show windows, as the tests act as the user.
inline std::unique_ptr<CMemoryHost> interactiveHost(std::vector<std::string> args = {}) {
  auto host = std::make_unique<CMemoryHost>(partsListResources(), withProgram(std::move(args)));
  host->SetCanShowWindows(true);
  return host;
}

}  // namespace vesk::test
