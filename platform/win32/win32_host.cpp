// <windows.h> comes first: it maps names such as AppendMenu and
// MessageBox to their A/W variants by macro, and the host's header takes
// those macros back so that the member functions keep their own names.
#ifndef NOMINMAX
#define NOMINMAX
#endif
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>
#include <commdlg.h>
#include <shellapi.h>

#include "platform/win32/win32_host.h"

#include <algorithm>

#include "platform/dialog_units.h"
#include "platform/host_dialog.h"
#include "platform/same_file.h"
#include "platform/win32/win32_dialog_template.h"
#include "platform/win32/win32_resource_files.h"

namespace vesk {

namespace {

HWND toWindow(HostWindow window) { return reinterpret_cast<HWND>(window); }
HostWindow toHost(HWND window) { return reinterpret_cast<HostWindow>(window); }
HMENU toMenu(HostMenu menu) { return reinterpret_cast<HMENU>(menu); }
HICON toIcon(HostIcon icon) { return reinterpret_cast<HICON>(icon); }
HDC toDC(HostDC dc) { return reinterpret_cast<HDC>(dc); }
HDROP toDrop(HostDrop drop) { return reinterpret_cast<HDROP>(drop); }

HINSTANCE moduleInstance() { return GetModuleHandleA(nullptr); }

// A function of user32 that older versions of Windows lack, or nullptr.
template <typename Function>
Function user32Function(const char* name) {
  return reinterpret_cast<Function>(
      reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("user32.dll"), name)));
}

// The resolution Windows draws this process's windows at unless they say
// otherwise: the primary display's at logon.
int systemDpi() {
  if (const auto forSystem = user32Function<UINT(WINAPI*)()>("GetDpiForSystem")) {
    return static_cast<int>(forSystem());
  }
  HDC screen = ::GetDC(nullptr);
  const int dpi = screen != nullptr ? GetDeviceCaps(screen, LOGPIXELSY) : 0;
  if (screen != nullptr) ::ReleaseDC(nullptr, screen);
  return dpi > 0 ? dpi : kDefaultDpi;
}

// The resolution of the display `window` is on (per-monitor awareness,
// Windows 10 1607 on), else the system's.
int windowDpi(HWND window) {
  if (const auto forWindow = user32Function<UINT(WINAPI*)(HWND)>("GetDpiForWindow")) {
    if (const UINT dpi = forWindow(window); dpi > 0) return static_cast<int>(dpi);
  }
  return systemDpi();
}

// The previous window procedure of a control that takes dropped files.
constexpr char kPreviousProcProperty[] = "VeskPreviousWndProc";

// UTF-16 to the ANSI code page; characters it lacks become its default.
std::string ansiFromWide(const wchar_t* text, int length) {
  if (length <= 0) return {};
  const int size = WideCharToMultiByte(CP_ACP, 0, text, length, nullptr, 0, nullptr, nullptr);
  if (size <= 0) return {};
  std::string out(static_cast<std::size_t>(size), '\0');
  WideCharToMultiByte(CP_ACP, 0, text, length, out.data(), size, nullptr, nullptr);
  return out;
}

std::string ansiFromUtf8(std::string_view text) {
  if (text.empty()) return {};
  const int utf8Length = static_cast<int>(text.size());
  const int size = MultiByteToWideChar(CP_UTF8, 0, text.data(), utf8Length, nullptr, 0);
  if (size <= 0) return {};
  std::wstring wide(static_cast<std::size_t>(size), L'\0');
  MultiByteToWideChar(CP_UTF8, 0, text.data(), utf8Length, wide.data(), size);
  return ansiFromWide(wide.c_str(), size);
}

