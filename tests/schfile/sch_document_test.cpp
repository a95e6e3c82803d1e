#include "schfile/sch_document.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "schfile/record_writer.h"
#include "schobj/sch_component.h"
#include "schobj/sch_sheet_info.h"
#include "tests/support/counting_memory.h"

namespace vesk {
namespace {

struct LoadCase {
  const char* what;
  std::string file;
  int result;
};

TEST(SchDocument, ResultsOfReadingWholeFiles) {
  const std::string magic = "+KOLVA_DATA_V.1.0\n";
  const std::vector<LoadCase> cases = {
      {"empty file", "", 0},
      {"white space only", " \r\n\t\n", 0},
      {"magic only", magic, 0},
      {"magic after blank lines", "\n\n" + magic, 0},
      {"magic with a trailing space", "+KOLVA_DATA_V.1.0 \n", 2},
      {"magic in lower case", "+kolva_data_v.1.0\n", 2},
      {"byte order mark before the magic", "\xef\xbb\xbf" + magic, 2},
      {"end field only", magic + "-KOLVA_DATA_V.1.0\n", 0},
      {"key field at top level", magic + "X:10\n", 1},
      {"stray end tag at top level", magic + "-WIRE\n", 1},
      {"unknown block skipped", magic + "+FOO,A:1,-FOO\n-KOLVA_DATA_V.1.0\n", 0},
      {"unknown block never ended", magic + "+FOO,A:1\n", 1},
      {"library block at top level", magic + "+KOLVA_LIB_V.1.0,+COMP,-COMP,-KOLVA_LIB_V.1.0\n", 0},
      {"anything after the end field", magic + "-KOLVA_DATA_V.1.0\nX:1,-BAD,+OPEN\n", 0},
      {"empty field ends the file", magic + ",,X:1\n", 0},
      {"sheet info without H", magic + "+SHEETINFO,W:2000,-SHEETINFO\n", 1},
      {"sheet info cut off", magic + "+SHEETINFO,W:2000,H:1500\n", 1},
  };
  for (const LoadCase& c : cases) {
    SchDocument document;
    EXPECT_EQ(document.readMemory(c.file), c.result) << c.what;
  }
}

TEST(SchDocument, SheetInfoSetsTheSizeOnlyFromTheFirstBlock) {
  SchDocument document;
  ASSERT_EQ(document.readMemory("+KOLVA_DATA_V.1.0\n"
                                "+SHEETINFO,EL:0,VL:255,W:2000,H:1500,-SHEETINFO\n"
                                "+SHEETINFO,W:3000,H:2000,-SHEETINFO\n"),
            0);
  EXPECT_EQ(document.sheetSize(), Point(2000, 1500));

  SchDocument plain;
  ASSERT_EQ(plain.readMemory("+KOLVA_DATA_V.1.0\n"), 0);
  EXPECT_EQ(plain.sheetSize(), Point(1500, 1000));
}

TEST(SchDocument, SheetInfoRangesAndColonRule) {
  struct Case {
    const char* keys;
    bool ok;
    Point size;
  };
  const std::vector<Case> cases = {
      {"W:499,H:1000", true, {1500, 1000}}, {"W:3000,H:400", true, {3000, 400}},
      {"W:500,H:2001", true, {500, 1000}},  {"W:,H:", true, {1500, 1000}},
      {"W:2000", false, {}},                {"H:500,W:9999999999999", true, {1500, 500}},
      {"w:2000,h:500", false, {}},          {"EL:3,VL:1,W:600,H:450", true, {600, 450}},
  };
  for (const Case& c : cases) {
    SchDocument document;
    const std::string file =
        std::string("+KOLVA_DATA_V.1.0\n+SHEETINFO,") + c.keys + ",-SHEETINFO\n";
    EXPECT_EQ(document.readMemory(file), c.ok ? 0 : 1) << c.keys;
    if (c.ok) {
      EXPECT_EQ(document.sheetSize(), c.size) << c.keys;
    }
  }
}

TEST(SchSheetInfo, WritesItsKeysAndIgnoresEditState) {
  SchSheetInfo info;
  std::string out;
  RecordWriter writer(out);
  EXPECT_TRUE(info.writeBlock(writer, nullptr));
  EXPECT_EQ(out, "+SHEETINFO,EL:0,VL:255,W:1500,H:1000,-SHEETINFO\n");

  info.setSelection(3);
  info.move(5, 5);
  info.rotate();
  EXPECT_EQ(info.visibleLayers(), 255);
  EXPECT_EQ(info.refPoint(), Point(1500, 1000));
  EXPECT_EQ(info.area(), Rect(0, 0, 1500, 1000));
  EXPECT_EQ(info.clone(), nullptr);
}

// A reader that wants only the components (the parts list) has each one
// handed over as it is read and keeps no objects: the same components, in
// the same order, from the memory of one object at a time.
TEST(SchDocument, ReadingWithoutKeepingObjectsHandsOverTheSameComponents) {
  std::string sheet = "+KOLVA_DATA_V.1.0\n";
  for (int i = 1; i <= 3000; ++i) {
    const std::string n = std::to_string(i);
    sheet += "+WIRE,L:0,X1:0,Y1:" + n + ",X2:40,Y2:" + n + ",-WIRE\n";
    sheet += "+WIRE,X1:5,Y1:5,X2:5,Y2:5,-WIRE\n";  // no length: dropped
    sheet += "+COMPONENT,X:0,Y:0,LIB:P,N:part" + n + ",R:R" + n + ",NOTE:" +
             std::string(i % 40, 'x') + ",-COMPONENT\n";
  }
  struct Read {
    std::size_t objects = 0;
    std::vector<std::string> handedOver;
    test::CountingMemory memory;
  };
  const auto readSheet = [&sheet](bool keepsObjects, Read& read) {
    SchDocument document(&read.memory);
    document.setKeepsObjects(keepsObjects);
    document.onComponentKept([&read](const SchComponent& component) {
      read.handedOver.push_back(std::string(component.reference()) + "," +
                                std::string(component.name()) + "," +
                                std::string(component.note()));
    });
    EXPECT_EQ(document.readMemory(sheet), 0);
    read.objects = document.objects().size();
  };
  Read keeping;
  Read dropping;
  readSheet(true, keeping);
  readSheet(false, dropping);
  EXPECT_EQ(keeping.objects, 6000u);
  EXPECT_EQ(dropping.objects, 0u);
  ASSERT_EQ(keeping.handedOver.size(), 3000u);
  EXPECT_EQ(dropping.handedOver, keeping.handedOver);
  EXPECT_EQ(dropping.handedOver[2999], "R3000,part3000," + std::string(0, 'x'));
  // Each object's memory serves the next: the arena's first block is all
  // it takes, where keeping 6,000 objects takes hundreds of kilobytes.
  EXPECT_LE(dropping.memory.taken, std::size_t{32 * 1024});
  EXPECT_GT(keeping.memory.taken, std::size_t{256 * 1024});
  EXPECT_EQ(dropping.memory.outstanding, 0u);
}

class SchDocumentFiles : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = std::filesystem::temp_directory_path() /
           ("vesk-doc-" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) + "-" +
            ::testing::UnitTest::GetInstance()->current_test_info()->name());
    std::filesystem::create_directories(dir_);
  }
  void TearDown() override { std::filesystem::remove_all(dir_); }
  std::string write(const std::string& name, const std::string& bytes) {
    const auto path = dir_ / name;
    std::ofstream(path, std::ios::binary) << bytes;
    return path.string();
  }
  std::filesystem::path dir_;
};

