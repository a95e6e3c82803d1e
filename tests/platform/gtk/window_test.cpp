// The vesk program's GTK windows under Xvfb, driven as a user would drive
// them: the window found by its caption, keys and clicks through xdotool,
// screenshots through ImageMagick's import. What GTK shows comes from the
// host's snapshot report (VESK_GTK_REPORT): widget geometry, texts, state.
// Screenshots of the main dialog and the About box stay in the build tree
// (artifacts/). Without Xvfb, xdotool or import the window tests skip and
// say why.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <map>
#include <optional>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "app/resources.h"
#include "tests/support/bad_schematics.h"

namespace vesk {
namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;

constexpr const char* kMainCaption = "Vesk V.0.31 Kolvaneのための部品リスト生成ソフト";
constexpr const char* kAboutCaption = "Veskのバージョン情報";

std::string readFile(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

std::optional<std::string> findProgram(const std::string& name) {
  const char* path = std::getenv("PATH");
  std::stringstream dirs(path != nullptr ? path : "/usr/bin:/bin");
  std::string dir;
  while (std::getline(dirs, dir, ':')) {
    const fs::path candidate = fs::path(dir) / name;
    if (access(candidate.c_str(), X_OK) == 0) return candidate.string();
  }
  return std::nullopt;
}

// A child process with extra environment, its output into files.
class Process {
 public:
  Process(std::vector<std::string> argv, const fs::path& directory,
          const std::map<std::string, std::optional<std::string>>& environment,
          const fs::path& output, int keepFd = -1) {
    pid_ = fork();
    if (pid_ != 0) return;
    // Ends with the test, even when a timeout kills the test abruptly.
    prctl(PR_SET_PDEATHSIG, SIGKILL);
    if (chdir(directory.c_str()) != 0) _exit(126);
    for (const auto& [name, value] : environment) {
      if (value) {
        setenv(name.c_str(), value->c_str(), 1);
      } else {
        unsetenv(name.c_str());
      }
    }
    const int out = open(output.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    if (out >= 0) {
      dup2(out, 1);
      dup2(out, 2);
    }
    const int devNull = open("/dev/null", O_RDONLY);
    if (devNull >= 0) dup2(devNull, 0);
    for (int fd = 3; fd < 256; ++fd) {
      if (fd != keepFd) close(fd);
    }
    std::vector<char*> args;
    for (std::string& arg : argv) args.push_back(arg.data());
    args.push_back(nullptr);
    execvp(args[0], args.data());
    _exit(127);
  }
  ~Process() {
    if (pid_ > 0 && !status_) {
      kill(pid_, SIGKILL);
      waitpid(pid_, nullptr, 0);
    }
  }
  Process(const Process&) = delete;
  Process& operator=(const Process&) = delete;

  pid_t pid() const { return pid_; }
  // The exit status, or none while it runs after `timeout`.
  std::optional<int> waitFor(std::chrono::milliseconds timeout) {
    const auto end = std::chrono::steady_clock::now() + timeout;
    while (!status_) {
      int status = 0;
      const pid_t done = waitpid(pid_, &status, WNOHANG);
      if (done == pid_) {
        status_ = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
        break;
      }
      if (std::chrono::steady_clock::now() > end) break;
      std::this_thread::sleep_for(20ms);
    }
    return status_;
  }

 private:
  pid_t pid_ = -1;
  std::optional<int> status_;
};

// One snapshot of the host's report.
struct Control {
  int id = 0;
  int x = 0, y = 0, width = 0, height = 0;
  bool sensitive = false;
  bool focused = false;
  bool checked = false;
  int textWidth = 0;
  std::string text;
};
struct ShownDialog {
  std::string font;
  int baseX = 0, baseY = 0, width = 0, height = 0;
  std::string title;
  std::vector<Control> controls;  // in template order
  std::vector<std::string> rows;
  int selectedRow = -1;
};
struct ShownMessage {
  std::string title;
  std::string text;    // the first line
  std::string detail;  // the lines below it, joined by spaces
};
struct Snapshot {
  int serial = 0;
  std::map<int, ShownDialog> dialogs;
  std::vector<ShownMessage> messages;
};

std::vector<std::string> splitTabs(const std::string& line) {
  std::vector<std::string> fields;
  std::size_t start = 0;
  for (;;) {
    const std::size_t tab = line.find('\t', start);
    fields.push_back(line.substr(start, tab - start));
    if (tab == std::string::npos) return fields;
    start = tab + 1;
  }
}

std::vector<Snapshot> parseReport(const std::string& report) {
  std::vector<Snapshot> snapshots;
  std::optional<Snapshot> current;
  std::istringstream lines(report);
  std::string line;
  while (std::getline(lines, line)) {
    const std::vector<std::string> f = splitTabs(line);
    if (f[0] == "snapshot" && f.size() >= 2) {
      current = Snapshot{};
      current->serial = std::stoi(f[1]);
    } else if (!current) {
      continue;
    } else if (f[0] == "dialog" && f.size() >= 8) {
      ShownDialog& dialog = current->dialogs[std::stoi(f[1])];
      dialog.font = f[2];
      dialog.baseX = std::stoi(f[3]);
      dialog.baseY = std::stoi(f[4]);
      dialog.width = std::stoi(f[5]);
      dialog.height = std::stoi(f[6]);
      dialog.title = f[7];
    } else if (f[0] == "control" && f.size() >= 13) {
      Control control{std::stoi(f[2]), std::stoi(f[4]),  std::stoi(f[5]), std::stoi(f[6]),
                      std::stoi(f[7]), f[8] == "1",      f[9] == "1",     f[10] == "1",
                      std::stoi(f[11]), f[12]};
      current->dialogs[std::stoi(f[1])].controls.push_back(control);
    } else if (f[0] == "row" && f.size() >= 6) {
      ShownDialog& dialog = current->dialogs[std::stoi(f[1])];
      if (f[4] == "1") dialog.selectedRow = static_cast<int>(dialog.rows.size());
      dialog.rows.push_back(f[5]);
    } else if (f[0] == "message" && f.size() >= 4) {
      current->messages.push_back({f[1], f[2], f[3]});
    } else if (f[0] == "end") {
      snapshots.push_back(std::move(*current));
      current.reset();
    }
  }
  return snapshots;
}

// The control with `id` (the first, for the labels' -1).
const Control& control(const ShownDialog& dialog, int id) {
  static const Control none;
  for (const Control& shown : dialog.controls) {
    if (shown.id == id) return shown;
  }
  ADD_FAILURE() << "no control " << id;
  return none;
}

// Windows' MulDiv on the positive template values: rounded to nearest.
int scaled(int units, int base, int divisor) { return (2 * units * base + divisor) / (2 * divisor); }

// The window tests: one Xvfb per test, vesk started in a scratch directory.
class WindowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    for (const char* tool : {"Xvfb", "xdotool", "import"}) {
      if (!findProgram(tool)) {
        GTEST_SKIP() << tool << " is not installed: the window tests need the packages xvfb, "
                     << "xdotool and imagemagick (make deps)";
      }
    }
    ASSERT_TRUE(fs::exists(VESK_GTK_MODULE)) << "vesk-gtk.so was not built";
    char pattern[] = "/tmp/vesk-window-XXXXXX";
    ASSERT_NE(mkdtemp(pattern), nullptr);
    dir_ = pattern;
    fs::copy_file(fs::path(VESK_EXAMPLES_DIR) / "amp_main.ce3", dir_ / "a.ce3");
    fs::copy_file(fs::path(VESK_EXAMPLES_DIR) / "amp_power.ce3", dir_ / "b.ce3");
    startXvfb();
  }

  void TearDown() override {
    vesk_.reset();
    xvfb_.reset();
    std::error_code ignored;
    if (!dir_.empty()) fs::remove_all(dir_, ignored);
  }

  void startXvfb() {
    int fds[2];
    ASSERT_EQ(pipe(fds), 0);
    xvfb_ = std::make_unique<Process>(
        std::vector<std::string>{"Xvfb", "-displayfd", std::to_string(fds[1]), "-screen", "0",
                                 "1024x768x24", "-nolisten", "tcp"},
        dir_, std::map<std::string, std::optional<std::string>>{}, dir_ / "xvfb.log", fds[1]);
    close(fds[1]);
    std::string number;
    pollfd waiting{fds[0], POLLIN, 0};
    while (poll(&waiting, 1, 10000) > 0) {
      char c = 0;
      if (read(fds[0], &c, 1) != 1 || c == '\n') break;
      number.push_back(c);
    }
    close(fds[0]);
    ASSERT_FALSE(number.empty()) << "Xvfb did not start: " << readFile(dir_ / "xvfb.log");
    display_ = ":" + number;
  }

  std::map<std::string, std::optional<std::string>> environment() const {
    return {{"DISPLAY", display_},
            {"WAYLAND_DISPLAY", std::nullopt},
            {"VESK_GTK_REPORT", (dir_ / "report.txt").string()},
            {"GTK_THEME", "Adwaita"},
            {"NO_AT_BRIDGE", "1"},
            {"GSETTINGS_BACKEND", "memory"},  // no session bus for the chooser's settings
            {"LSAN_OPTIONS", "suppressions=" VESK_LSAN_SUPPRESSIONS}};
  }

  void startVesk(const std::vector<std::string>& args) {
    std::vector<std::string> argv = {VESK_PROGRAM};
    argv.insert(argv.end(), args.begin(), args.end());
    vesk_ = std::make_unique<Process>(argv, dir_, environment(), dir_ / "vesk.log");
  }

  // The newest snapshot for which `wanted` holds, waiting up to 10 s.
  Snapshot waitForSnapshot(const std::function<bool(const Snapshot&)>& wanted) {
    const auto end = std::chrono::steady_clock::now() + 10s;
    while (std::chrono::steady_clock::now() < end) {
      const auto snapshots = parseReport(readFile(dir_ / "report.txt"));
      if (!snapshots.empty() && wanted(snapshots.back())) return snapshots.back();
      std::this_thread::sleep_for(50ms);
    }
    ADD_FAILURE() << "no such snapshot; the report:\n"
                  << readFile(dir_ / "report.txt") << "\nvesk said:\n"
                  << readFile(dir_ / "vesk.log");
    return {};
  }

  // A fresh snapshot of what is shown once `wanted` holds: keys and
  // clicks reach the program on their own way, so ask until they have
  // shown their effect (10 s at most).
  Snapshot snapshotWhen(const std::function<bool(const Snapshot&)>& wanted) {
    const auto end = std::chrono::steady_clock::now() + 10s;
    Snapshot latest;
    do {
      const auto before = parseReport(readFile(dir_ / "report.txt"));
      const int serial = before.empty() ? 0 : before.back().serial;
      kill(vesk_->pid(), SIGUSR1);
      latest = waitForSnapshot([&](const Snapshot& s) { return s.serial > serial; });
      if (wanted(latest)) return latest;
      std::this_thread::sleep_for(100ms);
    } while (std::chrono::steady_clock::now() < end);
    ADD_FAILURE() << "the windows did not get there; the report:\n"
                  << readFile(dir_ / "report.txt");
    return latest;
  }
  // What is shown after a moment in which nothing should change.
  Snapshot snapshotAfterAWhile() {
    std::this_thread::sleep_for(500ms);
    return snapshotWhen([](const Snapshot&) { return true; });
  }

  std::string xdotool(const std::string& arguments) {
    const std::string command =
        "DISPLAY=" + display_ + " timeout 10 xdotool " + arguments + " 2>/dev/null";
    std::string output;
    if (FILE* pipe = popen(command.c_str(), "r")) {
      char buffer[256];
      while (fgets(buffer, sizeof buffer, pipe) != nullptr) output += buffer;
      pclose(pipe);
    }
    while (!output.empty() && output.back() == '\n') output.pop_back();
    return output;
  }

  // The shown X window with exactly this caption (GTK keeps a hidden
  // window named after the program too).
  std::string windowByCaption(const std::string& caption) {
    std::string window = xdotool("search --sync --onlyvisible --name '^" + caption + "$'");
    if (const std::size_t line = window.find('\n'); line != std::string::npos) {
      window.resize(line);
    }
    return window;
  }

  void keys(const std::string& window, const std::string& keyNames) {
    xdotool("windowfocus --sync " + window);
    xdotool("key --delay 50 " + keyNames);
  }

  // Saves the window as PNG under the build tree and returns its pixels.
  struct Image {
    int width = 0, height = 0;
    std::string rgb;
    int luminance(int x, int y) const {
      if (x < 0 || y < 0 || x >= width || y >= height) return -1;
      const std::size_t at = (static_cast<std::size_t>(y) * width + x) * 3;
      const auto* p = reinterpret_cast<const unsigned char*>(rgb.data() + at);
      return (p[0] * 299 + p[1] * 587 + p[2] * 114) / 1000;
    }
  };
  Image screenshot(const std::string& window, const std::string& name) {
    fs::create_directories(VESK_ARTIFACT_DIR);
    const std::string png = (fs::path(VESK_ARTIFACT_DIR) / (name + ".png")).string();
    const std::string ppm = (dir_ / (name + ".ppm")).string();
    for (const std::string& target : {png, "ppm:" + ppm}) {
      const std::string command = "DISPLAY=" + display_ + " timeout 10 import -depth 8 -window " + window +
                                  " '" + target + "' 2>/dev/null";
      EXPECT_EQ(std::system(command.c_str()), 0) << command;
    }
    Image image;
    std::istringstream in(readFile(ppm));
    std::string magic;
    int maximum = 0;
    in >> magic >> image.width >> image.height >> maximum;
    in.get();
    image.rgb.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    EXPECT_EQ(magic, "P6");
    EXPECT_EQ(image.rgb.size(), static_cast<std::size_t>(image.width) * image.height * 3);
    return image;
  }

  // Every control of template `templateId` stands at its template rectangle
  // converted with the reported base units, its text fits, and the border
  // of framed controls is drawn on the edge of that rectangle.
  void expectTemplateLayout(int templateId, const ShownDialog& shown, const Image& image) {
    const DialogTemplate* layout = partsListResources().findDialog(templateId);
    ASSERT_NE(layout, nullptr);
    EXPECT_EQ(shown.title, layout->caption);
    // The template font, or its stand-in where it is not installed.
    const bool templateFontInstalled =
        std::system(("fc-list '" + std::string(layout->fontName) + "' | grep -q .").c_str()) == 0;
    EXPECT_EQ(shown.font, templateFontInstalled ? std::string(layout->fontName) : "IPAPGothic");
    EXPECT_GE(shown.baseX, 5);
    EXPECT_LE(shown.baseX, 9);
    EXPECT_GE(shown.baseY, 11);
    EXPECT_LE(shown.baseY, 16);
    EXPECT_EQ(shown.width, scaled(layout->width, shown.baseX, 4));
    EXPECT_EQ(shown.height, scaled(layout->height, shown.baseY, 8));
    EXPECT_EQ(image.width, shown.width);
    EXPECT_EQ(image.height, shown.height);
    ASSERT_EQ(shown.controls.size(), layout->controls.size());
    for (std::size_t i = 0; i < layout->controls.size(); ++i) {
      const DialogControl& wanted = layout->controls[i];
      const Control& got = shown.controls[i];
      SCOPED_TRACE("control " + std::to_string(wanted.id) + " " + std::string(wanted.text));
      EXPECT_EQ(got.id, wanted.id);
      EXPECT_EQ(got.x, scaled(wanted.x, shown.baseX, 4));
      EXPECT_EQ(got.y, scaled(wanted.y, shown.baseY, 8));
      if (wanted.kind == ControlKind::kIcon) {
        EXPECT_EQ(got.width, 32);
        EXPECT_EQ(got.height, 32);
        continue;
      }
      EXPECT_EQ(got.width, scaled(wanted.width, shown.baseX, 4));
      EXPECT_EQ(got.height, scaled(wanted.height, shown.baseY, 8));
      std::string plain(wanted.text);
      std::erase(plain, '&');
      if (wanted.kind != ControlKind::kListBox && wanted.kind != ControlKind::kEdit) {
        EXPECT_EQ(got.text, plain);
        EXPECT_GT(got.textWidth, 0);
        EXPECT_LE(got.textWidth, got.width);  // readable in full
      }
      if (wanted.kind == ControlKind::kStaticText || wanted.kind == ControlKind::kCheckBox) {
        continue;
      }
      // A frame line on the top and the left edge, background just outside.
      const int midX = got.x + got.width / 2;
      const int midY = got.y + got.height / 2;
      EXPECT_LT(image.luminance(midX, got.y), image.luminance(midX, got.y - 2) - 15)
          << "top edge at y " << got.y;
      EXPECT_LT(image.luminance(got.x, midY), image.luminance(got.x - 2, midY) - 15)
          << "left edge at x " << got.x;
    }
  }

  // Types `path` into the location field of the file chooser now opening
  // and confirms it; false when no chooser appeared.
  bool chooseInFileChooser(const fs::path& path) {
    const std::string chooser = windowByCaption("(Select a File|ファイルの選択)");
    if (chooser.empty()) return false;
    std::this_thread::sleep_for(500ms);  // let it settle on its folder first
    xdotool("windowfocus --sync " + chooser);
    xdotool("key ctrl+l");
    std::this_thread::sleep_for(300ms);
    xdotool("type --delay 20 '" + path.string() + "'");
    std::this_thread::sleep_for(500ms);
    xdotool("key Return");
    return true;
  }

  std::optional<int> endWithEscape(const std::string& window) {
    keys(window, "Escape");
    return vesk_->waitFor(10s);
  }

  // Starts vesk with `args`, presses `keyNames` in its dialog, waits until
  // the dialog is `ready` and presses Enter; returns the message Execute
  // shows, after closing it and the dialog. The message's picture, when
  // named, stays with the artifacts; the box keeps to the screen.
  ShownMessage execute(
      const std::vector<std::string>& args, const std::string& keyNames = {},
      const std::function<bool(const ShownDialog&)>& ready = [](const ShownDialog&) {
        return true;
      },
      const std::string& picture = {}) {
    fs::remove(dir_ / "report.txt");  // each program counts its snapshots from 1
    startVesk(args);
    waitForSnapshot([](const Snapshot& s) { return s.dialogs.count(102) != 0; });
    const std::string window = windowByCaption(kMainCaption);
    if (!keyNames.empty()) keys(window, keyNames);
    snapshotWhen([&](const Snapshot& s) {
      return s.dialogs.count(102) != 0 && ready(s.dialogs.at(102));
    });
    keys(window, "Return");
    const Snapshot done = waitForSnapshot([](const Snapshot& s) { return !s.messages.empty(); });
    const std::string message = windowByCaption("vesk");
    if (!picture.empty()) {
      EXPECT_LT(screenshot(message, picture).width, 1024);
    }
    keys(message, "Return");
    snapshotWhen([](const Snapshot& s) { return s.messages.empty(); });
    EXPECT_EQ(endWithEscape(window), 0);
    return done.messages.empty() ? ShownMessage{} : done.messages.front();
  }

  fs::path dir_;
  std::string display_;
  std::unique_ptr<Process> xvfb_;
  std::unique_ptr<Process> vesk_;
};

bool showsDialog(const Snapshot& snapshot, int id) { return snapshot.dialogs.count(id) != 0; }

TEST_F(WindowTest, MainDialogStandsWhereTheTemplatePutsIt) {
  startVesk({"a.ce3", "--grouped"});
  const Snapshot shown = waitForSnapshot([](const Snapshot& s) { return showsDialog(s, 102); });
  const std::string window = windowByCaption(kMainCaption);
  ASSERT_FALSE(window.empty()) << "no window captioned " << kMainCaption;
  const ShownDialog& dialog = shown.dialogs.at(102);
  expectTemplateLayout(102, dialog, screenshot(window, "main-dialog"));
  EXPECT_EQ(dialog.rows, std::vector<std::string>{"a.ce3"});
  EXPECT_EQ(dialog.selectedRow, -1);  // the focus alone selects nothing
  EXPECT_EQ(dialog.controls.at(2).text, "a.csv");
  EXPECT_TRUE(dialog.controls.at(0).focused);  // the first tab stop
  EXPECT_TRUE(control(dialog, kIdcGroupedList).checked);  // as the command line asked
  EXPECT_FALSE(control(dialog, kIdcUtf8Output).checked);
  EXPECT_EQ(endWithEscape(window), 0);
}

// The choice of list, preset on the command line and changed from the
// keyboard (Alt and the mnemonic): Enter then writes the bytes that -F
// writes with the same options.
TEST_F(WindowTest, TheChoicesWriteWhatDashFWritesWithTheSameOptions) {
  struct Case {
    std::vector<std::string> preset;
    std::string keys;
    bool grouped, utf8;
  };
  const Case cases[] = {
      {{}, "alt+g", true, false},
      {{}, "alt+u", false, true},
      {{"--grouped", "--encoding=utf-8"}, "", true, true},
      {{"--encoding=UTF-8"}, "alt+g alt+u", true, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::PrintToString(c.preset) + " " + c.keys);
    std::vector<std::string> args = c.preset;
    args.insert(args.end(), {"a.ce3", "b.ce3", "-o", "out.csv"});
    const ShownMessage done = execute(args, c.keys, [&](const ShownDialog& dialog) {
      return control(dialog, kIdcGroupedList).checked == c.grouped &&
             control(dialog, kIdcUtf8Output).checked == c.utf8;
    });
    EXPECT_EQ(done.text, "処理が終了しました");
    std::vector<std::string> reference = {VESK_PROGRAM, "-F", "a.ce3", "b.ce3", "-o", "ref.csv"};
    if (c.grouped) reference.push_back("--grouped");
    if (c.utf8) reference.push_back("--encoding=utf-8");
    Process automatic(reference, dir_, {{"DISPLAY", std::nullopt}}, dir_ / "reference.log");
    ASSERT_EQ(automatic.waitFor(20s), 0);
    EXPECT_FALSE(readFile(dir_ / "out.csv").empty());
    EXPECT_EQ(readFile(dir_ / "out.csv"), readFile(dir_ / "ref.csv"));
  }
}

// A list longer than a run reads is read in part and message 104 says
// so; an entry longer than a path fails Execute as a file that cannot be
// opened, with the reason, and writes nothing.
TEST_F(WindowTest, EntriesLeftOutAndEntriesTooLongAreTold) {
  std::string tooLong;
  while (tooLong.size() <= 4096) tooLong += std::string(200, 'd') + "/";
  std::vector<std::string> many(66, "a.ce3");
  many.insert(many.end(), {"-o", "out.csv"});
  ShownMessage said = execute(many);
  EXPECT_EQ(said.text, "処理が終了しました");
  EXPECT_NE(said.detail.find("66 個の入力ファイルのうち、読み込んだのは最初の 64 個だけです"),
            std::string::npos);
  EXPECT_TRUE(fs::remove(dir_ / "out.csv"));
  said = execute({"a.ce3", tooLong + "a.ce3", "-o", "out.csv"}, {},
                 [](const ShownDialog&) { return true; }, "message-too-long");
  EXPECT_EQ(said.text, "入力ファイルのオープンに失敗しました");
  EXPECT_NE(said.detail.find("ファイルを開けません: パスが長すぎます"), std::string::npos);
  EXPECT_FALSE(fs::exists(dir_ / "out.csv"));
}

TEST_F(WindowTest, ExecuteFromTheKeyboardWritesTheListAndSaysSo) {
  startVesk({"a.ce3", "b.ce3", "-o", "out.csv"});
  waitForSnapshot([](const Snapshot& s) { return showsDialog(s, 102); });
  const std::string window = windowByCaption(kMainCaption);
  ASSERT_FALSE(window.empty());
  keys(window, "Return");  // the focus is on the list: Enter is Execute
  const Snapshot done = waitForSnapshot([](const Snapshot& s) { return !s.messages.empty(); });
  ASSERT_EQ(done.messages.size(), 1u);
  EXPECT_EQ(done.messages[0].title, "vesk");  // captioned with the program's name
  EXPECT_EQ(done.messages[0].text, "処理が終了しました");
  // U1 is placed on both sheets, with one name.
  EXPECT_EQ(done.messages[0].detail,
            "11 行のうち、1 個の部品番号が複数回あります (部品名はどれも同じです)");
  const std::string message = windowByCaption("vesk");
  ASSERT_FALSE(message.empty());
  // The same parts list as the automatic mode writes; -o held over the
  // name derived from the list.
  Process reference({VESK_PROGRAM, "-F", "a.ce3", "b.ce3", "-o", "reference.csv"}, dir_,
                    {{"DISPLAY", std::nullopt}}, dir_ / "reference.log");
  ASSERT_EQ(reference.waitFor(20s), 0);
  EXPECT_FALSE(readFile(dir_ / "out.csv").empty());
  EXPECT_EQ(readFile(dir_ / "out.csv"), readFile(dir_ / "reference.csv"));
  EXPECT_FALSE(fs::exists(dir_ / "a.csv"));

  keys(message, "Return");  // OK closes the box, the dialog stays
  const Snapshot after = snapshotWhen([](const Snapshot& s) { return s.messages.empty(); });
  EXPECT_TRUE(showsDialog(after, 102));
  EXPECT_EQ(endWithEscape(window), 0);
}

// Five files in the list, the fourth broken: the message says which file,
// on which line, and why, below its own text.
TEST_F(WindowTest, AFailedExecuteNamesTheFileTheLineAndWhy) {
  const test::BadSchematic bad = test::badSchematics().front();
  std::ofstream(dir_ / "bad.ce3", std::ios::binary) << bad.bytes;
  fs::copy_file(dir_ / "a.ce3", dir_ / "c.ce3");
  fs::copy_file(dir_ / "b.ce3", dir_ / "e.ce3");
  startVesk({"a.ce3", "b.ce3", "c.ce3", "bad.ce3", "e.ce3", "-o", "out.csv"});
  waitForSnapshot([](const Snapshot& s) { return showsDialog(s, 102); });
  const std::string window = windowByCaption(kMainCaption);
  ASSERT_FALSE(window.empty());
  keys(window, "Return");
  const Snapshot failed = waitForSnapshot([](const Snapshot& s) { return !s.messages.empty(); });
  ASSERT_EQ(failed.messages.size(), 1u);
  EXPECT_EQ(failed.messages[0].title, "vesk");
  EXPECT_EQ(failed.messages[0].text, "入力ファイルのオープンに失敗しました");
  EXPECT_EQ(failed.messages[0].detail,
            "bad.ce3 (" + std::to_string(bad.line) + " 行目) ブロック " + bad.block +
                " に必要なキー " + bad.key + " がありません");
  const std::string message = windowByCaption("vesk");
  ASSERT_FALSE(message.empty());
  // The details make the box taller than a message of one line; the
  // picture stays with the test's artifacts.
  const Image shown = screenshot(message, "message-input-failed");
  EXPECT_GT(shown.height, 120) << "the box shows no lines below its text";
  EXPECT_FALSE(fs::exists(dir_ / "out.csv"));
  keys(message, "Return");
  snapshotWhen([](const Snapshot& s) { return s.messages.empty(); });
  EXPECT_EQ(endWithEscape(window), 0);
}

TEST_F(WindowTest, ClearEmptiesTheListAndDisablesExecute) {
  startVesk({"a.ce3", "b.ce3"});
  const Snapshot before = waitForSnapshot([](const Snapshot& s) { return showsDialog(s, 102); });
  EXPECT_EQ(before.dialogs.at(102).rows.size(), 2u);
  EXPECT_TRUE(control(before.dialogs.at(102), kIdOk).sensitive);
  const std::string window = windowByCaption(kMainCaption);
  ASSERT_FALSE(window.empty());
  keys(window, "alt+c");  // クリア(&C)
  const Snapshot cleared = snapshotWhen([](const Snapshot& s) {
    return showsDialog(s, 102) && s.dialogs.at(102).rows.empty();
  });
  const ShownDialog& dialog = cleared.dialogs.at(102);
  EXPECT_TRUE(dialog.rows.empty());
  EXPECT_EQ(dialog.controls.at(2).text, "");
  EXPECT_FALSE(control(dialog, kIdOk).sensitive);
  screenshot(window, "main-dialog-cleared");
  // Enter now finds Execute disabled: nothing runs, nothing is said.
  keys(window, "Return");
  EXPECT_TRUE(snapshotAfterAWhile().messages.empty());
  EXPECT_FALSE(fs::exists(dir_ / "a.csv"));
  EXPECT_EQ(endWithEscape(window), 0);
}

TEST_F(WindowTest, AboutBoxOpensFromTheContextMenu) {
  startVesk({"a.ce3"});
  const Snapshot shown = waitForSnapshot([](const Snapshot& s) { return showsDialog(s, 102); });
  const ShownDialog& main = shown.dialogs.at(102);
  const std::string window = windowByCaption(kMainCaption);
  ASSERT_FALSE(window.empty());
  // The right button on the dialog itself, between Exit and Browse.
  const int x = scaled(260, main.baseX, 4);
  const int y = scaled(57, main.baseY, 8);
  xdotool("mousemove --window " + window + " " + std::to_string(x) + " " + std::to_string(y) +
          " click 3");
  std::this_thread::sleep_for(300ms);
  xdotool("key --delay 100 Down Return");  // its one item: "Vesk のバージョン情報(&A)..."
  const Snapshot about = waitForSnapshot([](const Snapshot& s) { return showsDialog(s, 100); });
  const std::string aboutWindow = windowByCaption(kAboutCaption);
  ASSERT_FALSE(aboutWindow.empty()) << "no window captioned " << kAboutCaption;
  expectTemplateLayout(100, about.dialogs.at(100), screenshot(aboutWindow, "about-box"));
  keys(aboutWindow, "Return");  // OK is its default button
  const Snapshot closed = snapshotWhen([](const Snapshot& s) { return !showsDialog(s, 100); });
  EXPECT_TRUE(showsDialog(closed, 102));
  EXPECT_EQ(endWithEscape(window), 0);
}

// The input's Browse opens a file; the output's saves one: it starts in
// the output's folder, takes a new name typed without an extension as a
// CSV file, and asks before that name replaces a file.
TEST_F(WindowTest, BrowseAddsTheChosenInputAndSavesUnderATypedName) {
  fs::copy_file(dir_ / "b.ce3", dir_ / "POWER.CE3");
  std::ofstream(dir_ / "parts.csv") << "old list\r\n";
  startVesk({});
  waitForSnapshot([](const Snapshot& s) { return showsDialog(s, 102); });
  const std::string window = windowByCaption(kMainCaption);
  ASSERT_FALSE(window.empty());
  keys(window, "alt+r");  // 参照(&R)...
  ASSERT_TRUE(chooseInFileChooser(dir_ / "POWER.CE3"));
  const Snapshot chosen = snapshotWhen([](const Snapshot& s) {
    return showsDialog(s, 102) && !s.dialogs.at(102).rows.empty();
  });
  EXPECT_EQ(chosen.dialogs.at(102).rows, std::vector<std::string>{(dir_ / "POWER.CE3").string()});
  EXPECT_EQ(chosen.dialogs.at(102).controls.at(2).text, (dir_ / "POWER.csv").string());
  EXPECT_TRUE(control(chosen.dialogs.at(102), kIdOk).sensitive);

  for (const char* name : {"new list", "parts"}) {
    keys(window, "alt+f");  // 参照(&F)... for the output
    const std::string chooser = windowByCaption("出力ファイルの指定");
    ASSERT_FALSE(chooser.empty()) << "no save dialog";
    std::this_thread::sleep_for(500ms);
    keys(chooser, "ctrl+a");
    xdotool(std::string("type --delay 20 '") + name + "'");
    std::this_thread::sleep_for(300ms);
    xdotool("key Return");
    if (std::string(name) == "parts") {
      // parts.csv is there: GTK's question, answered with its default.
      const Snapshot asked = snapshotWhen([](const Snapshot& s) { return !s.messages.empty(); });
      ASSERT_EQ(asked.messages.size(), 1u);
      EXPECT_NE(asked.messages[0].text.find("parts.csv"), std::string::npos);
      xdotool("key Return");
    }
    const std::string output = (dir_ / name).string() + ".csv";
    snapshotWhen([&](const Snapshot& s) {
      return showsDialog(s, 102) && s.messages.empty() &&
             s.dialogs.at(102).controls.at(2).text == output;
    });
  }
  keys(window, "Return");
  waitForSnapshot([](const Snapshot& s) { return !s.messages.empty(); });
  const std::string written = readFile(dir_ / "parts.csv");
  EXPECT_FALSE(written.empty());
  EXPECT_NE(written, "old list\r\n");
  keys(windowByCaption("vesk"), "Return");
  snapshotWhen([](const Snapshot& s) { return s.messages.empty(); });
  EXPECT_EQ(endWithEscape(window), 0);
}

// No window without a display or without the module; the automatic mode
// needs neither, and the program links no toolkit library at all.
TEST(WithoutWindows, NoDisplayOrNoModuleIsSaidInOneLine) {
  char pattern[] = "/tmp/vesk-nowindow-XXXXXX";
  ASSERT_NE(mkdtemp(pattern), nullptr);
  const fs::path dir = pattern;
  fs::copy_file(fs::path(VESK_EXAMPLES_DIR) / "amp_main.ce3", dir / "a.ce3");
  // A copy of the program alone, without the module beside it.
  fs::copy_file(VESK_PROGRAM, dir / "vesk");
  struct Case {
    const char* title;
    std::string program;
    std::optional<std::string> display;
  };
  const std::vector<Case> cases = {
      {"no display", VESK_PROGRAM, std::nullopt},
      {"display that does not answer", VESK_PROGRAM, ":65431"},
      {"module missing", (dir / "vesk").string(), ":65431"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.title);
    Process run({c.program, "a.ce3"}, dir,
                {{"DISPLAY", c.display}, {"WAYLAND_DISPLAY", std::nullopt},
                 {"LSAN_OPTIONS", "suppressions=" VESK_LSAN_SUPPRESSIONS}},
                dir / "said.txt");
    EXPECT_EQ(run.waitFor(20s), 4);
    const std::string said = readFile(dir / "said.txt");
    EXPECT_EQ(said.find('\n'), said.size() - 1) << said;
    EXPECT_NE(said.find("-F"), std::string::npos) << said;
    EXPECT_FALSE(fs::exists(dir / "a.csv"));
  }
  for (const std::string& program : {std::string(VESK_PROGRAM), (dir / "vesk").string()}) {
    Process automatic({program, "-F", "a.ce3"}, dir, {{"DISPLAY", std::nullopt}},
                      dir / "automatic.txt");
    EXPECT_EQ(automatic.waitFor(20s), 0) << readFile(dir / "automatic.txt");
    EXPECT_FALSE(readFile(dir / "a.csv").empty());
    fs::remove(dir / "a.csv");
  }
  std::error_code ignored;
  fs::remove_all(dir, ignored);
}

TEST(WithoutWindows, ProgramLinksNoToolkitLibrary) {
  if (!findProgram("readelf")) GTEST_SKIP() << "readelf (binutils) is not installed";
  FILE* pipe = popen("readelf -d '" VESK_PROGRAM "'", "r");
  ASSERT_NE(pipe, nullptr);
  std::string needed;
  char buffer[512];
  while (fgets(buffer, sizeof buffer, pipe) != nullptr) {
    if (std::strstr(buffer, "(NEEDED)") != nullptr) needed += buffer;
  }
  pclose(pipe);
  ASSERT_NE(needed.find("libc.so"), std::string::npos) << needed;
  for (const char* toolkit : {"gtk", "gdk", "glib", "gobject", "X11", "cairo", "pango"}) {
    EXPECT_EQ(needed.find(toolkit), std::string::npos) << toolkit << " in\n" << needed;
  }
}

}  // namespace
}  // namespace vesk
