// CUiHost: the windowing platform as the application shell sees it.
//
// One abstract interface over the application framework and the user
// interface: start-up facts (module path, arguments), modal dialogs built
// from the resource tables, controls by id, list box, check box and edit
// operations, message boxes, the open- and save-file dialogs, dropped
// files, the system menu, icons, text measuring, string resources, the
// active code page and the same-file test. The operations follow the
// Windows calls they stand for (GetDlgItem, SendMessageA with LB_* and
// BM_*, GetOpenFileNameA, GetSaveFileNameA, DragQueryFileA, MessageBoxA,
// ...) and keep their results, so that a Win32 backend maps them one to
// one and other backends imitate them.
//
// Handles are opaque: the backend owns every window, menu, icon, device
// context, font and drop behind them; the shell only passes them back.
// Texts are bytes of the active code page; resource texts are converted by
// LoadString, so the shell never sees the tables' UTF-8 directly.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "platform/resource_data.h"

// <windows.h> maps several of these operation names to their A/W variants
// by macro; a backend calls the A functions by their full names anyway.
#ifdef _WIN32
#undef AppendMenu
#undef DragQueryFile
#undef GetOpenFileName
#undef GetSaveFileName
#undef GetWindowText
#undef LoadIcon
#undef LoadString
#undef MessageBox
#undef SetWindowText
#endif

namespace vesk {

class CHostDialog;

struct HostWindowObject;
struct HostMenuObject;
struct HostIconObject;
struct HostDCObject;
struct HostFontObject;
struct HostDropObject;
using HostWindow = HostWindowObject*;
using HostMenu = HostMenuObject*;
using HostIcon = HostIconObject*;
using HostDC = HostDCObject*;
using HostFont = HostFontObject*;
using HostDrop = HostDropObject*;

struct HostRect {
  int left = 0, top = 0, right = 0, bottom = 0;
  int width() const { return right - left; }
  int height() const { return bottom - top; }
};

// Codes with the values Windows gives them.
inline constexpr int kListError = -1;           // LB_ERR
inline constexpr int kNotifyButtonClicked = 0;  // BN_CLICKED
inline constexpr int kNotifyListSelChange = 1;  // LBN_SELCHANGE
inline constexpr unsigned kDragQueryCount = 0xFFFFFFFFu;
inline constexpr unsigned kMbOk = 0x0000;
inline constexpr unsigned kMbIconExclamation = 0x0030;
inline constexpr unsigned kMbIconInformation = 0x0040;
inline constexpr unsigned kBstUnchecked = 0;  // BST_UNCHECKED
inline constexpr unsigned kBstChecked = 1;    // BST_CHECKED
inline constexpr unsigned kOfnOverwritePrompt = 0x00000002;
inline constexpr unsigned kOfnHideReadOnly = 0x00000004;
inline constexpr unsigned kOfnAllowMultiSelect = 0x00000200;
inline constexpr unsigned kOfnPathMustExist = 0x00000800;
inline constexpr unsigned kOfnFileMustExist = 0x00001000;
inline constexpr unsigned kOfnNoReadOnlyReturn = 0x00008000;
inline constexpr unsigned kOfnExplorer = 0x00080000;
inline constexpr unsigned kMfString = 0x0000;
inline constexpr unsigned kMfSeparator = 0x0800;
inline constexpr unsigned kScClose = 0xF060;
// The resolution of a display at 100% (USER_DEFAULT_SCREEN_DPI).
inline constexpr int kDefaultDpi = 96;
inline constexpr int kSmCxIcon = 11;
inline constexpr int kSmCyIcon = 12;
// Room for one path with its terminating zero (MAX_PATH).
inline constexpr std::size_t kMaxPath = 260;

#ifdef _WIN32
inline constexpr char kNativePathSeparator = '\\';
#else
inline constexpr char kNativePathSeparator = '/';
#endif

// The parameters of the open- and the save-file dialog (OPENFILENAMEA,
// reduced to what is used).
struct COpenFileRequest {
  HostWindow owner = nullptr;
  // The dialog's caption; none: the platform's own.
  const char* title = nullptr;
  // Description and pattern pairs, each text zero-terminated, the list
  // ended by an empty text.
  std::string_view filter;
  unsigned flags = 0;
  // In: the initial file name (zero-terminated). Out: the full path of a
  // single selection, or, with kOfnAllowMultiSelect, the directory and then
  // each name, every text zero-terminated and the list ended by an empty
  // text.
  char* fileBuffer = nullptr;
  std::size_t fileBufferSize = 0;
  // Without its dot ("csv"); the save dialog adds it to a name typed
  // without any extension.
  const char* defaultExtension = nullptr;
  // A relative directory is taken from the current one.
  const char* initialDirectory = nullptr;
};

class CUiHost {
 public:
  virtual ~CUiHost() = default;

  // Start-up.
  virtual std::string GetModulePath() const = 0;
  // The process arguments split by the platform's rules; [0] is the program.
  virtual std::vector<std::string> GetCommandLineArgs() const = 0;
  // Whether an argument beginning with '/' is a flag (Windows) rather than
  // a path (POSIX).
  virtual bool SlashStartsFlag() const = 0;
  // False where no window can be shown at all (no display).
  virtual bool CanShowWindows() const = 0;
  // Room for one path with its terminating zero: MAX_PATH on Windows, the
  // system's own limit (PATH_MAX) on POSIX. The shell sizes its path
  // buffers from it.
  virtual std::size_t MaxPathLength() const { return kMaxPath; }
  const ResourceSet& Resources() const { return m_resources; }

