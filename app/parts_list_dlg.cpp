#include "app/parts_list_dlg.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <utility>
#include <vector>

#include "app/about_dlg.h"
#include "app/path_parts.h"
#include "app/resource_ids.h"
#include "app/run_messages.h"
#include "convert/conversion.h"
#include "convert/parts_list_reader.h"
#include "platform/code_page_932.h"
#include "platform/output_file.h"
#include "platform/run_memory.h"
#include "platform/standard_output.h"

namespace vesk {

namespace {

constexpr std::string_view kInputFilter = "Kolva data(*.ce3)|*.CE3||";
constexpr std::string_view kInitialInputName = "*.CE3";
constexpr std::string_view kOutputExtension = ".csv";
// The save dialog's default extension, without its dot.
constexpr const char* kOutputDefaultExtension = "csv";
// The output name that stands for the standard output.
constexpr std::string_view kStandardOutputName = "-";

// The file dialogs take their filter as description and pattern texts,
// each ended by a zero byte; written with '|' for readability. A '|' that
// is the second byte of a double-byte character (as in the Shift-JIS of
// "ポ") stays.
std::string filterFromBars(std::string_view bars, const CUiHost& host) {
  std::string filter(bars);
  for (std::size_t i = 0; i < filter.size(); ++i) {
    if (host.IsDBCSLeadByte(static_cast<unsigned char>(filter[i]))) {
      ++i;
    } else if (filter[i] == '|') {
      filter[i] = '\0';
    }
  }
  return filter;
}

// The zero-terminated text at `pos` of a buffer of `size` bytes, cut at the
// buffer's end if the terminator is missing.
std::string_view textAt(const char* buffer, std::size_t size, std::size_t pos) {
  if (pos >= size) return {};
  const void* end = std::memchr(buffer + pos, '\0', size - pos);
  const std::size_t length =
      end != nullptr ? static_cast<std::size_t>(static_cast<const char*>(end) - (buffer + pos))
                     : size - pos;
  return {buffer + pos, length};
}

}  // namespace

CPartsListDlg::CPartsListDlg(CUiHost& host, const CPartsListCmdLineInfo& cmdInfo,
                             std::string appName)
    : CHostDialog(host, kIddPartsListDialog),
      m_cmdInfo(cmdInfo),
      m_appName(std::move(appName)),
      m_inputList(host),
      m_pathBufferSize(PathBufferSizeFor(host.MaxPathLength())),
      m_pathBuffer(new char[m_pathBufferSize]()),
      m_hIcon(host.LoadIcon(kIdrMainFrame)) {}

CPartsListDlg::~CPartsListDlg() = default;

bool CPartsListDlg::OnInitDialog() {
  m_inputList.Attach(GetDlgItem(kIdcInputList));

  if (const HostMenu systemMenu = m_host.GetSystemMenu(m_hWnd, false)) {
    const std::string aboutItem = m_host.LoadString(kIdsAboutBox);
    if (!aboutItem.empty()) {
      m_host.AppendMenu(systemMenu, kMfSeparator, 0, {});
      m_host.AppendMenu(systemMenu, kMfString, kIdmAboutBox, aboutItem);
    }
  }
  m_host.SetIcon(m_hWnd, m_hIcon, true);
  m_host.SetIcon(m_hWnd, m_host.LoadIcon(kIdiSmallIcon), false);

  const CPartsListCmdLineInfo& info = m_cmdInfo;
  // The command line's choice of list; the automatic run writes it too.
  CheckDlgButton(kIdcGroupedList,
                 info.m_format.layout == ListLayout::kGrouped ? kBstChecked : kBstUnchecked);
  CheckDlgButton(kIdcUtf8Output,
                 info.m_format.encoding == ListEncoding::kUtf8 ? kBstChecked : kBstUnchecked);
  for (const std::string& path : info.m_inputPaths) m_inputList.AddString(path);
  UpdateOutputName();
  if (!info.m_outputPath.empty()) {
    m_host.SetWindowText(GetDlgItem(kIdcOutputName), info.m_outputPath);
  }

  if (info.m_bAutoRun) {
    m_bSilent = true;
    OnExecute();
    EndDialog(kIdOk);
  }
  return true;
}

void CPartsListDlg::OnCommand(int controlId, int notifyCode, HostWindow control) {
  const bool clicked = notifyCode == kNotifyButtonClicked;
  switch (controlId) {
    case kIdOk:
      if (clicked) OnExecute();  // the dialog stays open
      return;
    case kIdcBrowseInput:
      if (clicked) OnBrowseInput();
      return;
    case kIdcClear:
      if (clicked) OnClear();
      return;
    case kIdcBrowseOutput:
      if (clicked) OnBrowseOutput();
      return;
    case kIdcInputList:
      if (notifyCode == kNotifyListSelChange) OnInputSelChange();
      return;
    default:
      CHostDialog::OnCommand(controlId, notifyCode, control);
  }
}

void CPartsListDlg::OnSysCommand(unsigned commandId) {
  if ((commandId & 0xFFF0u) == kIdmAboutBox) {
    CAboutDlg about(m_host);
    about.DoModal(m_hWnd);
    return;
  }
  CHostDialog::OnSysCommand(commandId);
}

void CPartsListDlg::OnPaint() {
  if (!m_host.IsIconic(m_hWnd)) {
    CHostDialog::OnPaint();
    return;
  }
  const HostDC dc = m_host.BeginPaint(m_hWnd);
  m_host.EraseIconBackground(m_hWnd, dc);
  const int iconWidth = m_host.GetSystemMetrics(kSmCxIcon);
  const int iconHeight = m_host.GetSystemMetrics(kSmCyIcon);
  const HostRect client = m_host.GetClientRect(m_hWnd);
  const int x = (client.width() - iconWidth + 1) / 2;
  const int y = (client.height() - iconHeight + 1) / 2;
  m_host.DrawIcon(dc, x, y, m_hIcon);
  m_host.EndPaint(m_hWnd, dc);
}

void CPartsListDlg::OnDropFiles(HostWindow control, HostDrop drop) {
  if (control != nullptr && control == m_inputList.GetSafeHwnd()) {
    m_inputList.OnDropFiles(drop);
    return;
  }
  CHostDialog::OnDropFiles(control, drop);
}

// A short help from the string table rather than a help file: no help
// viewer is part of current Windows, nor of the other platforms.
void CPartsListDlg::OnHelp() {
  m_host.MessageBox(m_hWnd, fillIn(m_host.LoadString(kIdsHelp), {m_appName}), m_appName,
                    kMbOk | kMbIconInformation);
}

void CPartsListDlg::UpdateOutputName() {
  const HostWindow outputName = GetDlgItem(kIdcOutputName);
  const HostWindow execute = GetDlgItem(kIdOk);
  if (m_inputList.GetCount() <= 0) {
    m_host.SetWindowText(outputName, {});
    m_host.EnableWindow(execute, false);
    return;
  }
  int index = m_inputList.GetCurSel();
  if (index < 0) index = 0;
  std::string entry;
  m_inputList.GetText(index, entry);
  m_host.SetWindowText(outputName, PathParts::Split(entry, m_host).WithExtension(kOutputExtension));
  m_host.EnableWindow(execute, true);
}

int CPartsListDlg::GatherInputPaths(const char* paths[kMaxInputs]) {
  const int count = std::min(m_inputList.GetCount(), kMaxInputs);
  // Each entry has the room of one path of the host: 64 of them always fit.
  const std::size_t room = (m_pathBufferSize - 1) / kMaxInputs;
  std::size_t position = 0;
  for (int i = 0; i < count; ++i) {
    char* slot = m_pathBuffer.get() + position;
    const int length = m_inputList.GetText(i, slot, room);
    if (length < 0) {
      // Longer than any path the system opens: the run fails on it as on
      // a file that cannot be opened, before anything is read.
      m_inputList.GetText(i, m_report.file);
      m_report.problem.kind = ReadProblem::Kind::kCannotOpen;
      m_report.problem.systemError = ENAMETOOLONG;
      return -1;
    }
    paths[i] = slot;
    position += static_cast<std::size_t>(length) + 1;
  }
  return count;
}

void CPartsListDlg::OnExecute() {
  m_report = RunReport();
  const int listed = m_inputList.GetCount();
  if (listed <= 0) {
    Finish(Outcome::kNoInput, 0);
    return;
  }
  const char* paths[kMaxInputs] = {};
  const int count = GatherInputPaths(paths);
  if (count < 0) {
    Finish(Outcome::kInputFailed, kIdsInputOpenFailed);
    return;
  }
  // Entries past the 64th are not read; the outcome says so.
  if (listed > count) {
    m_report.inputsGiven = listed;
    m_report.inputsRead = count;
  }
  const std::string output = m_host.GetWindowText(GetDlgItem(kIdcOutputName));
  m_report.file = output;
  // The list to compare with is read before anything is opened: a list
  // that cannot be read leaves the output as it was.
  ListedParts earlier;
  const ListedParts* changesSince = nullptr;
  if (const std::string list = ChangesSince(); !list.empty()) {
    if (!ReadEarlierList(list, output, earlier)) return;
    changesSince = &earlier;
  }
  if (output == kStandardOutputName) {
    ExecuteToStandardOutput(count, paths, changesSince);
    return;
  }

  // Nothing is created or opened when the output is one of the inputs,
  // however its path is written.
  for (int i = 0; i < count; ++i) {
    if (m_host.IsSameFile(output.c_str(), paths[i])) {
      m_report.outputIsInput = true;
      Finish(Outcome::kOutputNotOpened, kIdsOutputOpenFailed);
      return;
    }
  }
  // The list goes to a temporary file that takes the output's place only
  // when the run succeeded: a failed run leaves the user's old list alone.
  OutputFile outputFile;
  if (!outputFile.open(output.c_str())) {
    m_report.systemError = outputFile.error();
    Finish(Outcome::kOutputNotOpened, kIdsOutputOpenFailed);
    return;
  }
  ConversionReport conversion;
  const int result = Convert(count, paths, outputFile.stream(), changesSince, conversion);
  if (result == kConversionInputFailed) outputFile.discard();
  const bool writeFailed = result != kConversionInputFailed && !outputFile.commit();
  ReportOutcome(result, conversion, paths, writeFailed ? outputFile.error() : 0);
}

// The standard output is there already and is none of the inputs; it is
// flushed rather than closed.
void CPartsListDlg::ExecuteToStandardOutput(int count, const char* const* paths,
                                            const ListedParts* changesSince) {
  std::FILE* stream = binaryStandardOutput();
  ConversionReport conversion;
  const int result = Convert(count, paths, stream, changesSince, conversion);
  errno = 0;
  const bool failed = std::fflush(stream) != 0 || std::ferror(stream) != 0;
  // A write that failed before the flush may have left no error number.
  ReportOutcome(result, conversion, paths, failed ? (errno != 0 ? errno : EIO) : 0);
}

PartsListFormat CPartsListDlg::ListFormat() const {
  PartsListFormat format;
  if (IsDlgButtonChecked(kIdcGroupedList) == kBstChecked) format.layout = ListLayout::kGrouped;
  if (IsDlgButtonChecked(kIdcUtf8Output) == kBstChecked) format.encoding = ListEncoding::kUtf8;
  return format;
}

std::string CPartsListDlg::ChangesSince() const {
  // Only the command line's automatic run compares; the dialog offers no
  // comparison yet.
  return m_bSilent ? m_cmdInfo.m_changesSince : std::string();
}

bool CPartsListDlg::ReadEarlierList(const std::string& path, const std::string& output,
                                    ListedParts& earlier) {
  // Written over, the list would be lost: refused like an input that is
  // the output.
  if (output != kStandardOutputName && m_host.IsSameFile(output.c_str(), path.c_str())) {
    m_report.outputIsInput = true;
    Finish(Outcome::kOutputNotOpened, kIdsOutputOpenFailed);
    return false;
  }
  const Utf8ToShiftJis toShiftJis(makeCodePage932Encoder(), makeCodePage932Decoder());
  ListReading reading = readPartsListFile(path.c_str(), toShiftJis);
  if (reading.problem.failed()) {
    m_report.file = path;
    m_report.listProblem = std::move(reading.problem);
    Finish(Outcome::kEarlierListFailed, kIdsInputOpenFailed);
    return false;
  }
  earlier = std::move(reading.list);
  m_report.changesSince = path;
  return true;
}

int CPartsListDlg::Convert(int count, const char* const* paths, std::FILE* stream,
                           const ListedParts* changesSince, ConversionReport& report) {
  ConversionOptions options;
  options.format = ListFormat();
  options.changesSince = changesSince;
  // Only a list in UTF-8 needs the system's table of Shift-JIS.
  if (options.format.encoding == ListEncoding::kUtf8) options.decoder = makeCodePage932Decoder();
  const std::unique_ptr<std::pmr::memory_resource> memory = makeRunMemory();
  options.memory = memory.get();
  m_report.traced = count > 0;
  return runConversion(count, paths, stream, options, &report);
}

void CPartsListDlg::ReportOutcome(int result, ConversionReport& conversion,
                                  const char* const* paths, int writeError) {
  if (result == kConversionInputFailed) {
    m_report.file = paths[conversion.failedInput];
    m_report.problem = std::move(conversion.problem);
    Finish(Outcome::kInputFailed, kIdsInputOpenFailed);
  } else if (writeError != 0) {
    m_report.systemError = writeError;
    Finish(Outcome::kWriteFailed, kIdsOutputWriteFailed);
  } else {
    m_report.duplicates = std::move(conversion.duplicates);
    m_report.changes = conversion.changes;
    Finish(Outcome::kWritten, kIdsFinished);
  }
}

void CPartsListDlg::OnBrowseInput() {
  // Cleared first, so that nothing left from an earlier gathering can pass
  // for a selected name after the dialog's result.
  std::memset(m_pathBuffer.get(), 0, m_pathBufferSize);
  std::memcpy(m_pathBuffer.get(), kInitialInputName.data(), kInitialInputName.size());
  const std::string filter = filterFromBars(kInputFilter, m_host);
  COpenFileRequest request;
  request.owner = m_hWnd;
  request.filter = filter;
  request.flags = kOfnFileMustExist | kOfnHideReadOnly | kOfnAllowMultiSelect | kOfnExplorer;
  request.fileBuffer = m_pathBuffer.get();
  request.fileBufferSize = m_pathBufferSize;
  if (!m_host.GetOpenFileName(request)) return;
  AddChosenFiles();
  m_inputList.UpdateHorizontalExtent();
  UpdateOutputName();
}

// The multi-select result: one full path alone, or a directory followed by
// names, every text zero-terminated and the list ended by an empty text.
void CPartsListDlg::AddChosenFiles() {
  const char* buffer = m_pathBuffer.get();
  const std::string_view first = textAt(buffer, m_pathBufferSize, 0);
  if (first.empty()) return;
  std::size_t position = first.size() + 1;
  std::string_view name = textAt(buffer, m_pathBufferSize, position);
  if (name.empty()) {
    m_inputList.AddString(first);
    return;
  }
  // A root directory such as "C:\" already ends in its separator.
  const PathParts directory = PathParts::Split(first, m_host);
  const bool endsInSeparator = directory.name.empty() && directory.extension.empty();
  std::string path;
  while (!name.empty()) {
    path.assign(first);
    if (!endsInSeparator) path.push_back(kNativePathSeparator);
    path.append(name);
    m_inputList.AddString(path);
    position += name.size() + 1;
    name = textAt(buffer, m_pathBufferSize, position);
  }
}

// The save dialog, in the current output's folder with its name; it may
// name a file that is not there yet, and asks before replacing one.
void CPartsListDlg::OnBrowseOutput() {
  const HostWindow outputName = GetDlgItem(kIdcOutputName);
  const PathParts current = PathParts::Split(m_host.GetWindowText(outputName), m_host);
  const std::string folder = current.drive + current.directory;
  const std::string name = current.name + current.extension;
  std::vector<char> chosen(m_host.MaxPathLength(), '\0');
  if (name.size() < chosen.size()) std::copy(name.begin(), name.end(), chosen.begin());
  const std::string filter = filterFromBars(m_host.LoadString(kIdsOutputFilter), m_host);
  const std::string title = m_host.LoadString(kIdsOutputChooserTitle);
  COpenFileRequest request;
  request.owner = m_hWnd;
  request.title = title.c_str();
  request.filter = filter;
  request.flags = kOfnOverwritePrompt | kOfnPathMustExist | kOfnNoReadOnlyReturn |
                  kOfnHideReadOnly | kOfnExplorer;
  request.fileBuffer = chosen.data();
  request.fileBufferSize = chosen.size();
  request.defaultExtension = kOutputDefaultExtension;
  // A name without a folder lies in the current one.
  request.initialDirectory = folder.empty() ? "." : folder.c_str();
  if (!m_host.GetSaveFileName(request)) return;
  m_host.SetWindowText(outputName, textAt(chosen.data(), chosen.size(), 0));
}

void CPartsListDlg::OnClear() {
  m_inputList.ResetContent();
  UpdateOutputName();
}

void CPartsListDlg::Finish(Outcome outcome, int stringId) {
  m_report.outcome = outcome;
  if (m_bSilent || stringId == 0) return;
  std::string text = m_host.LoadString(stringId);
  if (const std::string detail = messageDetail(m_host, m_report); !detail.empty()) {
    text += '\n';
    text += detail;
  }
  m_host.MessageBox(m_hWnd, text, m_appName, kMbOk | kMbIconExclamation);
}

}  // namespace vesk
