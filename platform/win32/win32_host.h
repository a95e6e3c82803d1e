// CWin32Host: the shell's platform interface on the Windows API itself.
//
// Dialogs are built in memory as DLGTEMPLATEEX from the resource tables
// and run with CreateDialogIndirectParamA and a modal loop of our own
// that disables the owner and ends on EndDialog; every other operation is
// the Windows call it is named after (SendMessageA with LB_*, the edit's
// window text, SendMessageA with BM_GETCHECK, GetOpenFileNameA,
// GetSaveFileNameA, DragQueryFileA, MessageBoxA, ...). Icons
// and strings come from the executable's resources, which the build makes
// from the same tables; a module without them gets both straight from the
// tables. Texts are bytes of the ANSI code page. The program's manifest
// declares per-monitor DPI awareness: Windows scales what is laid out in
// dialog units, and the host sizes the icons and answers GetDpiForWindow
// for the pixels the shell chooses itself.
//
// The host owns the icons it loads and the paint state between BeginPaint
// and EndPaint; every window belongs to Windows and is destroyed when its
// modal run ends. Compiled only for Windows.
#pragma once

#include <map>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "platform/ui_host.h"

namespace vesk {

class CWin32Host final : public CUiHost {
 public:
  // `args` as the runtime split them, [0] being the program.
  CWin32Host(const ResourceSet& resources, std::vector<std::string> args);
  ~CWin32Host() override;

  CWin32Host(const CWin32Host&) = delete;
  CWin32Host& operator=(const CWin32Host&) = delete;

  // Whether this process can show a window at all: an interactive window
  // station, and a window driver that creates windows.
  static bool CanCreateWindows();

  std::string GetModulePath() const override;
  std::vector<std::string> GetCommandLineArgs() const override { return m_args; }
  bool SlashStartsFlag() const override { return true; }
  bool CanShowWindows() const override { return true; }
  int DoModal(int templateId, CHostDialog& dialog, HostWindow owner) override;
  void EndDialog(HostWindow dialog, int result) override;
  HostWindow GetDlgItem(HostWindow dialog, int controlId) const override;
  HostWindow GetParent(HostWindow window) const override;
  int GetDlgCtrlID(HostWindow window) const override;
  void SendCommand(HostWindow dialog, int controlId, int notifyCode,
                   HostWindow control) override;
  std::string GetWindowText(HostWindow window) const override;
  void SetWindowText(HostWindow window, std::string_view text) override;
  void EnableWindow(HostWindow window, bool enable) override;
  int ListAddString(HostWindow list, std::string_view text) override;
  void ListResetContent(HostWindow list) override;
  int ListGetCount(HostWindow list) const override;
  int ListGetCurSel(HostWindow list) const override;
  int ListGetTextLen(HostWindow list, int index) const override;
  int ListGetText(HostWindow list, int index, char* buffer, std::size_t capacity) const override;
  void ListSetHorizontalExtent(HostWindow list, int pixels) override;
  unsigned ButtonGetCheck(HostWindow button) const override;
  void ButtonSetCheck(HostWindow button, unsigned check) override;
  int MessageBox(HostWindow owner, std::string_view text, std::string_view caption,
                 unsigned flags) override;
  bool GetOpenFileName(COpenFileRequest& request) override;
  bool GetSaveFileName(COpenFileRequest& request) override;
  unsigned DragQueryFile(HostDrop drop, unsigned index, char* buffer, unsigned capacity) override;
  void DragFinish(HostDrop drop) override;
  HostMenu GetSystemMenu(HostWindow window, bool revert) override;
  bool AppendMenu(HostMenu menu, unsigned flags, unsigned commandId,
                  std::string_view text) override;
  void DefaultSysCommand(HostWindow window, unsigned commandId) override;
  HostIcon LoadIcon(int resourceId) override;
  void SetIcon(HostWindow window, HostIcon icon, bool big) override;
  bool IsIconic(HostWindow window) const override;
  int GetSystemMetrics(int index) const override;
  HostRect GetClientRect(HostWindow window) const override;
  HostDC BeginPaint(HostWindow window) override;
  void EndPaint(HostWindow window, HostDC dc) override;
  void EraseIconBackground(HostWindow window, HostDC dc) override;
  void DrawIcon(HostDC dc, int x, int y, HostIcon icon) override;
  void DefaultPaint(HostWindow window) override;
  int GetDpiForWindow(HostWindow window) const override;
  HostFont GetFont(HostWindow window) const override;
  HostDC GetDC(HostWindow window) override;
  HostFont SelectFont(HostDC dc, HostFont font) override;
  int GetTextExtent(HostDC dc, std::string_view text) override;
  void ReleaseDC(HostWindow window, HostDC dc) override;
  std::string LoadString(int id) const override;
  bool IsDBCSLeadByte(unsigned char byte) const override;
  bool IsSameFile(const char* first, const char* second) const override;

 private:
  friend struct Win32DialogRouting;
  struct ModalRun;
  struct PaintRecord;

  ModalRun* findRun(HostWindow window) const;
  // Icon `resourceId` at the size of its largest image scaled to `dpi`.
  HostIcon loadIconAtDpi(int resourceId, int dpi);

  std::vector<std::string> m_args;
  std::vector<ModalRun*> m_runs;  // shown dialogs, innermost last; each lives on DoModal's stack
  std::vector<std::unique_ptr<PaintRecord>> m_paints;
  // Loaded once for each resolution, destroyed with the host.
  std::map<std::pair<int, int>, HostIcon> m_icons;  // (resource id, dpi)
};

}  // namespace vesk
