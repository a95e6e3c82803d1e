// CMemoryHost: a user interface kept entirely in memory.
//
// Implements CUiHost without any display: dialogs are built from their
// templates as plain control records (texts, list entries, selection,
// check marks, enabled state, icons, system menu), run their
// initialisation and are then driven by a script that stands in for the
// user: it drops or selects files, types into edits, presses buttons and
// check boxes, answers file dialogs from a queue and reads back what the
// dialog shows; message boxes are recorded with their caption and text.
// A dialog still open once its script has run (or that has none) ends
// with -1. Like the headless host of `vesk -F` (platform/headless/), it
// can show no windows unless told (SetCanShowWindows); the tests' shell
// runs tell it they can.
//
// The host owns every window, menu, icon, device context and drop it hands
// out; handles stay valid while their dialog is shown. Every handle passed
// in is checked, so a stale or foreign handle is ignored, never followed.
#pragma once

#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "platform/ui_host.h"

namespace vesk {

class CMemoryHost final : public CUiHost {
 public:
  // `args` as the process received them, [0] being the program path.
  CMemoryHost(const ResourceSet& resources, std::vector<std::string> args);
  ~CMemoryHost() override;

  // Set-up.
  void SetCanShowWindows(bool can) { m_canShowWindows = can; }
  void SetCodePage(unsigned codePage) { m_codePage = codePage; }
  void SetSlashStartsFlag(bool slashStartsFlag) { m_slashStartsFlag = slashStartsFlag; }
  // The path limit the host reports; MAX_PATH (260) unless set.
  void SetMaxPathLength(std::size_t length) { m_maxPathLength = length; }
  // The resolution of every window; 96 (100%) unless set.
  void SetDpi(int dpi) { m_dpi = dpi; }

  // The user: `script` runs each time the dialog of `templateId` is shown,
  // after its initialisation, and acts on it through the calls below.
  using UserScript = std::function<void(CMemoryHost&)>;
  void WhenShown(int templateId, UserScript script);
  // Answers for the next open- or save-file dialogs, in order: the chosen
  // full paths (several only for a multi-select dialog, all in one
  // directory), or a cancel. A dialog without a queued answer is
  // cancelled. The save dialog adds its default extension to a name
  // without one, as Windows does.
  void AnswerFileDialog(std::vector<std::string> paths);
  void CancelFileDialog();

  // Acting on the topmost dialog; false when the action is not possible
  // (no dialog, no such control, disabled, or the control refuses it).
  // Pressing a check box clicks it: its mark changes, then the dialog is
  // told.
  bool DropFiles(int controlId, const std::vector<std::string>& paths);
  bool SelectEntry(int listId, int index);
  bool TypeText(int editId, std::string_view text);
  bool PressButton(int controlId);
  bool ChooseSystemMenuItem(unsigned commandId);
  bool PressHelp();
  bool SetMinimized(bool minimized);
  bool Paint();
  HostIcon QueryDragIcon();

  // Observing the topmost dialog.
  int TopTemplateId() const;  // -1 when none is shown
  std::vector<std::string> ListEntries(int listId) const;
  int ListSelection(int listId) const;
  int ListHorizontalExtent(int listId) const;
  std::string ControlText(int controlId) const;
  bool IsControlEnabled(int controlId) const;
  bool IsChecked(int checkBoxId) const;
  int IconId(HostIcon icon) const;  // resource id of an icon handle, 0 for none
  HostIcon WindowIcon(bool big) const;
  struct MenuItem {
    unsigned flags;
    unsigned commandId;
    std::string text;
  };
  std::vector<MenuItem> SystemMenuItems() const;
  struct DrawnIcon {
    int x, y;
    HostIcon icon;
  };
  std::vector<DrawnIcon> DrawnIcons() const;
  int IconBackgroundErasures() const;
  int DefaultPaints() const;