TEST_F(SchDocumentFiles, LoadOpensReadsAndCloses) {
  SchDocument document;
  EXPECT_EQ(document.load(write("ok.ce3", "+KOLVA_DATA_V.1.0\n-KOLVA_DATA_V.1.0\n").c_str()), 0);
  EXPECT_EQ(document.load(write("bad.ce3", "HELLO\n").c_str()), 2);
  EXPECT_EQ(document.load((dir_ / "missing.ce3").string().c_str()), 1);
  EXPECT_EQ(document.load(nullptr), 1);
}

TEST_F(SchDocumentFiles, ADirectoryFailsLikeAMissingFile) {
  // fopen opens a directory on Linux; the read error must not pass for an
  // empty file.
  SchDocument document;
  EXPECT_EQ(document.load(dir_.string().c_str()), 1);
}

TEST(SchDocument, ReadWithoutAStreamFails) {
  SchDocument document;
  EXPECT_EQ(document.read(nullptr), 1);
}

TEST(SchDocument, LoadsTheBundledExamples) {
  for (const char* name : {"amp_main.ce3", "amp_power.ce3"}) {
    SchDocument document;
    EXPECT_EQ(document.load((std::string(VESK_EXAMPLES_DIR) + "/" + name).c_str()), 0) << name;
  }
}

}  // namespace
}  // namespace vesk