// Centres `window` over its owner, or over the work area without one; the
// template places the dialog at (0, 0).
void centreWindow(HWND window, HWND owner) {
  RECT area{};
  if (owner == nullptr || !::GetWindowRect(owner, &area) || ::IsIconic(owner)) {
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &area, 0);
  }
  RECT self{};
  ::GetWindowRect(window, &self);
  const LONG width = self.right - self.left;
  const LONG height = self.bottom - self.top;
  const LONG x = std::max<LONG>(area.left, area.left + (area.right - area.left - width) / 2);
  const LONG y = std::max<LONG>(area.top, area.top + (area.bottom - area.top - height) / 2);
  SetWindowPos(window, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

}  // namespace

struct CWin32Host::ModalRun {
  CWin32Host* host;
  CHostDialog* dialog;
  const DialogTemplate* layout;
  HWND window = nullptr;
  int dpi = kDefaultDpi;  // the resolution the dialog is laid out at
  bool ended = false;
  int result = -1;
  // Set by DefaultSysCommand and DefaultPaint while a handler runs: the
  // message then goes on to the dialog's default processing.
  bool defaultWanted = false;
};

struct CWin32Host::PaintRecord {
  HWND window;
  PAINTSTRUCT paint;
};

// The window procedures that carry Windows messages to the shell's dialog
// handlers.
struct Win32DialogRouting {
  using ModalRun = CWin32Host::ModalRun;

  static ModalRun* runOf(HWND dialog) {
    return reinterpret_cast<ModalRun*>(GetWindowLongPtrA(dialog, DWLP_USER));
  }

  // Runs `handler`; true when it asked for the default processing.
  template <typename Handler>
  static bool wantsDefault(ModalRun& run, Handler handler) {
    const bool outer = run.defaultWanted;
    run.defaultWanted = false;
    handler();
    const bool wanted = run.defaultWanted;
    run.defaultWanted = outer;
    return wanted;
  }

  // Files dropped on a control reach the control's window, not the
  // dialog: such controls get this procedure in front of their own.
  static LRESULT CALLBACK FileTargetProc(HWND window, UINT message, WPARAM wParam,
                                         LPARAM lParam) {
    const auto previous = reinterpret_cast<WNDPROC>(GetPropA(window, kPreviousProcProperty));
    if (message == WM_DROPFILES) {
      if (ModalRun* run = runOf(::GetParent(window))) {
        run->dialog->OnDropFiles(toHost(window), reinterpret_cast<HostDrop>(wParam));
        return 0;
      }
    }
    if (message == WM_NCDESTROY) {
      SetWindowLongPtrA(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(previous));
      RemovePropA(window, kPreviousProcProperty);
    }
    if (previous == nullptr) return DefWindowProcA(window, message, wParam, lParam);
    return CallWindowProcA(previous, window, message, wParam, lParam);
  }

