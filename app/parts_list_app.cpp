#include "app/parts_list_app.h"

#include <cstdio>

#include "app/exit_status.h"
#include "app/parts_list_dlg.h"
#include "app/run_messages.h"
#include "app/usage.h"

namespace vesk {

namespace {

int exitCodeOf(CPartsListDlg::Outcome outcome) {
  switch (outcome) {
    case CPartsListDlg::Outcome::kWritten: return kExitWritten;
    case CPartsListDlg::Outcome::kInputFailed:
    case CPartsListDlg::Outcome::kEarlierListFailed: return kExitInputFailed;
    case CPartsListDlg::Outcome::kOutputNotOpened:
    case CPartsListDlg::Outcome::kWriteFailed: return kExitOutputFailed;
    case CPartsListDlg::Outcome::kNotRun:
    case CPartsListDlg::Outcome::kNoInput: break;
  }
  return kExitNoInput;
}

}  // namespace

std::string CPartsListApp::AppNameFromModulePath(std::string_view modulePath) {
  const std::size_t cut = modulePath.find_last_of("\\/");
  if (cut != std::string_view::npos) modulePath.remove_prefix(cut + 1);
  const std::size_t dot = modulePath.rfind('.');
  if (dot != std::string_view::npos && dot > 0) modulePath = modulePath.substr(0, dot);
  return std::string(modulePath);
}

void CPartsListApp::ParseCommandLine(CPartsListCmdLineInfo& info,
                                     std::span<const std::string> args, bool slashStartsFlag) {
  for (std::size_t i = 1; i < args.size(); ++i) {
    const std::string& arg = args[i];
    if (info.ParseWholeArgument(arg, slashStartsFlag)) continue;
    // A lone "-" is a plain argument: "-o -" names the standard output.
    const bool isFlag = (arg.size() > 1 && arg[0] == '-') ||
                        (slashStartsFlag && !arg.empty() && arg[0] == '/');
    const bool isLast = i + 1 == args.size();
    info.ParseParam(isFlag ? arg.c_str() + 1 : arg.c_str(), isFlag, isLast);
  }
}

bool CPartsListApp::InitInstance() {
  const std::string modulePath = m_host.GetModulePath();
  m_appName = AppNameFromModulePath(modulePath);

  const std::vector<std::string> args = m_host.GetCommandLineArgs();
  ParseCommandLine(m_cmdInfo, args, m_host.SlashStartsFlag());
  if (!m_cmdInfo.m_badOption.empty()) {
    m_exitCode = kExitBadOption;
    return false;
  }

  if (m_cmdInfo.m_request != CPartsListCmdLineInfo::Request::kRun) {
    const std::string text = m_cmdInfo.m_request == CPartsListCmdLineInfo::Request::kHelp
                                 ? helpText(m_appName, m_host.SlashStartsFlag())
                                 : versionText();
    std::fputs(text.c_str(), m_out);
    m_exitCode = kExitWritten;
    return false;
  }
  if (!m_cmdInfo.m_bAutoRun && !m_host.CanShowWindows()) {
    m_exitCode = kExitNoWindow;
    return false;
  }
  CPartsListDlg dialog(m_host, m_cmdInfo, m_appName);
  const int result = dialog.DoModal();
  if (m_cmdInfo.m_bAutoRun) {
    m_exitCode = exitCodeOf(dialog.LastOutcome());
    std::fputs(commandLineReport(m_appName, dialog.LastReport()).c_str(), m_err);
  } else {
    m_exitCode = result < 0 ? kExitNoWindow : kExitWritten;
  }
  return false;
}

}  // namespace vesk
