#include "app/resources.h"

#include <array>
#include <string_view>

namespace vesk {

namespace {

using namespace control_style;

constexpr std::string_view kDialogFont = "ＭＳ Ｐゴシック";
constexpr int kDialogFontPoints = 9;

constexpr std::array kMainControls = {
    DialogControl{kIdcInputList, ControlKind::kListBox, "", 0, 5, 15, 230, 90,
                  kBorder | kVerticalScroll | kHorizontalScroll | kTabStop | kNotify |
                      kNoIntegralHeight | kAcceptFiles},
    DialogControl{kIdcBrowseInput, ControlKind::kPushButton, "参照(&R)...", 0, 240, 65, 40, 15,
                  kTabStop},
    DialogControl{kIdcOutputName, ControlKind::kEdit, "", 0, 5, 125, 230, 15,
                  kBorder | kTabStop | kAutoHorizontalScroll},
    DialogControl{kIdcBrowseOutput, ControlKind::kPushButton, "参照(&F)...", 0, 240, 125, 40, 15,
                  kTabStop},
    // Below the output, in the room the dialog grew by; 12 units high, as
    // the 9-point font's line and the focus frame around it need.
    DialogControl{kIdcGroupedList, ControlKind::kCheckBox,
                  "同じ部品を 1 行にまとめる (数量と部品番号の範囲)(&G)", 0, 10, 147, 225, 12,
                  kTabStop},
    DialogControl{kIdcUtf8Output, ControlKind::kCheckBox,
                  "UTF-8 (BOM 付き) で書き出す (Shift-JIS の代わりに)(&U)", 0, 10, 160, 225, 12,
                  kTabStop},
    DialogControl{kIdOk, ControlKind::kDefPushButton, "実行", 0, 240, 15, 40, 14, kTabStop},
    DialogControl{kIdcClear, ControlKind::kPushButton, "クリア(&C)", 0, 240, 85, 40, 14, kTabStop},
    DialogControl{kIdCancel, ControlKind::kPushButton, "終了", 0, 240, 35, 40, 14, kTabStop},
    DialogControl{kIdStatic, ControlKind::kStaticText,
                  "入力ファイル(複数指定すると、それらをまとめた部品リストを作成します)", 0, 10, 5,
                  209, 8, kAlignLeft},
    DialogControl{kIdStatic, ControlKind::kStaticText, "出力ファイル", 0, 10, 115, 38, 8,
                  kAlignLeft},
};

constexpr std::array kAboutControls = {
    DialogControl{kIdStatic, ControlKind::kIcon, "", kIdrMainFrame, 10, 10, 0, 0, 0},
    DialogControl{kIdStatic, ControlKind::kStaticText, "Vesk Version 0.31 ", 0, 39, 10, 119, 8,
                  kAlignCenter},
    DialogControl{kIdStatic, ControlKind::kStaticText, "Kolvaneのための部品リスト生成ソフト", 0,
                  20, 41, 175, 8, kAlignCenter},
    DialogControl{kIdOk, ControlKind::kDefPushButton, "OK", 0, 170, 5, 33, 14, kTabStop},
};

constexpr unsigned kModalDialog =
    dialog_style::kPopup | dialog_style::kCaption | dialog_style::kSystemMenu |
    dialog_style::kModalFrame;

constexpr std::array kDialogs = {
    DialogTemplate{kIddAboutBox, "Veskのバージョン情報", kDialogFont, kDialogFontPoints, 209, 65,
                   kModalDialog, kAboutControls},
    DialogTemplate{kIddPartsListDialog, "Vesk V.0.31 Kolvaneのための部品リスト生成ソフト",
                   kDialogFont, kDialogFontPoints, 283, 175,
                   kModalDialog | dialog_style::kAppWindow, kMainControls},
};

constexpr std::array kStrings = {
    StringResource{kIdsAboutBox, "Vesk のバージョン情報(&A)..."},
    StringResource{kIdsOutputOpenFailed, "出力ファイルのオープンに失敗しました"},
    StringResource{kIdsInputOpenFailed, "入力ファイルのオープンに失敗しました"},
    StringResource{kIdsFinished, "処理が終了しました"},
    StringResource{kIdsOutputWriteFailed, "出力ファイルの書き込みに失敗しました"},
    // Below 102, 103 and 105: the file ("%1 (%2 行目)" where a line
    // applies), then why.
    StringResource{kIdsFileAtLine, "%1 (%2 行目)"},
    StringResource{kIdsCannotOpen, "ファイルを開けません: %1"},
    StringResource{kIdsReadError, "ファイルを読み込めません: %1"},
    StringResource{kIdsNotSchematic,
                   "Kolvane の回路図ファイルではありません (最初のフィールドが「%1」で、"
                   "+KOLVA_DATA_V.1.0 ではありません)"},
    StringResource{kIdsMissingKey, "ブロック %1 に必要なキー %2 がありません"},
    StringResource{kIdsMissingBlock, "ブロック %1 に必要なブロック %2 がありません"},
    StringResource{kIdsBadValue, "ブロック %1 のキー %2 に値「%3」は使えません"},
    StringResource{kIdsUnusableValue, "ブロック %1 のキー %2 に使える値がありません"},
    StringResource{kIdsWrongEndTag, "ブロック %1 が「%2」で終わっています (-%1 で終わるはずです)"},
    StringResource{kIdsEndOfInput, "%2 行目で始まったブロック %1 の途中でファイルが終わっています"},
    StringResource{kIdsEscapeCutShort, "ブロック %1 の中で、%XX の形のエスケープが途中で切れています"},
    StringResource{kIdsStrayField,
                   "ブロックの外に「%1」があります (開始タグでもファイルの終わりでもありません)"},
    StringResource{kIdsUnclosedBlock, "%2 行目で始まったブロック %1 の終わり (-%1) がありません"},
    StringResource{kIdsMisplacedBlock, "ブロック %1 のこの位置にはブロック %2 を置けません"},
    StringResource{kIdsOutputIsInput, "入力ファイルのひとつと同じファイルには書き込みません"},
    StringResource{kIdsCannotWrite, "書き込めません: %1"},
    // The system's errors, as the user can act on them.
    StringResource{kIdsNoSuchFile, "ファイルまたはフォルダーがありません"},
    StringResource{kIdsAccessDenied, "アクセスが拒否されました"},
    StringResource{kIdsIsFolder, "フォルダーです"},
    StringResource{kIdsNotFolder, "パスの途中にフォルダーでないものがあります"},
    StringResource{kIdsDiskFull, "ディスクの空き容量が足りません"},
    StringResource{kIdsFileTooLarge, "ファイルが大きすぎます"},
    StringResource{kIdsReadOnlyDisk, "読み取り専用のドライブです"},
    StringResource{kIdsNameTooLong, "パスが長すぎます"},
    StringResource{kIdsInputOutputError, "装置の入出力エラーです"},
    StringResource{kIdsOtherSystemError, "システムのエラー %1 (%2)"},
    // Below 104 when references occur more than once: rows, such
    // references, and those whose rows differ in name ("?" in the list).
    StringResource{kIdsDuplicatesOneName,
                   "%1 行のうち、%2 個の部品番号が複数回あります (部品名はどれも同じです)"},
    StringResource{kIdsDuplicatesNamesDiffer,
                   "%1 行のうち、%2 個の部品番号が複数回あります。部品名が異なるもの %3 個: %4"},
    StringResource{kIdsMoreReferences, "%1 ほか %2 個"},
    // Below 104: the entries given, and how many of them were read.
    StringResource{kIdsInputsLeftOut,
                   "%1 個の入力ファイルのうち、読み込んだのは最初の %2 個だけです"},
    StringResource{kIdsOutputFilter, "CSV ファイル (*.csv)|*.csv|すべてのファイル (*.*)|*.*||"},
    StringResource{kIdsOutputChooserTitle, "出力ファイルの指定"},
    // "%1" is the program's name. The first line is the box's heading.
    StringResource{kIdsHelp,
                   "%1: Kolvane の回路図 (.ce3) から部品リストを作ります\n"
                   "入力ファイルを一覧に加え (参照(R)...、ドラッグ アンド ドロップ、コマンド "
                   "ライン)、出力ファイルを確かめて [実行] を押します。複数のファイルは 1 つの"
                   "リストにまとめます (最初の 64 個まで)。\n"
                   "\n"
                   "リストの種類\n"
                   "・部品ごと (既定): 部品 1 個に 1 行。重複の印、部品番号の記号と番号、"
                   "部品名、備考。\n"
                   "・同じ部品を 1 行にまとめる: 部品名と備考が同じ部品ごとに 1 行。見出しの行、"
                   "部品番号 (続き番号は範囲で)、数量。\n"
                   "\n"
                   "文字コード\n"
                   "・Shift-JIS (既定): 回路図の文字をそのまま書き出します。\n"
                   "・UTF-8 (BOM 付き): Shift-JIS を読めない表計算ソフトのために。\n"
                   "\n"
                   "コマンド ライン\n"
                   "%1 [入力.ce3 ...] [-o 出力.csv] [-F] [--grouped] "
                   "[--encoding=utf-8|shift_jis] [--changes-since=前のリスト.csv]\n"
                   "-F: ウィンドウを出さずに 1 回だけ変換して終わります。--grouped と "
                   "--encoding= は、このダイアログの選択の初期値にもなります。-o - は標準出力、"
                   "--changes-since= は -F とともに、前に書き出したリストからの部品の増減を"
                   "書き出します。--help で英語の説明を表示します。\n"
                   "\n"
                   "終了コード\n"
                   "0: リストを書き出しました (-F なしでは、ダイアログを閉じました)\n"
                   "1: 入力ファイルまたは前のリストを読めませんでした (出力ファイルは元のまま)\n"
                   "2: 出力ファイルを開けないか書き込めません。または入力ファイルのひとつです\n"
                   "3: -F で入力ファイルがありません\n"
                   "4: ウィンドウを表示できず、-F もありません\n"
                   "5: オプションの値が正しくありません"},
};

// The icons: a parts-list sheet with a resistor symbol and three rows, each
// with its red bullet. '0'-'F' index the 16-colour palette, '.' is clear.
constexpr std::string_view kSheet32[] = {
    "................................",
    "....0000000000000000000.........",
    "....0FFFFFFFFFFFFFFFFF00........",
    "....0FFFFFFFFFFFFFFFFF070.......",
    "....0FFFFFFFFFFFFFFFFF0770......",
    "....0FFFFFFFFFFFFFFFFF07770.....",
    "....0FFFFFFFFFFFFFFFFF000000....",
    "....0FFFFFFFFFFFFFFFFFFFFFF0....",
    "....0FFFFFFFFFFFFFFFFFFFFFF0....",
    "....0FFFFFFCCCCCCCCCCFFFFFF0....",
    "....0FFFFFFCFFFFFFFFCFFFFFF0....",
    "....0FF4444CFFFFFFFFC4444FF0....",
    "....0FFFFFFCFFFFFFFFCFFFFFF0....",
    "....0FFFFFFCCCCCCCCCCFFFFFF0....",
    "....0FFFFFFFFFFFFFFFFFFFFFF0....",
    "....0FFFFFFFFFFFFFFFFFFFFFF0....",
    "....0FF99FF44444444444444FF0....",
    "....0FF99FF44444444444444FF0....",
    "....0FFFFFFFFFFFFFFFFFFFFFF0....",
    "....0FFFFFFFFFFFFFFFFFFFFFF0....",
    "....0FF99FF44444444444444FF0....",
    "....0FF99FF44444444444444FF0....",
    "....0FFFFFFFFFFFFFFFFFFFFFF0....",
    "....0FFFFFFFFFFFFFFFFFFFFFF0....",
    "....0FF99FF44444444444444FF0....",
    "....0FF99FF44444444444444FF0....",
    "....0FFFFFFFFFFFFFFFFFFFFFF0....",
    "....0FFFFFFFFFFFFFFFFFFFFFF0....",
    "....0FFFFFFFFFFFFFFFFFFFFFF0....",
    "....0FFFFFFFFFFFFFFFFFFFFFF0....",
    "....000000000000000000000000....",
    "................................",
};

constexpr std::string_view kSheet16[] = {
    "..0000000000....",
    "..0FFFFFFFF00...",
    "..0FFFFFFFF070..",
    "..0FFFFFFFF000..",
    "..0FFCCCCCCFF0..",
    "..0F4CFFFFC4F0..",
    "..0FFCCCCCCFF0..",
    "..0FFFFFFFFFF0..",
    "..0F9F444444F0..",
    "..0FFFFFFFFFF0..",
    "..0F9F444444F0..",
    "..0FFFFFFFFFF0..",
    "..0F9F444444F0..",
    "..0FFFFFFFFFF0..",
    "..0FFFFFFFFFF0..",
    "..000000000000..",
};

constexpr std::array kMainFrameImages = {
    IconImage{32, 32, kSheet32},
    IconImage{16, 16, kSheet16},
};
constexpr std::array kSmallImages = {IconImage{16, 16, kSheet16}};

constexpr std::array kIcons = {
    IconResource{kIdrMainFrame, kMainFrameImages},
    IconResource{kIdiSmallIcon, kSmallImages},
};

constexpr ResourceSet kResources{kDialogs, kStrings, kIcons};

}  // namespace

const ResourceSet& partsListResources() { return kResources; }

}  // namespace vesk