  static void routeDroppedFiles(ModalRun& run) {
    for (const DialogControl& control : run.layout->controls) {
      if ((control.style & control_style::kAcceptFiles) == 0 || control.id == kIdStatic) continue;
      HWND target = ::GetDlgItem(run.window, control.id);
      if (target == nullptr) continue;
      const LONG_PTR previous = GetWindowLongPtrA(target, GWLP_WNDPROC);
      SetPropA(target, kPreviousProcProperty, reinterpret_cast<HANDLE>(previous));
      SetWindowLongPtrA(target, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&FileTargetProc));
    }
  }

  // The dialog manager lays the controls and their font out at the
  // display's resolution, and loads the icon of an icon control at the
  // size of the system's icons. What it cannot know is sized here: the
  // icons at the dialog's own resolution, and, once the dialog moves to a
  // display of another scale, the list boxes' scroll range, which was
  // measured in pixels of the old one.
  static void fitToDpi(ModalRun& run, int dpi) {
    // The dialog's children are its template's controls, in order.
    HWND child = ::GetWindow(run.window, GW_CHILD);
    for (const DialogControl& control : run.layout->controls) {
      if (child == nullptr) break;
      if (control.kind == ControlKind::kIcon) {
        if (HICON icon = toIcon(run.host->loadIconAtDpi(control.iconId, dpi))) {
          SendMessageA(child, STM_SETICON, reinterpret_cast<WPARAM>(icon), 0);
        }
      } else if (control.kind == ControlKind::kListBox && dpi != run.dpi) {
        const auto extent = static_cast<int>(SendMessageA(child, LB_GETHORIZONTALEXTENT, 0, 0));
        SendMessageA(child, LB_SETHORIZONTALEXTENT,
                     static_cast<WPARAM>(std::max(mulDiv(extent, dpi, run.dpi), 0)), 0);
      }
      child = ::GetWindow(child, GW_HWNDNEXT);
    }
    run.dpi = dpi;
  }

  static INT_PTR CALLBACK DialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_INITDIALOG) {
      auto* run = reinterpret_cast<ModalRun*>(lParam);
      SetWindowLongPtrA(window, DWLP_USER, lParam);
      run->window = window;
      run->dpi = windowDpi(window);
      run->dialog->AttachWindow(toHost(window));
      routeDroppedFiles(*run);
      fitToDpi(*run, run->dpi);
      return run->dialog->OnInitDialog() ? TRUE : FALSE;
    }
    ModalRun* run = runOf(window);
    if (run == nullptr) return FALSE;
    CHostDialog& dialog = *run->dialog;
    switch (message) {
      case WM_COMMAND:
        dialog.OnCommand(LOWORD(wParam), HIWORD(wParam),
                         toHost(reinterpret_cast<HWND>(lParam)));
        return TRUE;
      case WM_SYSCOMMAND:
        return wantsDefault(*run, [&] { dialog.OnSysCommand(static_cast<unsigned>(wParam)); })
                   ? FALSE
                   : TRUE;
      case WM_PAINT:
        return wantsDefault(*run, [&] { dialog.OnPaint(); }) ? FALSE : TRUE;
      case WM_QUERYDRAGICON:
        // One of the messages whose result a dialog procedure returns directly.
        return reinterpret_cast<INT_PTR>(dialog.OnQueryDragIcon());
      case WM_HELP:
        dialog.OnHelp();
        return TRUE;
      case WM_DROPFILES:
        dialog.OnDropFiles(toHost(window), reinterpret_cast<HostDrop>(wParam));
        return TRUE;
      case WM_DPICHANGED:
        fitToDpi(*run, LOWORD(wParam));
        return FALSE;  // the dialog manager moves the dialog and lays it out again
      default:
        return FALSE;
    }
  }
};

CWin32Host::CWin32Host(const ResourceSet& resources, std::vector<std::string> args)
    : CUiHost(resources), m_args(std::move(args)) {}

CWin32Host::~CWin32Host() {
  for (const auto& [key, icon] : m_icons) DestroyIcon(toIcon(icon));
}

bool CWin32Host::CanCreateWindows() {
  // A service's window station has no desktop that anybody sees.
  if (HWINSTA station = GetProcessWindowStation()) {
    USEROBJECTFLAGS flags{};
    if (GetUserObjectInformationA(station, UOI_FLAGS, &flags, sizeof flags, nullptr) &&
        (flags.dwFlags & WSF_VISIBLE) == 0) {
      return false;
    }
  }
  // Without a window driver (Wine without a display) creating fails.
  HWND probe = CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr,
                               moduleInstance(), nullptr);
  if (probe == nullptr) return false;
  DestroyWindow(probe);
  return true;
}

CWin32Host::ModalRun* CWin32Host::findRun(HostWindow window) const {
  for (ModalRun* run : m_runs) {
    if (toHost(run->window) == window) return run;
  }
  return nullptr;
}

std::string CWin32Host::GetModulePath() const {
  std::string path(MAX_PATH, '\0');
  for (;;) {
    const DWORD length =
        GetModuleFileNameA(nullptr, path.data(), static_cast<DWORD>(path.size()));
    if (length == 0) return m_args.empty() ? std::string() : m_args.front();
    if (length < path.size()) {
      path.resize(length);
      return path;
    }
    path.resize(path.size() * 2);  // cut: try again with more room
  }
}