  // Records over the host's life.
  struct ShownMessage {
    int ownerTemplateId;  // -1 without an owner dialog
    std::string caption;
    std::string text;
    unsigned flags;
  };
  const std::vector<ShownMessage>& Messages() const { return m_messages; }
  struct FileDialogRecord {
    bool save;  // the save dialog, else the open dialog
    int ownerTemplateId;
    std::string filter;  // with its zero bytes
    unsigned flags;
    std::string initialName;
    std::size_t bufferSize;
    bool hasDefaultExtension;
    bool hasInitialDirectory;
    std::string title, defaultExtension, initialDirectory;
  };
  const std::vector<FileDialogRecord>& FileDialogs() const { return m_fileDialogs; }
  struct ModalRun {
    int templateId;
    int ownerTemplateId;
    int result;
  };
  const std::vector<ModalRun>& ModalRuns() const { return m_modalRuns; }
  // Device contexts not yet released, drops the dialog did not release.
  int OpenDeviceContexts() const { return static_cast<int>(m_dcs.size()); }
  int UnreleasedDrops() const { return m_unreleasedDrops; }

  // Pixels of the dialog font: dialog units convert as on Windows, x by
  // kCharWidth / 4 and y by kCharHeight / 8; text measures kCharWidth per
  // byte in the dialog font and kSystemCharWidth in the stock font.
  static constexpr int kCharWidth = 6;
  static constexpr int kCharHeight = 12;
  static constexpr int kSystemCharWidth = 8;
  static constexpr int kIconSize = 32;

  // CUiHost
  std::string GetModulePath() const override;
  std::vector<std::string> GetCommandLineArgs() const override { return m_args; }
  bool SlashStartsFlag() const override { return m_slashStartsFlag; }
  bool CanShowWindows() const override { return m_canShowWindows; }
  std::size_t MaxPathLength() const override { return m_maxPathLength; }
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
  int GetDpiForWindow(HostWindow) const override { return m_dpi; }
  HostFont GetFont(HostWindow window) const override;
  HostDC GetDC(HostWindow window) override;
  HostFont SelectFont(HostDC dc, HostFont font) override;
  int GetTextExtent(HostDC dc, std::string_view text) override;
  void ReleaseDC(HostWindow window, HostDC dc) override;
  std::string LoadString(int id) const override;
  bool IsDBCSLeadByte(unsigned char byte) const override;
  bool IsSameFile(const char* first, const char* second) const override;

 private:
  struct Dialog;
  struct Window;
  struct Menu;
  struct Icon;
  struct Font;
  struct DeviceContext;
  struct Drop;
  struct FileAnswer {
    bool cancel;
    std::vector<std::string> paths;
  };

  Window* findWindow(HostWindow handle) const;
  Window* findControl(int controlId) const;  // on the topmost live dialog
  Dialog* topDialog() const;
  DeviceContext* findDC(HostDC handle) const;
  Font* findFont(HostFont handle) const;
  bool fileDialog(COpenFileRequest& request, bool save);
  bool fillFileBuffer(const FileAnswer& answer, COpenFileRequest& request) const;

  std::vector<std::string> m_args;
  bool m_canShowWindows = false;
  std::size_t m_maxPathLength = kMaxPath;
  int m_dpi = kDefaultDpi;
  bool m_slashStartsFlag;
  unsigned m_codePage;
  std::map<int, UserScript> m_scripts;
  std::vector<FileAnswer> m_fileAnswers;  // front is next
  std::vector<std::unique_ptr<Dialog>> m_dialogs;  // shown, innermost last
  std::map<int, std::unique_ptr<Icon>> m_icons;
  std::unique_ptr<Font> m_systemFont;
  std::unique_ptr<Font> m_dialogFont;
  std::vector<std::unique_ptr<DeviceContext>> m_dcs;
  std::vector<std::unique_ptr<Drop>> m_drops;
  int m_unreleasedDrops = 0;
  std::vector<ShownMessage> m_messages;
  std::vector<FileDialogRecord> m_fileDialogs;
  std::vector<ModalRun> m_modalRuns;
};

}  // namespace vesk
