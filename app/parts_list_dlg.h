// CPartsListDlg: the main dialog (template 102), the whole user interface.
//
// The user gathers input schematic files in list 1001 (file dialog, drops,
// command line), the output name lives in edit 1003 and follows the
// selected (or first) input until the user changes it (or chooses it in
// the save dialog), the check boxes 1006 and 1007 choose the grouped list
// and UTF-8 (preset by --grouped and --encoding=), and Execute runs the
// conversion over the first 64 entries into that one file (or to the
// standard output, when the output name is "-"); a longer list is read in
// part and the message says so. F1 shows a short help. In
// automatic mode the dialog runs Execute once during its initialisation,
// silently, and ends itself; the outcome of the last Execute is kept for
// the program's exit status, with the file at fault and why, or what the
// list found of duplicate references (app/run_report.h). A message shows
// its text with the file and the reason below it.
//
// The dialog lives on the stack of the application's start-up; the list
// entries and the output text belong to the host's controls, the gathering
// buffer and the output stream of one Execute to the dialog.
#pragma once

#include <cstdio>
#include <memory>
#include <string>

#include "app/cmd_line_info.h"
#include "app/input_list_box.h"
#include "app/run_report.h"
#include "platform/host_dialog.h"

namespace vesk {

struct ConversionReport;
struct ListedParts;

class CPartsListDlg : public CHostDialog {
 public:
  // Room for 64 paths of the host's longest path (259 bytes on Windows),
  // each with its zero, and a final zero. A longer entry is refused like a
  // file that cannot be opened.
  static constexpr int kMaxInputs = 64;
  static constexpr std::size_t PathBufferSizeFor(std::size_t maxPath) {
    return kMaxInputs * maxPath + 1;
  }
  static constexpr std::size_t kPathBufferSize = kMaxInputs * kMaxPath + 1;

  using Outcome = RunOutcome;

  // `cmdInfo` (the command line's results) outlives the dialog; `appName`
  // captions its message boxes.
  CPartsListDlg(CUiHost& host, const CPartsListCmdLineInfo& cmdInfo, std::string appName);
  ~CPartsListDlg() override;

  Outcome LastOutcome() const { return m_report.outcome; }
  const RunReport& LastReport() const { return m_report; }

  // Handlers.
  bool OnInitDialog() override;
  void OnCommand(int controlId, int notifyCode, HostWindow control) override;
  void OnSysCommand(unsigned commandId) override;
  void OnPaint() override;
  HostIcon OnQueryDragIcon() override { return m_hIcon; }
  void OnDropFiles(HostWindow control, HostDrop drop) override;
  void OnHelp() override;
  void UpdateOutputName();
  void OnExecute();
  void OnBrowseInput();
  void OnBrowseOutput();
  void OnClear();
  void OnInputSelChange() { UpdateOutputName(); }

 private:
  // Ends an Execute with `outcome`, and says so with message `stringId`
  // (none for 0) and the details of m_report below its text.
  void Finish(Outcome outcome, int stringId);
  // Execute with the output "-": the list goes to the standard output.
  void ExecuteToStandardOutput(int count, const char* const* paths,
                               const ListedParts* changesSince);
  // The format of the list Execute writes: what the check boxes say.
  PartsListFormat ListFormat() const;
  // The parts list whose changes Execute writes instead of a list; empty
  // for none.
  std::string ChangesSince() const;
  // Reads that list into `earlier`; false, with the run finished and
  // m_report telling why, when it is the output or cannot be read.
  bool ReadEarlierList(const std::string& path, const std::string& output, ListedParts& earlier);
  // Runs the conversion into the opened `stream`: kConversionOk or
  // kConversionInputFailed, with `report` filled in.
  int Convert(int count, const char* const* paths, std::FILE* stream,
              const ListedParts* changesSince, ConversionReport& report);
  // Ends Execute after the run: the input at fault, the output's write
  // error (an errno value; 0 when the list was written) or the list's
  // duplicates go into m_report, and Finish says so.
  void ReportOutcome(int result, ConversionReport& conversion, const char* const* paths,
                     int writeError);
  // Copies up to 64 entries into m_pathBuffer; returns how many, or -1
  // with m_report telling which entry is too long for its room.
  int GatherInputPaths(const char* paths[kMaxInputs]);
  void AddChosenFiles();

  const CPartsListCmdLineInfo& m_cmdInfo;
  std::string m_appName;
  CInputListBox m_inputList;
  std::size_t m_pathBufferSize;
  std::unique_ptr<char[]> m_pathBuffer;
  bool m_bSilent = false;
  HostIcon m_hIcon = nullptr;
  RunReport m_report;
};

}  // namespace vesk