int CWin32Host::DoModal(int templateId, CHostDialog& dialog, HostWindow owner) {
  const DialogTemplate* layout = Resources().findDialog(templateId);
  if (layout == nullptr) return -1;
  const std::vector<std::uint16_t> words = buildDialogTemplateEx(*layout);

  ModalRun run{this, &dialog, layout};
  m_runs.push_back(&run);
  HWND ownerWindow = toWindow(owner);
  HWND window = CreateDialogIndirectParamA(
      moduleInstance(), reinterpret_cast<LPCDLGTEMPLATEA>(words.data()), ownerWindow,
      &Win32DialogRouting::DialogProc, reinterpret_cast<LPARAM>(&run));
  if (window == nullptr) {
    m_runs.pop_back();
    dialog.AttachWindow(nullptr);
    return -1;
  }
  // A dialog that ended itself while it was initialised (automatic mode)
  // is never shown.
  if (!run.ended) {
    // As with any modal dialog, the owner takes no input meanwhile.
    const bool disableOwner = ownerWindow != nullptr && IsWindowEnabled(ownerWindow);
    if (disableOwner) ::EnableWindow(ownerWindow, FALSE);
    centreWindow(window, ownerWindow);
    ShowWindow(window, SW_SHOWNORMAL);
    MSG message{};
    while (!run.ended) {
      const BOOL got = GetMessageA(&message, nullptr, 0, 0);
      if (got == -1) break;
      if (got == 0) {
        // WM_QUIT ends this loop; the outer loop sees it again.
        PostQuitMessage(static_cast<int>(message.wParam));
        break;
      }
      if (!IsDialogMessageA(window, &message)) {
        TranslateMessage(&message);
        DispatchMessageA(&message);
      }
    }
    // Enabled again before the dialog goes, so that the owner is activated.
    if (disableOwner) ::EnableWindow(ownerWindow, TRUE);
  }
  SetWindowLongPtrA(window, DWLP_USER, 0);
  DestroyWindow(window);
  dialog.AttachWindow(nullptr);
  m_runs.pop_back();
  return run.ended ? run.result : -1;
}

void CWin32Host::EndDialog(HostWindow dialog, int result) {
  ModalRun* run = findRun(dialog);
  if (run == nullptr) return;
  run->ended = true;
  run->result = result;
  // Wakes the modal loop should it be waiting for a message.
  PostMessageA(run->window, WM_NULL, 0, 0);
}

HostWindow CWin32Host::GetDlgItem(HostWindow dialog, int controlId) const {
  return toHost(::GetDlgItem(toWindow(dialog), controlId));
}

HostWindow CWin32Host::GetParent(HostWindow window) const {
  return toHost(::GetParent(toWindow(window)));
}

int CWin32Host::GetDlgCtrlID(HostWindow window) const { return ::GetDlgCtrlID(toWindow(window)); }

void CWin32Host::SendCommand(HostWindow dialog, int controlId, int notifyCode,
                             HostWindow control) {
  SendMessageA(toWindow(dialog), WM_COMMAND,
               MAKEWPARAM(static_cast<WORD>(controlId), static_cast<WORD>(notifyCode)),
               reinterpret_cast<LPARAM>(toWindow(control)));
}

std::string CWin32Host::GetWindowText(HostWindow window) const {
  const int length = GetWindowTextLengthA(toWindow(window));
  if (length <= 0) return {};
  std::string text(static_cast<std::size_t>(length) + 1, '\0');
  const int copied = GetWindowTextA(toWindow(window), text.data(), length + 1);
  text.resize(static_cast<std::size_t>(std::max(copied, 0)));
  return text;
}

void CWin32Host::SetWindowText(HostWindow window, std::string_view text) {
  SetWindowTextA(toWindow(window), std::string(text).c_str());
}

