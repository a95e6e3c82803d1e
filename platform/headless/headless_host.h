// CHeadlessHost: the host of `vesk -F`, which converts without any window.
//
// The automatic mode still runs the main dialog: its initialisation fills
// the input list and the output name from the command line, runs Execute
// once, silently, and ends the dialog. This host keeps exactly what that
// needs, the texts, list entries and check marks of the controls of the
// one dialog being run (the check boxes carry the command line's choice
// of list), and nothing else: no drawing, no measuring, no
// menus, no file dialogs, no drops. A message box is never shown (the
// automatic mode asks for none), and a dialog that does not end itself
// during its initialisation ends at once with -1, since no user can act
// in it.
//
// The host owns the records behind the handles it gives out; they live for
// one DoModal. It is used from one thread.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "platform/ui_host.h"

namespace vesk {

class CHeadlessHost final : public CUiHost {
 public:
  // `args` as the process received them, [0] being the program path.
  CHeadlessHost(const ResourceSet& resources, std::vector<std::string> args);
  ~CHeadlessHost() override;

  std::string GetModulePath() const override;
  std::vector<std::string> GetCommandLineArgs() const override { return m_args; }
  bool SlashStartsFlag() const override;
  bool CanShowWindows() const override { return false; }
  std::size_t MaxPathLength() const override;
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
  int ListGetCurSel(HostWindow) const override { return kListError; }
  int ListGetTextLen(HostWindow list, int index) const override;
  int ListGetText(HostWindow list, int index, char* buffer, std::size_t capacity) const override;
  void ListSetHorizontalExtent(HostWindow, int) override {}
  unsigned ButtonGetCheck(HostWindow button) const override;
  void ButtonSetCheck(HostWindow button, unsigned check) override;
  int MessageBox(HostWindow, std::string_view, std::string_view, unsigned) override;
  bool GetOpenFileName(COpenFileRequest&) override { return false; }
  bool GetSaveFileName(COpenFileRequest&) override { return false; }
  unsigned DragQueryFile(HostDrop, unsigned, char*, unsigned) override { return 0; }
  void DragFinish(HostDrop) override {}
  HostMenu GetSystemMenu(HostWindow, bool) override { return nullptr; }
  bool AppendMenu(HostMenu, unsigned, unsigned, std::string_view) override { return false; }
  void DefaultSysCommand(HostWindow, unsigned) override {}
  HostIcon LoadIcon(int) override { return nullptr; }
  void SetIcon(HostWindow, HostIcon, bool) override {}
  bool IsIconic(HostWindow) const override { return false; }
  int GetSystemMetrics(int) const override { return 0; }
  HostRect GetClientRect(HostWindow) const override { return {}; }
  HostDC BeginPaint(HostWindow) override { return nullptr; }
  void EndPaint(HostWindow, HostDC) override {}
  void EraseIconBackground(HostWindow, HostDC) override {}
  void DrawIcon(HostDC, int, int, HostIcon) override {}
  void DefaultPaint(HostWindow) override {}
  HostFont GetFont(HostWindow) const override { return nullptr; }
  HostDC GetDC(HostWindow) override { return nullptr; }
  HostFont SelectFont(HostDC, HostFont) override { return nullptr; }
  int GetTextExtent(HostDC, std::string_view) override { return 0; }
  void ReleaseDC(HostWindow, HostDC) override {}
  std::string LoadString(int id) const override;
  bool IsDBCSLeadByte(unsigned char byte) const override;
  bool IsSameFile(const char* first, const char* second) const override;

 private:
  struct Control;
  struct Dialog;

  Control* findControl(HostWindow handle) const;
  Control* findList(HostWindow handle) const;

  std::vector<std::string> m_args;
  unsigned m_codePage;
  std::unique_ptr<Dialog> m_dialog;  // the one being run, if any
};

}  // namespace vesk
