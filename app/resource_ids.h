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
// The lines below messages 102 to 105: the file at fault, why a file
// failed (a reading problem, or the system's error), and what the list
// found of references that occur more than once. "%1" to "%4" stand for
// the values filled in (app/run_messages.h).
inline constexpr int kIdsFileAtLine = 106;
inline constexpr int kIdsCannotOpen = 107;
inline constexpr int kIdsReadError = 108;
inline constexpr int kIdsNotSchematic = 109;
inline constexpr int kIdsMissingKey = 110;
inline constexpr int kIdsMissingBlock = 111;
inline constexpr int kIdsBadValue = 112;
inline constexpr int kIdsUnusableValue = 113;
inline constexpr int kIdsWrongEndTag = 114;
inline constexpr int kIdsEndOfInput = 115;
inline constexpr int kIdsEscapeCutShort = 116;
inline constexpr int kIdsStrayField = 117;
inline constexpr int kIdsUnclosedBlock = 118;
inline constexpr int kIdsMisplacedBlock = 119;
inline constexpr int kIdsOutputIsInput = 120;
inline constexpr int kIdsCannotWrite = 121;
inline constexpr int kIdsNoSuchFile = 122;
inline constexpr int kIdsAccessDenied = 123;
inline constexpr int kIdsIsFolder = 124;
inline constexpr int kIdsNotFolder = 125;
inline constexpr int kIdsDiskFull = 126;
inline constexpr int kIdsFileTooLarge = 127;
inline constexpr int kIdsReadOnlyDisk = 128;
inline constexpr int kIdsNameTooLong = 129;
inline constexpr int kIdsInputOutputError = 130;
inline constexpr int kIdsOtherSystemError = 131;
inline constexpr int kIdsDuplicatesOneName = 132;
inline constexpr int kIdsDuplicatesNamesDiffer = 133;
inline constexpr int kIdsMoreReferences = 134;
// Below 104 when the list held more entries than a run reads.
inline constexpr int kIdsInputsLeftOut = 135;
// The save dialog of the output: its filters ('|' for the zero bytes)
// and its caption.
inline constexpr int kIdsOutputFilter = 136;
inline constexpr int kIdsOutputChooserTitle = 137;
// What F1 shows: the dialog, the lists, the encodings, the command line.
inline constexpr int kIdsHelp = 138;

// Icons.
inline constexpr int kIdrMainFrame = 128;  // large icon and About picture
inline constexpr int kIdiSmallIcon = 129;

// Controls of the main dialog.
inline constexpr int kIdcInputList = 1001;
inline constexpr int kIdcBrowseInput = 1002;
inline constexpr int kIdcOutputName = 1003;
inline constexpr int kIdcBrowseOutput = 1004;
inline constexpr int kIdcClear = 1005;
// The choice of list: checked, the grouped list instead of one row per
// component, and UTF-8 with a byte order mark instead of Shift-JIS.
inline constexpr int kIdcGroupedList = 1006;
inline constexpr int kIdcUtf8Output = 1007;

// System menu command of the About item; the platform keeps the low four
// bits of system commands for itself.
inline constexpr unsigned kIdmAboutBox = 0x0010;

}  // namespace vesk