void CWin32Host::EnableWindow(HostWindow window, bool enable) {
  ::EnableWindow(toWindow(window), enable ? TRUE : FALSE);
}

int CWin32Host::ListAddString(HostWindow list, std::string_view text) {
  const std::string entry(text);
  return static_cast<int>(
      SendMessageA(toWindow(list), LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(entry.c_str())));
}

void CWin32Host::ListResetContent(HostWindow list) {
  SendMessageA(toWindow(list), LB_RESETCONTENT, 0, 0);
}

int CWin32Host::ListGetCount(HostWindow list) const {
  return static_cast<int>(SendMessageA(toWindow(list), LB_GETCOUNT, 0, 0));
}

int CWin32Host::ListGetCurSel(HostWindow list) const {
  return static_cast<int>(SendMessageA(toWindow(list), LB_GETCURSEL, 0, 0));
}

int CWin32Host::ListGetTextLen(HostWindow list, int index) const {
  return static_cast<int>(
      SendMessageA(toWindow(list), LB_GETTEXTLEN, static_cast<WPARAM>(index), 0));
}

int CWin32Host::ListGetText(HostWindow list, int index, char* buffer,
                            std::size_t capacity) const {
  // LB_GETTEXT knows no capacity; the length (never less than the text's)
  // decides first whether it fits.
  const int length = ListGetTextLen(list, index);
  if (length < 0 || buffer == nullptr || static_cast<std::size_t>(length) >= capacity) {
    return kListError;
  }
  return static_cast<int>(SendMessageA(toWindow(list), LB_GETTEXT, static_cast<WPARAM>(index),
                                       reinterpret_cast<LPARAM>(buffer)));
}

void CWin32Host::ListSetHorizontalExtent(HostWindow list, int pixels) {
  SendMessageA(toWindow(list), LB_SETHORIZONTALEXTENT, static_cast<WPARAM>(std::max(pixels, 0)),
               0);
}

int CWin32Host::MessageBox(HostWindow owner, std::string_view text, std::string_view caption,
                           unsigned flags) {
  return MessageBoxA(toWindow(owner), std::string(text).c_str(), std::string(caption).c_str(),
                     flags);
}

unsigned CWin32Host::ButtonGetCheck(HostWindow button) const {
  return static_cast<unsigned>(SendMessageA(toWindow(button), BM_GETCHECK, 0, 0));
}

void CWin32Host::ButtonSetCheck(HostWindow button, unsigned check) {
  SendMessageA(toWindow(button), BM_SETCHECK, static_cast<WPARAM>(check), 0);
}

namespace {

// Runs GetOpenFileNameA or GetSaveFileNameA with the request.
template <typename FileDialog>
bool runFileDialog(COpenFileRequest& request, FileDialog show) {
  if (request.fileBuffer == nullptr || request.fileBufferSize == 0) return false;
  // The filter list ends with an empty text: two zero bytes at the end at
  // least, whatever the caller passed.
  std::string filter(request.filter);
  filter.append(2, '\0');
  // The dialog wants a full path; a relative one counts from the current
  // directory.
  std::string initialDirectory;
  if (request.initialDirectory != nullptr) {
    initialDirectory.assign(MAX_PATH, '\0');
    const DWORD length = GetFullPathNameA(request.initialDirectory, MAX_PATH,
                                          initialDirectory.data(), nullptr);
    initialDirectory.resize(length > 0 && length < MAX_PATH ? length : 0);
  }
  OPENFILENAMEA dialog{};
  dialog.lStructSize = sizeof dialog;
  dialog.hwndOwner = toWindow(request.owner);
  dialog.lpstrFilter = filter.c_str();
  dialog.nFilterIndex = 1;
  dialog.lpstrFile = request.fileBuffer;
  dialog.nMaxFile = static_cast<DWORD>(std::min<std::size_t>(request.fileBufferSize, 0x7FFFFFFF));
  dialog.lpstrTitle = request.title;
  dialog.Flags = request.flags;
  dialog.lpstrDefExt = request.defaultExtension;
  dialog.lpstrInitialDir = initialDirectory.empty() ? nullptr : initialDirectory.c_str();
  // Cancelled, failed and too small for the selection all return FALSE.
  return show(&dialog) != FALSE;
}

}  // namespace

