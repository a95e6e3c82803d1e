// The resource tables: every backend builds its dialogs and icons from
// them, so malformed entries would show on every platform.
#include <gtest/gtest.h>

#include <set>

#include "app/resources.h"

namespace vesk {
namespace {

TEST(Resources, IconImagesAreCompletePixelTables) {
  const ResourceSet& resources = partsListResources();
  for (int id : {kIdrMainFrame, kIdiSmallIcon}) {
    const IconResource* icon = resources.findIcon(id);
    ASSERT_NE(icon, nullptr) << id;
    ASSERT_FALSE(icon->images.empty());
    for (const IconImage& image : icon->images) {
      ASSERT_EQ(image.rows.size(), static_cast<std::size_t>(image.height)) << id;
      for (std::string_view row : image.rows) {
        ASSERT_EQ(row.size(), static_cast<std::size_t>(image.width)) << id << ": " << row;
        for (char pixel : row) {
          EXPECT_TRUE(pixel == '.' || iconPaletteIndex(pixel) >= 0) << row;
        }
      }
    }
  }
  const IconResource* large = resources.findIcon(kIdrMainFrame);
  ASSERT_EQ(large->images.size(), 2u);
  EXPECT_EQ(large->images[0].width, 32);
  EXPECT_EQ(large->images[1].width, 16);
  EXPECT_EQ(resources.findIcon(kIdiSmallIcon)->images[0].width, 16);
}

TEST(Resources, ControlsLieInsideTheirDialogAndIdsAreUnique) {
  for (int id : {kIddAboutBox, kIddPartsListDialog}) {
    const DialogTemplate* layout = partsListResources().findDialog(id);
    ASSERT_NE(layout, nullptr);
    std::set<int> ids;
    for (const DialogControl& control : layout->controls) {
      EXPECT_GE(control.x, 0);
      EXPECT_GE(control.y, 0);
      EXPECT_LE(control.x + control.width, layout->width) << control.text;
      EXPECT_LE(control.y + control.height, layout->height) << control.text;
      if (control.id != kIdStatic) {
        EXPECT_TRUE(ids.insert(control.id).second) << control.id;
      }
      if (control.kind == ControlKind::kIcon) {
        EXPECT_NE(partsListResources().findIcon(control.iconId), nullptr);
      }
    }
  }
  const DialogTemplate* main = partsListResources().findDialog(kIddPartsListDialog);
  for (int control : {kIdcInputList, kIdcBrowseInput, kIdcOutputName, kIdcBrowseOutput, kIdOk,
                      kIdcClear, kIdCancel}) {
    EXPECT_NE(main->findControl(control), nullptr) << control;
  }
  EXPECT_NE(main->findControl(kIdcInputList)->style & control_style::kAcceptFiles, 0u);
  EXPECT_NE(main->findControl(kIdcInputList)->style & control_style::kNotify, 0u);
}

}  // namespace
}  // namespace vesk