  // Modal dialogs. DoModal builds the dialog from template `templateId`,
  // attaches it to `dialog`, calls its OnInitDialog and runs until
  // EndDialog; it returns the end result, -1 when the dialog cannot be shown.
  virtual int DoModal(int templateId, CHostDialog& dialog, HostWindow owner) = 0;
  virtual void EndDialog(HostWindow dialog, int result) = 0;
  virtual HostWindow GetDlgItem(HostWindow dialog, int controlId) const = 0;
  virtual HostWindow GetParent(HostWindow window) const = 0;
  virtual int GetDlgCtrlID(HostWindow window) const = 0;
  // WM_COMMAND to `dialog`, as a control sends it to its parent.
  virtual void SendCommand(HostWindow dialog, int controlId, int notifyCode,
                           HostWindow control) = 0;

  // Window text and state.
  virtual std::string GetWindowText(HostWindow window) const = 0;
  virtual void SetWindowText(HostWindow window, std::string_view text) = 0;
  virtual void EnableWindow(HostWindow window, bool enable) = 0;

  // List box messages; results as the messages return them.
  virtual int ListAddString(HostWindow list, std::string_view text) = 0;  // index or -1
  virtual void ListResetContent(HostWindow list) = 0;
  virtual int ListGetCount(HostWindow list) const = 0;
  virtual int ListGetCurSel(HostWindow list) const = 0;  // -1 when none
  virtual int ListGetTextLen(HostWindow list, int index) const = 0;
  // Copies the entry's text and a terminating zero into `buffer`; returns
  // its length, or -1 for a bad index or a text that does not fit
  // `capacity` bytes (nothing is written then).
  virtual int ListGetText(HostWindow list, int index, char* buffer,
                          std::size_t capacity) const = 0;
  virtual void ListSetHorizontalExtent(HostWindow list, int pixels) = 0;

  // Button messages: BM_GETCHECK and BM_SETCHECK (kBstUnchecked or
  // kBstChecked) of a check box; setting sends no notification, and any
  // other button reads as unchecked.
  virtual unsigned ButtonGetCheck(HostWindow button) const = 0;
  virtual void ButtonSetCheck(HostWindow button, unsigned check) = 0;

  // Message box owned by `owner`; returns the button pressed.
  virtual int MessageBox(HostWindow owner, std::string_view text, std::string_view caption,
                         unsigned flags) = 0;

  // The common open-file dialog; true when the user confirmed a choice
  // that fits the buffer.
  virtual bool GetOpenFileName(COpenFileRequest& request) = 0;
  // The common save-file dialog: one name, chosen or typed (a new one
  // too), the default extension added where none was typed; with
  // kOfnOverwritePrompt it asks before an existing file is replaced. True
  // when the user confirmed a name that fits the buffer.
  virtual bool GetSaveFileName(COpenFileRequest& request) = 0;

  // Dropped files. Index kDragQueryCount returns the count; otherwise the
  // path is copied (cut to capacity - 1 bytes, zero-terminated) and its
  // length returned.
  virtual unsigned DragQueryFile(HostDrop drop, unsigned index, char* buffer,
                                 unsigned capacity) = 0;
  virtual void DragFinish(HostDrop drop) = 0;

  // System menu, nullptr when the window has none.
  virtual HostMenu GetSystemMenu(HostWindow window, bool revert) = 0;
  virtual bool AppendMenu(HostMenu menu, unsigned flags, unsigned commandId,
                          std::string_view text) = 0;
  virtual void DefaultSysCommand(HostWindow window, unsigned commandId) = 0;

  // Icons and painting.
  virtual HostIcon LoadIcon(int resourceId) = 0;
  virtual void SetIcon(HostWindow window, HostIcon icon, bool big) = 0;
  virtual bool IsIconic(HostWindow window) const = 0;
  virtual int GetSystemMetrics(int index) const = 0;
  virtual HostRect GetClientRect(HostWindow window) const = 0;
  virtual HostDC BeginPaint(HostWindow window) = 0;
  virtual void EndPaint(HostWindow window, HostDC dc) = 0;
  virtual void EraseIconBackground(HostWindow window, HostDC dc) = 0;  // WM_ICONERASEBKGND
  virtual void DrawIcon(HostDC dc, int x, int y, HostIcon icon) = 0;
  virtual void DefaultPaint(HostWindow window) = 0;

  // Text measuring. The font of a dialog's controls and the sizes measured
  // in it are in the pixels of the window's resolution: GetDpiForWindow,
  // 96 at 100%, 144 at 150%. Hosts whose pixels are the toolkit's own,
  // scaled by the toolkit, answer 96.
  virtual int GetDpiForWindow(HostWindow window) const {
    (void)window;
    return kDefaultDpi;
  }
  virtual HostFont GetFont(HostWindow window) const = 0;  // WM_GETFONT
  virtual HostDC GetDC(HostWindow window) = 0;
  virtual HostFont SelectFont(HostDC dc, HostFont font) = 0;  // returns the previous font
  virtual int GetTextExtent(HostDC dc, std::string_view text) = 0;  // width in pixels
  virtual void ReleaseDC(HostWindow window, HostDC dc) = 0;

  // String resource `id` in the active code page; empty when absent.
  virtual std::string LoadString(int id) const = 0;
  // Whether `byte` begins a double-byte character in the active code page.
  virtual bool IsDBCSLeadByte(unsigned char byte) const = 0;
  // Whether both paths name one existing file on disk.
  virtual bool IsSameFile(const char* first, const char* second) const = 0;

 protected:
  explicit CUiHost(const ResourceSet& resources) : m_resources(resources) {}

 private:
  const ResourceSet& m_resources;
};

}  // namespace vesk