bool CWin32Host::GetOpenFileName(COpenFileRequest& request) {
  return runFileDialog(request, GetOpenFileNameA);
}

bool CWin32Host::GetSaveFileName(COpenFileRequest& request) {
  return runFileDialog(request, GetSaveFileNameA);
}

unsigned CWin32Host::DragQueryFile(HostDrop drop, unsigned index, char* buffer,
                                   unsigned capacity) {
  return DragQueryFileA(toDrop(drop), index, buffer, capacity);
}

void CWin32Host::DragFinish(HostDrop drop) { ::DragFinish(toDrop(drop)); }

HostMenu CWin32Host::GetSystemMenu(HostWindow window, bool revert) {
  return reinterpret_cast<HostMenu>(::GetSystemMenu(toWindow(window), revert ? TRUE : FALSE));
}

bool CWin32Host::AppendMenu(HostMenu menu, unsigned flags, unsigned commandId,
                            std::string_view text) {
  if (flags & kMfSeparator) {
    return AppendMenuA(toMenu(menu), flags, commandId, nullptr) != FALSE;
  }
  return AppendMenuA(toMenu(menu), flags, commandId, std::string(text).c_str()) != FALSE;
}

void CWin32Host::DefaultSysCommand(HostWindow window, unsigned commandId) {
  if (ModalRun* run = findRun(window)) {
    run->defaultWanted = true;  // the dialog procedure passes the message on
    return;
  }
  DefWindowProcA(toWindow(window), WM_SYSCOMMAND, commandId, 0);
}

HostIcon CWin32Host::LoadIcon(int resourceId) { return loadIconAtDpi(resourceId, systemDpi()); }

HostIcon CWin32Host::loadIconAtDpi(int resourceId, int dpi) {
  const std::pair key{resourceId, dpi};
  if (const auto known = m_icons.find(key); known != m_icons.end()) return known->second;
  const IconResource* table = Resources().findIcon(resourceId);
  if (table == nullptr || table->images.empty()) return nullptr;
  // The largest image gives the size at 100%: 128 serves as the 32 x 32
  // icon, 129 as the 16 x 16 one (LoadIconA would stretch it to the large
  // size). At other scales Windows stretches the image nearest in size.
  const IconImage& image = table->images.front();
  const int width = mulDiv(image.width, dpi, kDefaultDpi);
  const int height = mulDiv(image.height, dpi, kDefaultDpi);
  if (width <= 0 || height <= 0) return nullptr;
  HICON icon = static_cast<HICON>(LoadImageA(moduleInstance(), MAKEINTRESOURCEA(resourceId),
                                             IMAGE_ICON, width, height, LR_DEFAULTCOLOR));
  if (icon == nullptr) {
    std::string bits = iconImageBits(image);
    icon = CreateIconFromResourceEx(reinterpret_cast<PBYTE>(bits.data()),
                                    static_cast<DWORD>(bits.size()), TRUE, 0x00030000, width,
                                    height, LR_DEFAULTCOLOR);
  }
  if (icon == nullptr) return nullptr;
  const auto handle = reinterpret_cast<HostIcon>(icon);
  m_icons.emplace(key, handle);
  return handle;
}

void CWin32Host::SetIcon(HostWindow window, HostIcon icon, bool big) {
  SendMessageA(toWindow(window), WM_SETICON, big ? ICON_BIG : ICON_SMALL,
               reinterpret_cast<LPARAM>(toIcon(icon)));
}

bool CWin32Host::IsIconic(HostWindow window) const { return ::IsIconic(toWindow(window)) != 0; }

