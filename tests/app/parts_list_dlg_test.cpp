// The main dialog driven through the in-memory host, the test acting as
// the user: the output name, the list, Execute with its messages, the file
// dialogs, drops, the system menu and automatic mode.
#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <string>
#include <vector>

#include <sys/stat.h>

#include "app/exit_status.h"
#include "app/parts_list_dlg.h"
#include "platform/code_page.h"
#include "tests/support/app_test_support.h"
#include "tests/support/bad_schematics.h"

namespace vesk {
namespace {

using test::interactiveHost;
using test::Part;
using test::readFile;
using test::runShell;
using test::schematicText;
using test::ScratchDir;
using test::writeFile;

constexpr const char* kFinished = "処理が終了しました";
constexpr const char* kOutputOpenFailed = "出力ファイルのオープンに失敗しました";
constexpr const char* kInputOpenFailed = "入力ファイルのオープンに失敗しました";
constexpr const char* kOutputWriteFailed = "出力ファイルの書き込みに失敗しました";
constexpr const char* kNoSuchFile = "ファイルを開けません: ファイルまたはフォルダーがありません";

// A message's text: its first line, then the lines below it.
std::string message(const char* first, const std::vector<std::string>& below = {}) {
  std::string text = first;
  for (const std::string& line : below) text += "\n" + line;
  return text;
}

// The lines of a message's text.
std::vector<std::string> linesOf(const std::string& text) {
  std::vector<std::string> lines;
  std::size_t start = 0;
  for (std::size_t end; (end = text.find('\n', start)) != std::string::npos; start = end + 1) {
    lines.push_back(text.substr(start, end - start));
  }
  lines.push_back(text.substr(start));
  return lines;
}

std::vector<std::string> messageTexts(const CMemoryHost& host) {
  std::vector<std::string> texts;
  for (const auto& message : host.Messages()) texts.push_back(message.text);
  return texts;
}

TEST(PartsListDialog, StartsEmptyWithExecuteDisabledAndAboutInTheSystemMenu) {
  auto host = interactiveHost();
  bool shown = false;
  runShell(*host, [&](CMemoryHost& user) {
    shown = true;
    EXPECT_TRUE(user.ListEntries(kIdcInputList).empty());
    EXPECT_EQ(user.ControlText(kIdcOutputName), "");
    EXPECT_FALSE(user.IsControlEnabled(kIdOk));
    const auto items = user.SystemMenuItems();
    ASSERT_EQ(items.size(), 2u);
    EXPECT_EQ(items[0].flags, kMfSeparator);
    EXPECT_EQ(items[1].commandId, kIdmAboutBox);
    EXPECT_EQ(items[1].text, "Vesk のバージョン情報(&A)...");
    EXPECT_EQ(user.IconId(user.WindowIcon(true)), kIdrMainFrame);
    EXPECT_EQ(user.IconId(user.WindowIcon(false)), kIdiSmallIcon);
    EXPECT_EQ(user.IconId(user.QueryDragIcon()), kIdrMainFrame);
    EXPECT_FALSE(user.PressButton(kIdOk));  // disabled
    user.PressButton(kIdCancel);
  });
  EXPECT_TRUE(shown);
  ASSERT_EQ(host->ModalRuns().size(), 1u);
  EXPECT_EQ(host->ModalRuns()[0].result, kIdCancel);
  EXPECT_TRUE(host->Messages().empty());
}

TEST(PartsListDialog, OutputNameFollowsTheSelectedOrFirstEntry) {
  auto host = interactiveHost({"C:\\data\\amp.ce3"});
  runShell(*host, [](CMemoryHost& user) {
    EXPECT_EQ(user.ControlText(kIdcOutputName), "C:\\data\\amp.csv");
    EXPECT_TRUE(user.IsControlEnabled(kIdOk));
    EXPECT_TRUE(user.DropFiles(kIdcInputList, {"D:\\x\\filter.CE3"}));
    EXPECT_EQ(user.ControlText(kIdcOutputName), "C:\\data\\amp.csv");  // nothing selected
    EXPECT_TRUE(user.SelectEntry(kIdcInputList, 1));
    EXPECT_EQ(user.ControlText(kIdcOutputName), "D:\\x\\filter.csv");
    EXPECT_TRUE(user.DropFiles(kIdcInputList, {"E:\\more.ce3"}));
    EXPECT_EQ(user.ControlText(kIdcOutputName), "D:\\x\\filter.csv");
    // A typed name is replaced as soon as the list changes again.
    EXPECT_TRUE(user.TypeText(kIdcOutputName, "typed.csv"));
    EXPECT_TRUE(user.DropFiles(kIdcInputList, {"F:\\last.ce3"}));
    EXPECT_EQ(user.ControlText(kIdcOutputName), "D:\\x\\filter.csv");
    EXPECT_TRUE(user.SelectEntry(kIdcInputList, 0));
    EXPECT_EQ(user.ControlText(kIdcOutputName), "C:\\data\\amp.csv");
    user.PressButton(kIdCancel);
  });
}

TEST(PartsListDialog, CommandLineOutputTakesPrecedenceAndNameWithoutExtensionGetsCsv) {
  auto host = interactiveHost({"plain", "-o", "chosen.txt"});
  runShell(*host, [](CMemoryHost& user) {
    EXPECT_EQ(user.ListEntries(kIdcInputList), std::vector<std::string>{"plain"});
    EXPECT_EQ(user.ControlText(kIdcOutputName), "chosen.txt");
    user.SelectEntry(kIdcInputList, 0);
    EXPECT_EQ(user.ControlText(kIdcOutputName), "plain.csv");
    user.PressButton(kIdCancel);
  });
}

TEST(PartsListDialog, ClearEmptiesListAndNameAndDisablesExecute) {
  auto host = interactiveHost();
  runShell(*host, [](CMemoryHost& user) {
    user.DropFiles(kIdcInputList, {"/d/a.ce3", "/d/b.ce3"});
    const int extent = user.ListHorizontalExtent(kIdcInputList);
    EXPECT_GT(extent, 20);
    user.SelectEntry(kIdcInputList, 1);
    EXPECT_TRUE(user.PressButton(kIdcClear));
    EXPECT_TRUE(user.ListEntries(kIdcInputList).empty());
    EXPECT_EQ(user.ListSelection(kIdcInputList), -1);
    EXPECT_EQ(user.ControlText(kIdcOutputName), "");
    EXPECT_FALSE(user.IsControlEnabled(kIdOk));
    EXPECT_EQ(user.ListHorizontalExtent(kIdcInputList), extent);  // left as it was
    user.PressButton(kIdCancel);
  });
}

TEST(PartsListDialog, DropTakesOnlySchematicFilesMeasuredInTheListFont) {
  auto host = interactiveHost();
  runShell(*host, [](CMemoryHost& user) {
    EXPECT_TRUE(user.DropFiles(kIdcInputList, {"/d/a.CE3", "/d/b.ce3.bak", "/d/c.txt", "/d.ce3/x",
                                               "/long/directory/name/f.Ce3"}));
    EXPECT_EQ(user.ListEntries(kIdcInputList),
              (std::vector<std::string>{"/d/a.CE3", "/long/directory/name/f.Ce3"}));
    // Width of the longest entry in the dialog font, plus the margin.
    EXPECT_EQ(user.ListHorizontalExtent(kIdcInputList), 26 * CMemoryHost::kCharWidth + 20);
    // Only the list takes drops.
    EXPECT_FALSE(user.DropFiles(kIdcOutputName, {"/d/z.ce3"}));
    EXPECT_TRUE(user.DropFiles(kIdcInputList, {}));
    EXPECT_EQ(user.ListEntries(kIdcInputList).size(), 2u);
    user.PressButton(kIdCancel);
  });
  EXPECT_EQ(host->UnreleasedDrops(), 0);
  EXPECT_EQ(host->OpenDeviceContexts(), 0);
}

// On a display scaled to 150% or 200% the margin beside the longest entry
// grows as the text does, in the window's own pixels.
TEST(PartsListDialog, TheListsScrollMarginGrowsWithTheDisplaysScale) {
  struct Scale {
    int dpi, margin;
  };
  constexpr Scale kScales[] = {{96, 20}, {120, 25}, {144, 30}, {192, 40}};
  for (const Scale& scale : kScales) {
    auto host = interactiveHost();
    host->SetDpi(scale.dpi);
    runShell(*host, [&](CMemoryHost& user) {
      user.DropFiles(kIdcInputList, {"/d/a.ce3"});
      EXPECT_EQ(user.ListHorizontalExtent(kIdcInputList),
                8 * CMemoryHost::kCharWidth + scale.margin)
          << scale.dpi << " dpi";
      user.PressButton(kIdCancel);
    });
  }
}

TEST(PartsListDialog, ExecuteWritesTheListAndReportsWithTheProgramNameAsCaption) {
  ScratchDir dir;
  const std::string input = dir.file("a.ce3");
  writeFile(input, schematicText({{"R2", "22k", ""}, {"C1", "100n", "X7R"}}));
  auto host = interactiveHost({input});
  runShell(*host, [&](CMemoryHost& user) {
    EXPECT_EQ(user.ControlText(kIdcOutputName), dir.file("a.csv"));
    EXPECT_TRUE(user.PressButton(kIdOk));
    EXPECT_EQ(user.TopTemplateId(), kIddPartsListDialog);  // stays open
    user.PressButton(kIdCancel);
  });
  EXPECT_EQ(readFile(dir.file("a.csv")), ",\"C\",1,\"100n\",\"X7R\"\r\n,\"R\",2,\"22k\",\"\"\r\n");
  ASSERT_EQ(host->Messages().size(), 1u);
  const auto& message = host->Messages()[0];
  EXPECT_EQ(message.text, kFinished);
  EXPECT_EQ(message.caption, "vesk");
  EXPECT_EQ(message.flags, kMbOk | kMbIconExclamation);
  EXPECT_EQ(message.ownerTemplateId, kIddPartsListDialog);
}

TEST(PartsListDialog, ExecuteReportsEachFailureWithItsMessage) {
  ScratchDir dir;
  const std::string good = dir.file("good.ce3");
  writeFile(good, schematicText({{"R1", "10k", ""}}));
  const std::string missing = dir.file("missing.ce3");
  auto host = interactiveHost({good, missing});
  runShell(*host, [&](CMemoryHost& user) {
    user.PressButton(kIdOk);  // second input cannot be read
    user.TypeText(kIdcOutputName, dir.file("no-such-dir/out.csv"));
    user.PressButton(kIdOk);
    user.TypeText(kIdcOutputName, "");
    user.PressButton(kIdOk);
    user.PressButton(kIdCancel);
  });
  // Each message names the file at fault and says why; an empty output
  // name has no file to name.
  EXPECT_EQ(messageTexts(*host),
            (std::vector<std::string>{message(kInputOpenFailed, {missing, kNoSuchFile}),
                                      message(kOutputOpenFailed,
                                              {dir.file("no-such-dir/out.csv"), kNoSuchFile}),
                                      message(kOutputOpenFailed, {kNoSuchFile})}));
  // No run wrote anything: no output was created.
  EXPECT_EQ(test::namesIn(dir.path()), std::set<std::string>{"good.ce3"});
}

TEST(PartsListDialog, AFailedRunLeavesTheLastGoodListAsItWas) {
  ScratchDir dir;
  const std::string first = dir.file("amp_main.ce3");
  const std::string second = dir.file("amp_power.ce3");
  const std::string broken = dir.file("broken.ce3");
  const std::string output = dir.file("amp_main.csv");
  writeFile(first, schematicText({{"R2", "22k", ""}, {"C1", "100n", "X7R"}}));
  writeFile(second, schematicText({{"R1", "10k", "1/4W"}}));
  const std::string goodText = schematicText({{"U1", "74HC00", ""}});
  writeFile(broken, goodText.substr(0, goodText.find("-COMPONENT")));  // cut off in its component
  const std::set<std::string> names = {"amp_main.ce3", "amp_power.ce3", "broken.ce3",
                                       "amp_main.csv"};
  std::vector<test::FileState> states;
  auto host = interactiveHost({first, second});
  runShell(*host, [&](CMemoryHost& user) {
    EXPECT_EQ(user.ControlText(kIdcOutputName), output);
    user.PressButton(kIdOk);
    states.push_back(test::fileState(output));
    EXPECT_EQ(test::namesIn(dir.path()), names);
    // The user has opened the list meanwhile and keeps it private.
    chmod(output.c_str(), 0600);
    states.push_back(test::fileState(output));
    user.DropFiles(kIdcInputList, {broken});
    user.PressButton(kIdOk);
    states.push_back(test::fileState(output));
    EXPECT_EQ(test::namesIn(dir.path()), names);
    user.PressButton(kIdcClear);
    user.DropFiles(kIdcInputList, {second});
    user.TypeText(kIdcOutputName, output);
    user.PressButton(kIdOk);
    states.push_back(test::fileState(output));
    EXPECT_EQ(test::namesIn(dir.path()), names);
    user.PressButton(kIdCancel);
  });
  // The broken file's component began on line 3.
  EXPECT_EQ(messageTexts(*host),
            (std::vector<std::string>{
                kFinished,
                message(kInputOpenFailed,
                        {broken + " (3 行目)",
                         "3 行目で始まったブロック COMPONENT の途中でファイルが終わっています"}),
                kFinished}));
  ASSERT_EQ(states.size(), 4u);
  EXPECT_EQ(states[0].bytes,
            ",\"C\",1,\"100n\",\"X7R\"\r\n,\"R\",1,\"10k\",\"1/4W\"\r\n,\"R\",2,\"22k\",\"\"\r\n");
  EXPECT_EQ(states[2], states[1]) << "the failed run touched the list";
  EXPECT_EQ(states[3].bytes, ",\"R\",1,\"10k\",\"1/4W\"\r\n");
  EXPECT_EQ(states[3].mode, 0600u);
}

TEST(PartsListDialog, RefusesToWriteOverAnInputHoweverItsPathIsWritten) {
  ScratchDir dir;
  const std::string input = dir.file("a.ce3");
  const std::string original = schematicText({{"R1", "10k", ""}});
  writeFile(input, original);
  std::filesystem::create_symlink(input, dir.file("link.ce3"));
  const std::vector<std::string> sameFile = {(dir.path() / "." / "a.ce3").string(),
                                             dir.file("link.ce3")};
  auto host = interactiveHost({dir.file("other.ce3"), input});
  runShell(*host, [&](CMemoryHost& user) {
    for (const std::string& output : sameFile) {
      user.TypeText(kIdcOutputName, output);
      user.PressButton(kIdOk);
    }
    user.PressButton(kIdCancel);
  });
  const std::string refused = "入力ファイルのひとつと同じファイルには書き込みません";
  EXPECT_EQ(messageTexts(*host),
            (std::vector<std::string>{message(kOutputOpenFailed, {sameFile[0], refused}),
                                      message(kOutputOpenFailed, {sameFile[1], refused})}));
  EXPECT_EQ(readFile(input), original);
}

TEST(PartsListDialog, FailedWriteIsNotReportedAsSuccess) {
  if (!std::filesystem::exists("/dev/full")) GTEST_SKIP() << "no /dev/full here";
  ScratchDir dir;
  const std::string input = dir.file("a.ce3");
  writeFile(input, schematicText({{"R1", "10k", "1/4W"}}));
  auto host = interactiveHost({input, "-o", "/dev/full"});
  runShell(*host, [](CMemoryHost& user) {
    user.PressButton(kIdOk);
    user.PressButton(kIdCancel);
  });
  EXPECT_EQ(messageTexts(*host),
            std::vector<std::string>{message(
                kOutputWriteFailed, {"/dev/full", "書き込めません: ディスクの空き容量が足りません"})});

  // The automatic mode says it in a line after the trace instead.
  auto automatic = interactiveHost({"-F", input, "-o", "/dev/full"});
  test::Said said;
  EXPECT_EQ(runShell(*automatic, {}, &said), kExitOutputFailed);
  EXPECT_TRUE(automatic->Messages().empty());
  EXPECT_EQ(said.err, "\nvesk: /dev/full: cannot write: No space left on device\n");
}

TEST(PartsListDialog, AFailedWriteLeavesTheOldListAsItWas) {
  ScratchDir dir;
  const std::string input = dir.file("a.ce3");
  const std::string output = dir.file("a.csv");
  std::vector<Part> parts;
  for (int i = 1; i <= 200; ++i) parts.push_back({"R" + std::to_string(i), "10k", "1/4W"});
  writeFile(input, schematicText(parts));
  writeFile(output, "old list\r\n");
  const test::FileState before = test::fileState(output);
  // In a child process whose files may not grow beyond 1 KiB: the writes
  // of the list's 4 KiB fail as on a full disk.
  const int status = test::inChild([] { return test::limitFileSize(1024); }, [&] {
    auto host = interactiveHost({input});
    runShell(*host, [](CMemoryHost& user) {
      user.PressButton(kIdOk);
      user.PressButton(kIdCancel);
    });
    auto automatic = interactiveHost({"-F", input});
    test::Said said;
    const int automaticStatus = runShell(*automatic, {}, &said);
    const std::string tooLarge =
        message(kOutputWriteFailed, {output, "書き込めません: ファイルが大きすぎます"});
    return messageTexts(*host) == std::vector<std::string>{tooLarge} &&
                   automaticStatus == kExitOutputFailed &&
                   said.err == "\nvesk: " + output + ": cannot write: File too large\n"
               ? 0
               : 1;
  });
  EXPECT_EQ(status, 0) << "the dialog did not say 105 with the file and why, or -F did not end "
                          "with status 2 and its line";
  EXPECT_EQ(test::fileState(output), before);
  EXPECT_EQ(test::namesIn(dir.path()), (std::set<std::string>{"a.ce3", "a.csv"}));
}

// Five files in the list and the fourth broken: the message names that
// file, the line and why, in the words of the block and key at fault.
// (What vesk -F says of each is VeskProgram.ABrokenFileIsNamedWithItsLineAndWhy.)
TEST(PartsListDialog, ABadFileAmongGoodOnesIsNamedWithItsLineAndReason) {
  ScratchDir dir;
  std::vector<std::string> files;
  for (const char* name : {"a.ce3", "b.ce3", "c.ce3", "bad.ce3", "e.ce3"}) {
    files.push_back(dir.file(name));
    writeFile(files.back(), schematicText({{"R1", "10k", ""}}));
  }
  for (const test::BadSchematic& bad : test::badSchematics()) {
    SCOPED_TRACE(bad.title);
    writeFile(files[3], bad.bytes);
    auto host = interactiveHost(files);
    runShell(*host, [](CMemoryHost& user) {
      user.PressButton(kIdOk);
      user.PressButton(kIdCancel);
    });
    ASSERT_EQ(host->Messages().size(), 1u);
    const std::vector<std::string> lines = linesOf(host->Messages()[0].text);
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_EQ(lines[0], kInputOpenFailed);
    EXPECT_EQ(lines[1], files[3] + " (" + std::to_string(bad.line) + " 行目)");
    // Japanese around the names the file uses.
    for (const std::string& name : {bad.block, bad.key}) {
      EXPECT_NE(lines[2].find(name), std::string::npos) << lines[2];
    }
    if (bad.found.find_first_of("\x01\x7f") == std::string::npos) {
      EXPECT_NE(lines[2].find(bad.found), std::string::npos) << lines[2];
    }
    EXPECT_TRUE(std::any_of(lines[2].begin(), lines[2].end(),
                            [](char c) { return static_cast<unsigned char>(c) > 0x7f; }))
        << lines[2];
  }
}

// After a list with duplicate references, message 104 and the automatic
// mode both tell the rows, the references found more than once and those
// of them with different names, the first five named.
TEST(PartsListDialog, AWrittenListTellsItsDuplicateReferences) {
  ScratchDir dir;
  const std::string first = dir.file("main.ce3");
  const std::string second = dir.file("power.ce3");
  std::vector<Part> main;
  std::vector<Part> power;
  for (int i = 1; i <= 7; ++i) {
    main.push_back({"U" + std::to_string(i), "74HC00", ""});
    power.push_back({"U" + std::to_string(i), "74HC04", ""});
  }
  main.push_back({"C1", "100n", ""});
  power.push_back({"C1", "100n", ""});
  power.push_back({"R1", "10k", ""});
  writeFile(first, schematicText(main));
  writeFile(second, schematicText(power));
  struct Case {
    std::vector<std::string> inputs;
    std::string below;  // the line below 104, none when empty
    std::string line;   // the automatic mode's line
  };
  const Case cases[] = {
      {{first, second},
       "17 行のうち、8 個の部品番号が複数回あります。部品名が異なるもの 7 個: U1, U2, U3, U4, U5 "
       "ほか 2 個",
       "vesk: 17 rows; 8 references appear more than once; 7 with different names: U1, U2, U3, "
       "U4, U5 and 2 more"},
      {{second, second}, "18 行のうち、9 個の部品番号が複数回あります (部品名はどれも同じです)",
       "vesk: 18 rows; 9 references appear more than once, each with one name"},
      {{second}, "", ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.line);
    std::vector<std::string> args = c.inputs;
    args.insert(args.end(), {"-o", dir.file("out.csv")});
    auto host = interactiveHost(args);
    runShell(*host, [](CMemoryHost& user) {
      user.PressButton(kIdOk);
      user.PressButton(kIdCancel);
    });
    EXPECT_EQ(messageTexts(*host),
              std::vector<std::string>{c.below.empty() ? message(kFinished)
                                                        : message(kFinished, {c.below})});
    args.push_back("-F");
    CMemoryHost automatic(partsListResources(), test::withProgram(args));
    test::Said said;
    EXPECT_EQ(runShell(automatic, {}, &said), kExitWritten);
    EXPECT_EQ(said.err, c.line.empty() ? "" : "\n" + c.line + "\n");
  }
}

// A list longer than a run reads: the first 64 are read, and message 104
// and the automatic mode's line say how many were left out.
TEST(PartsListDialog, ExecuteReadsTheFirst64EntriesAndSaysSo) {
  ScratchDir dir;
  std::vector<std::string> args = {"-o", dir.file("out.csv")};
  for (int i = 0; i < 70; ++i) {
    const std::string path = dir.file("f" + std::to_string(i) + ".ce3");
    writeFile(path, schematicText({{"R" + std::to_string(i + 1), "1k", ""}}));
    args.push_back(path);
  }
  auto host = interactiveHost(args);
  runShell(*host, [](CMemoryHost& user) {
    EXPECT_EQ(user.ListEntries(kIdcInputList).size(), 70u);
    user.PressButton(kIdOk);
    user.PressButton(kIdCancel);
  });
  std::string expected;
  for (int i = 1; i <= 64; ++i) expected += ",\"R\"," + std::to_string(i) + ",\"1k\",\"\"\r\n";
  EXPECT_EQ(readFile(dir.file("out.csv")), expected);
  EXPECT_EQ(messageTexts(*host),
            std::vector<std::string>{message(
                kFinished, {"70 個の入力ファイルのうち、読み込んだのは最初の 64 個だけです"})});

  std::filesystem::remove(dir.file("out.csv"));
  args.push_back("-F");
  CMemoryHost automatic(partsListResources(), test::withProgram(args));
  test::Said said;
  EXPECT_EQ(runShell(automatic, {}, &said), kExitWritten);
  EXPECT_EQ(said.err, "\nvesk: 70 input files given; only the first 64 were read\n");
  EXPECT_EQ(readFile(dir.file("out.csv")), expected);
}

// An entry longer than a path of the host fails the run as a file that
// cannot be opened, before anything is read or written; one byte less is
// a path to try.
TEST(PartsListDialog, AnEntryTooLongForItsRoomFailsTheRun) {
  ScratchDir dir;
  const std::string first = dir.file("first.ce3");
  writeFile(first, schematicText({{"R1", "10k", ""}}));
  for (const std::size_t length : {kMaxPath, kMaxPath - 1}) {
    const bool tooLong = length == kMaxPath;
    const std::string entry = dir.file(std::string(length - dir.file("").size(), 'x'));
    std::vector<std::string> args = {first, entry, "-o", dir.file("out.csv")};
    auto host = interactiveHost(args);
    runShell(*host, [](CMemoryHost& user) { user.PressButton(kIdOk); });
    // (The name, too long for a line, is cut in the middle of the message.)
    const std::string why = tooLong ? "パスが長すぎます" : "ファイルまたはフォルダーがありません";
    ASSERT_EQ(host->Messages().size(), 1u);
    const std::vector<std::string> lines = linesOf(host->Messages()[0].text);
    EXPECT_EQ(lines.front(), kInputOpenFailed);
    EXPECT_EQ(lines.back(), "ファイルを開けません: " + why);
    args.push_back("-F");
    CMemoryHost automatic(partsListResources(), test::withProgram(args));
    test::Said said;
    EXPECT_EQ(runShell(automatic, {}, &said), kExitInputFailed);
    const std::string line = entry + ": cannot open: " +
                             (tooLong ? "File name too long" : "No such file or directory");
    EXPECT_NE(said.err.find(line), std::string::npos) << said.err;
    EXPECT_FALSE(std::filesystem::exists(dir.file("out.csv")));
  }
}

// A long file name is cut in the middle of the message, so that the box
// keeps to the screen with the reason below it.
TEST(PartsListDialog, AVeryLongFileNameIsCutInTheMiddleOfTheMessage) {
  std::string entry = "/";
  for (int i = 0; i < 20; ++i) entry += "\xe5\x9b\x9e\xe8\xb7\xaf" + std::string(40, 'd') + "/";
  entry += "missing.ce3";
  auto host = interactiveHost({entry, "-o", "/tmp/out.csv"});
  host->SetMaxPathLength(4096);
  runShell(*host, [](CMemoryHost& user) { user.PressButton(kIdOk); });
  ASSERT_EQ(host->Messages().size(), 1u);
  const std::vector<std::string> lines = linesOf(host->Messages()[0].text);
  ASSERT_EQ(lines.size(), 3u);
  EXPECT_EQ(lines[1], entry.substr(0, 47) + "..." + entry.substr(entry.size() - 90)) << lines[1];
  EXPECT_EQ(lines[2], kNoSuchFile);
}

TEST(PartsListDialog, AutomaticModeRunsOnceSilentlyAndCloses) {
  ScratchDir dir;
  const std::string input = dir.file("a.ce3");
  writeFile(input, schematicText({{"U1", "74HC00", ""}}));
  struct Case {
    std::vector<std::string> args;
    int status;
    std::string output;  // expected file and bytes, empty name when none
    std::string bytes;
    std::string said;  // on the error stream, after the traces
  };
  const std::string noInput =
      "vesk: -F needs at least one input file\n"
      "usage: vesk [input.ce3 ...] [-o output.csv] [-F] [--grouped] [--encoding=utf-8|shift_jis] [--changes-since=FILE]\n";
  const Case cases[] = {
      {{"-F", input}, kExitWritten, dir.file("a.csv"), ",\"U\",1,\"74HC00\",\"\"\r\n", ""},
      {{input, "-o", dir.file("b.csv"), "-F"}, kExitWritten, dir.file("b.csv"),
       ",\"U\",1,\"74HC00\",\"\"\r\n", ""},
      {{"-F", input, dir.file("missing.ce3"), "-o", dir.file("c.csv")}, kExitInputFailed, "", "",
       "\nvesk: " + dir.file("missing.ce3") + ": cannot open: No such file or directory\n"},
      {{"-F", input, "-o", dir.file("nodir/d.csv")}, kExitOutputFailed, "", "",
       "vesk: " + dir.file("nodir/d.csv") +
           ": cannot open for writing: No such file or directory\n"},
      {{"-F", input, "-o", input}, kExitOutputFailed, "", "",
       "vesk: " + input + ": is one of the input files; nothing is written\n"},
      {{"-F"}, kExitNoInput, "", "", noInput},
      {{"-F", "-o", dir.file("e.csv")}, kExitNoInput, "", "", noInput},
  };
  for (const Case& c : cases) {
    // No window can be shown, as on a machine without a display.
    CMemoryHost host(partsListResources(), test::withProgram(c.args));
    test::Said said;
    EXPECT_EQ(runShell(host, {}, &said), c.status) << c.args.back();
    EXPECT_EQ(said.err, c.said);
    EXPECT_EQ(said.out, "");
    EXPECT_TRUE(host.Messages().empty());
    ASSERT_EQ(host.ModalRuns().size(), 1u);
    EXPECT_EQ(host.ModalRuns()[0].result, kIdOk);
    if (!c.output.empty()) {
      EXPECT_EQ(readFile(c.output), c.bytes) << c.output;
    }
  }
  EXPECT_EQ(test::namesIn(dir.path()), (std::set<std::string>{"a.ce3", "a.csv", "b.csv"}));
  EXPECT_EQ(readFile(input), schematicText({{"U1", "74HC00", ""}}));
}

// The check boxes choose the list Execute writes; --grouped and
// --encoding= preset them. Set either way, Execute writes the bytes that
// -F writes with the same options.
TEST(PartsListDialog, TheCheckBoxesChooseTheListAsTheCommandLineDoes) {
  ScratchDir dir;
  const std::string input = dir.file("a.ce3");
  writeFile(input, schematicText({{"R2", "10k", "\x8b\xe0"}, {"R1", "10k", "\x8b\xe0"}}));
  struct Case {
    std::vector<std::string> preset;  // on the command line
    std::vector<int> clicked;         // check boxes the user clicks
    std::vector<std::string> same;    // the options of -F that write the same
  };
  const Case cases[] = {
      {{}, {}, {}},
      {{"--grouped", "--encoding=utf-8"}, {}, {"--grouped", "--encoding=utf-8"}},
      {{}, {kIdcGroupedList}, {"--grouped"}},
      {{}, {kIdcUtf8Output}, {"--encoding=utf-8"}},
      {{"--grouped"}, {kIdcGroupedList, kIdcUtf8Output}, {"--encoding=utf-8"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::PrintToString(c.preset) + testing::PrintToString(c.clicked));
    std::vector<std::string> args = c.preset;
    args.insert(args.end(), {input, "-o", dir.file("dialog.csv")});
    auto host = interactiveHost(args);
    runShell(*host, [&](CMemoryHost& user) {
      for (const int box : c.clicked) EXPECT_TRUE(user.PressButton(box));
      user.PressButton(kIdOk);
    });
    EXPECT_EQ(messageTexts(*host), std::vector<std::string>{kFinished});
    std::vector<std::string> automatic = c.same;
    automatic.insert(automatic.end(), {input, "-o", dir.file("automatic.csv"), "-F"});
    CMemoryHost quiet(partsListResources(), test::withProgram(automatic));
    EXPECT_EQ(runShell(quiet), kExitWritten);
    EXPECT_EQ(readFile(dir.file("dialog.csv")), readFile(dir.file("automatic.csv")));
  }
}

// The output "-" typed into the dialog is the standard output, as "-o -"
// is on the command line (tests/app/read_back_lists.py).
TEST(PartsListDialog, TheOutputDashIsTheStandardOutput) {
  ScratchDir dir;
  const std::string input = dir.file("a.ce3");
  writeFile(input, schematicText({{"R1", "SW \"A\"", "x"}}));
  auto host = interactiveHost({input});
  testing::internal::CaptureStdout();
  runShell(*host, [](CMemoryHost& user) {
    user.TypeText(kIdcOutputName, "-");
    user.PressButton(kIdOk);
    user.PressButton(kIdCancel);
  });
  EXPECT_EQ(testing::internal::GetCapturedStdout(), ",\"R\",1,\"SW \"\"A\"\"\",\"x\"\r\n");
  EXPECT_EQ(messageTexts(*host), std::vector<std::string>{kFinished});
}

// Where '/' starts a flag, "/?" is the help, and no dialog runs; on POSIX
// it is a file like any other. (--help and --version: VeskProgram.)
TEST(PartsListDialog, SlashQuestionMarkIsTheHelpWhereSlashStartsAFlag) {
  auto windows = interactiveHost({"/F", "/?"});
  windows->SetSlashStartsFlag(true);
  test::Said said;
  EXPECT_EQ(runShell(*windows, {}, &said), kExitWritten);
  EXPECT_TRUE(windows->ModalRuns().empty());
  EXPECT_EQ(said.out.rfind("usage: vesk [input.ce3 ...] [-o output.csv] [-F] [--grouped] [--encoding=utf-8|shift_jis] [--changes-since=FILE]\n", 0), 0u);
  EXPECT_NE(said.out.find("/? shows this help"), std::string::npos) << said.out;

  auto posix = interactiveHost({"/?"});
  runShell(*posix, [](CMemoryHost& user) {
    EXPECT_EQ(user.ListEntries(kIdcInputList), std::vector<std::string>{"/?"});
    user.PressButton(kIdCancel);
  });
  EXPECT_EQ(posix->ModalRuns().size(), 1u);
}

TEST(PartsListDialog, WithoutAWindowTheInteractiveProgramDoesNotStart) {
  CMemoryHost host(partsListResources(), test::withProgram({"a.ce3"}));
  EXPECT_EQ(runShell(host), kExitNoWindow);
  EXPECT_TRUE(host.ModalRuns().empty());
}

TEST(PartsListDialog, BrowseInputAddsTheChosenFilesInOrder) {
  auto host = interactiveHost();
  host->AnswerFileDialog({"/data/b.ce3", "/data/a.ce3"});
  host->CancelFileDialog();
  host->AnswerFileDialog({"/other/one.ce3"});
  runShell(*host, [](CMemoryHost& user) {
    user.PressButton(kIdcBrowseInput);
    EXPECT_EQ(user.ListEntries(kIdcInputList),
              (std::vector<std::string>{"/data/b.ce3", "/data/a.ce3"}));
    EXPECT_EQ(user.ControlText(kIdcOutputName), "/data/b.csv");
    EXPECT_EQ(user.ListHorizontalExtent(kIdcInputList), 11 * CMemoryHost::kCharWidth + 20);
    user.PressButton(kIdcBrowseInput);  // cancelled
    EXPECT_EQ(user.ListEntries(kIdcInputList).size(), 2u);
    user.PressButton(kIdcBrowseInput);
    EXPECT_EQ(user.ListEntries(kIdcInputList).back(), "/other/one.ce3");
    user.PressButton(kIdCancel);
  });
  ASSERT_EQ(host->FileDialogs().size(), 3u);
  for (const auto& request : host->FileDialogs()) {
    EXPECT_EQ(request.filter, std::string("Kolva data(*.ce3)\0*.CE3\0\0", 25));
    EXPECT_EQ(request.flags & (kOfnFileMustExist | kOfnHideReadOnly | kOfnAllowMultiSelect),
              kOfnFileMustExist | kOfnHideReadOnly | kOfnAllowMultiSelect);
    EXPECT_EQ(request.initialName, "*.CE3");
    EXPECT_EQ(request.bufferSize, 16641u);
    EXPECT_FALSE(request.hasDefaultExtension);
    EXPECT_FALSE(request.hasInitialDirectory);
    EXPECT_EQ(request.ownerTemplateId, kIddPartsListDialog);
  }
}

// The output's Browse is the save dialog: in the output's folder (the
// current one for a bare name) with its name, CSV files first, ".csv"
// for a new name typed without an extension, a question before an
// existing file is replaced.
TEST(PartsListDialog, BrowseOutputChoosesTheOutputInTheSaveDialog) {
  auto host = interactiveHost({"/d/a.ce3"});
  host->AnswerFileDialog({"/lists/new"});
  host->CancelFileDialog();
  runShell(*host, [](CMemoryHost& user) {
    user.PressButton(kIdcBrowseOutput);
    EXPECT_EQ(user.ControlText(kIdcOutputName), "/lists/new.csv");
    user.TypeText(kIdcOutputName, "typed.csv");
    user.PressButton(kIdcBrowseOutput);  // cancelled
    EXPECT_EQ(user.ControlText(kIdcOutputName), "typed.csv");
  });
  using namespace std::string_literals;
  const auto& dialogs = host->FileDialogs();
  ASSERT_EQ(dialogs.size(), 2u);
  EXPECT_TRUE(dialogs[0].save);
  EXPECT_EQ(dialogs[0].filter, "CSV ファイル (*.csv)\0*.csv\0すべてのファイル (*.*)\0*.*\0\0"s);
  EXPECT_EQ(dialogs[0].flags & (kOfnOverwritePrompt | kOfnFileMustExist), kOfnOverwritePrompt);
  EXPECT_EQ(dialogs[0].defaultExtension, "csv");
  EXPECT_EQ(dialogs[0].initialDirectory + dialogs[0].initialName, "/d/a.csv");
  EXPECT_EQ(dialogs[1].initialDirectory + "|" + dialogs[1].initialName, ".|typed.csv");
}

// F1 shows the help of the string table in a box, not a help file.
TEST(PartsListDialog, F1ShowsTheHelp) {
  auto host = interactiveHost();
  runShell(*host, [](CMemoryHost& user) { EXPECT_TRUE(user.PressHelp()); });
  ASSERT_EQ(host->Messages().size(), 1u);
  const auto& help = host->Messages()[0];
  EXPECT_EQ(help.flags, kMbOk | kMbIconInformation);
  for (const char* topic : {"vesk [入力.ce3 ...]", "--grouped", "UTF-8 (BOM 付き)", "5: "}) {
    EXPECT_NE(help.text.find(topic), std::string::npos) << topic;
  }
}

TEST(PartsListDialog, ShiftJisTrailBytesAreNoSeparators) {
  // "表" is 0x95 0x5C and "ソフト" 0x83 0x5C 0x83 0x74 0x83 0x67 in Shift-JIS.
  const std::string dotBeforeTrail = "C:\\x\\v1.\x95\x5C";
  const std::string directory = "C:\\\x83\x5C\x83\x74\x83\x67\\\x95\x5C";
  auto host = interactiveHost({dotBeforeTrail});
  host->SetCodePage(kCodePageShiftJis);
  host->AnswerFileDialog({directory + "\\a.ce3", directory + "\\b.ce3"});
  runShell(*host, [&](CMemoryHost& user) {
    EXPECT_EQ(user.ControlText(kIdcOutputName), "C:\\x\\v1.csv");
    user.PressButton(kIdcBrowseInput);
    // The directory ends in a trail byte 0x5C, not in a separator.
    const auto entries = user.ListEntries(kIdcInputList);
    ASSERT_EQ(entries.size(), 3u);
    EXPECT_EQ(entries[1], directory + kNativePathSeparator + "a.ce3");
    user.DropFiles(kIdcInputList, {directory + "\\\x95\x5C.ce3"});
    EXPECT_EQ(user.ListEntries(kIdcInputList).size(), 4u);
    user.SelectEntry(kIdcInputList, 3);
    EXPECT_EQ(user.ControlText(kIdcOutputName), directory + "\\\x95\x5C.csv");
    user.PressButton(kIdCancel);
  });

  // In UTF-8 the same bytes hold a backslash, and the name has no extension.
  auto utf8 = interactiveHost({dotBeforeTrail});
  utf8->SetCodePage(kCodePageUtf8);
  runShell(*utf8, [&](CMemoryHost& user) {
    EXPECT_EQ(user.ControlText(kIdcOutputName), dotBeforeTrail + ".csv");
    user.PressButton(kIdCancel);
  });
}

TEST(PartsListDialog, AboutBoxOpensFromTheSystemMenu) {
  auto host = interactiveHost();
  int aboutShown = 0;
  host->WhenShown(kIddAboutBox, [&](CMemoryHost& user) {
    ++aboutShown;
    EXPECT_EQ(user.TopTemplateId(), kIddAboutBox);
    user.PressButton(kIdOk);
  });
  runShell(*host, [](CMemoryHost& user) {
    EXPECT_TRUE(user.ChooseSystemMenuItem(kIdmAboutBox));
    EXPECT_EQ(user.TopTemplateId(), kIddPartsListDialog);
    EXPECT_FALSE(user.ChooseSystemMenuItem(0x20));  // no such item
    EXPECT_TRUE(user.ChooseSystemMenuItem(kScClose));  // the close box ends the dialog
    EXPECT_EQ(user.TopTemplateId(), -1);
  });
  EXPECT_EQ(aboutShown, 1);
  ASSERT_EQ(host->ModalRuns().size(), 2u);
  EXPECT_EQ(host->ModalRuns()[0].templateId, kIddAboutBox);
  EXPECT_EQ(host->ModalRuns()[0].ownerTemplateId, kIddPartsListDialog);
  EXPECT_EQ(host->ModalRuns()[0].result, kIdOk);
  EXPECT_EQ(host->ModalRuns()[1].result, kIdCancel);
}

TEST(PartsListDialog, MinimisedWindowPaintsItsIconCentred) {
  auto host = interactiveHost();
  runShell(*host, [](CMemoryHost& user) {
    user.Paint();
    EXPECT_EQ(user.DefaultPaints(), 1);
    EXPECT_TRUE(user.DrawnIcons().empty());
    user.SetMinimized(true);
    user.Paint();
    ASSERT_EQ(user.DrawnIcons().size(), 1u);
    const auto drawn = user.DrawnIcons()[0];
    const int width = 283 * CMemoryHost::kCharWidth / 4;
    const int height = 175 * CMemoryHost::kCharHeight / 8;
    EXPECT_EQ(drawn.x, (width - CMemoryHost::kIconSize + 1) / 2);
    EXPECT_EQ(drawn.y, (height - CMemoryHost::kIconSize + 1) / 2);
    EXPECT_EQ(user.IconId(drawn.icon), kIdrMainFrame);
    EXPECT_EQ(user.IconBackgroundErasures(), 1);
    EXPECT_EQ(user.DefaultPaints(), 1);
    user.PressButton(kIdCancel);
  });
  EXPECT_EQ(host->OpenDeviceContexts(), 0);
}

}  // namespace
}  // namespace vesk
