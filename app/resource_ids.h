// Resource and control ids of the parts-list program.
//
// The ids are those of the program's Windows resources; every backend and
// the shell refer to dialogs, strings, icons and controls by them.
#pragma once

namespace vesk {

// Dialog templates.
inline constexpr int kIddAboutBox = 100;
inline constexpr int kIddPartsListDialog = 102;

// String table.
inline constexpr int kIdsAboutBox = 101;
inline constexpr int kIdsOutputOpenFailed = 102;
inline constexpr int kIdsInputOpenFailed = 103;
inline constexpr int kIdsFinished = 104;
inline constexpr int kIdsOutputWriteFailed = 105;

// Icons.
inline constexpr int kIdrMainFrame = 128;  // large icon and About picture
inline constexpr int kIdiSmallIcon = 129;

// Controls of the main dialog.
inline constexpr int kIdcInputList = 1001;
inline constexpr int kIdcBrowseInput = 1002;
inline constexpr int kIdcOutputName = 1003;
inline constexpr int kIdcBrowseOutput = 1004;
inline constexpr int kIdcClear = 1005;

// System menu command of the About item; the platform keeps the low four
// bits of system commands for itself.
inline constexpr unsigned kIdmAboutBox = 0x0010;

}  // namespace vesk