int CWin32Host::GetSystemMetrics(int index) const { return ::GetSystemMetrics(index); }

HostRect CWin32Host::GetClientRect(HostWindow window) const {
  RECT client{};
  ::GetClientRect(toWindow(window), &client);
  return HostRect{client.left, client.top, client.right, client.bottom};
}

HostDC CWin32Host::BeginPaint(HostWindow window) {
  auto record = std::make_unique<PaintRecord>();
  record->window = toWindow(window);
  HDC dc = ::BeginPaint(record->window, &record->paint);
  if (dc == nullptr) return nullptr;
  m_paints.push_back(std::move(record));
  return reinterpret_cast<HostDC>(dc);
}

void CWin32Host::EndPaint(HostWindow window, HostDC dc) {
  const auto found = std::find_if(m_paints.begin(), m_paints.end(), [&](const auto& record) {
    return record->window == toWindow(window) && record->paint.hdc == toDC(dc);
  });
  if (found == m_paints.end()) return;
  ::EndPaint((*found)->window, &(*found)->paint);
  m_paints.erase(found);
}

void CWin32Host::EraseIconBackground(HostWindow window, HostDC dc) {
  SendMessageA(toWindow(window), WM_ICONERASEBKGND, reinterpret_cast<WPARAM>(toDC(dc)), 0);
}

void CWin32Host::DrawIcon(HostDC dc, int x, int y, HostIcon icon) {
  ::DrawIcon(toDC(dc), x, y, toIcon(icon));
}

void CWin32Host::DefaultPaint(HostWindow window) {
  if (ModalRun* run = findRun(window)) {
    run->defaultWanted = true;
    return;
  }
  // Outside a dialog's paint handler: just validate, as painting nothing does.
  ValidateRect(toWindow(window), nullptr);
}

int CWin32Host::GetDpiForWindow(HostWindow window) const { return windowDpi(toWindow(window)); }

HostFont CWin32Host::GetFont(HostWindow window) const {
  return reinterpret_cast<HostFont>(SendMessageA(toWindow(window), WM_GETFONT, 0, 0));
}

HostDC CWin32Host::GetDC(HostWindow window) {
  return reinterpret_cast<HostDC>(::GetDC(toWindow(window)));
}

HostFont CWin32Host::SelectFont(HostDC dc, HostFont font) {
  if (dc == nullptr || font == nullptr) return nullptr;
  return reinterpret_cast<HostFont>(SelectObject(toDC(dc), reinterpret_cast<HGDIOBJ>(font)));
}

int CWin32Host::GetTextExtent(HostDC dc, std::string_view text) {
  SIZE size{};
  if (dc == nullptr ||
      !GetTextExtentPoint32A(toDC(dc), text.data(), static_cast<int>(text.size()), &size)) {
    return 0;
  }
  return size.cx;
}

void CWin32Host::ReleaseDC(HostWindow window, HostDC dc) {
  if (dc != nullptr) ::ReleaseDC(toWindow(window), toDC(dc));
}

std::string CWin32Host::LoadString(int id) const {
  // With a zero buffer size LoadStringW hands out the resource's own
  // UTF-16 text (not zero-terminated) and its length.
  const wchar_t* text = nullptr;
  const int length = LoadStringW(moduleInstance(), static_cast<UINT>(id),
                                 reinterpret_cast<LPWSTR>(&text), 0);
  if (length > 0 && text != nullptr) return ansiFromWide(text, length);
  const StringResource* entry = Resources().findString(id);
  return entry != nullptr ? ansiFromUtf8(entry->text) : std::string();
}

bool CWin32Host::IsDBCSLeadByte(unsigned char byte) const { return ::IsDBCSLeadByte(byte) != 0; }

bool CWin32Host::IsSameFile(const char* first, const char* second) const {
  return pathsNameSameFile(first, second);
}

}  // namespace vesk
