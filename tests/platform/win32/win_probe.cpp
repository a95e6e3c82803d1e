// win_probe: a test-only Windows program that looks at and acts on the
// windows of another process, for the window tests that run vesk.exe
// under Wine. Windows are found by caption ("=text" for the whole caption,
// otherwise its beginning); texts are printed as UTF-8, one line each.
//
//   win_probe wait CAPTION [SECONDS]      wait until the window is shown
//   win_probe gone CAPTION [SECONDS]      wait until no such window is shown
//   win_probe dump CAPTION                caption, then every control:
//                                         "control ID CLASS ENABLED TEXT",
//                                         list box entries "item ID INDEX TEXT",
//                                         check boxes' marks "check ID 0|1"
//   win_probe centre CAPTION ID           screen point at the control's centre
//   win_probe command CAPTION ID          post WM_COMMAND (a click) for ID
//   win_probe syscommand CAPTION CODE     post WM_SYSCOMMAND CODE
//   win_probe drop CAPTION ID PATH...     drop files on control ID
//   win_probe clipped CAPTION FONT POINTS every shown control against the
//                                         dialog's client area, and its
//                                         text against its own room in the
//                                         dialog font FONT POINTS at the
//                                         window's resolution: "dpi N", then
//                                         one line a control, "ok ..." or
//                                         "CLIPPED ... why"; exits 1 when
//                                         any is clipped
//
// The drop is a real WM_DROPFILES: the DROPFILES block is written into the
// target process, where DragQueryFileA and DragFinish find it as they find
// the shell's (a fixed-memory handle is its own address).
//
// The probe is per-monitor DPI aware, so that it sees the coordinates and
// sizes of the display's own pixels, as an aware program draws them.
#include <windows.h>
#include <shellapi.h>
#include <shlobj.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

namespace {

std::string utf8(const std::wstring& text) {
  if (text.empty()) return {};
  const int size = WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()),
                                       nullptr, 0, nullptr, nullptr);
  std::string out(static_cast<std::size_t>(size), '\0');
  WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), out.data(), size,
                      nullptr, nullptr);
  return out;
}

// WM_GETTEXT rather than GetWindowTextW: for a window of another process
// the latter returns only the stored caption, never an edit's contents.
std::wstring windowText(HWND window) {
  DWORD_PTR length = 0;
  if (!SendMessageTimeoutW(window, WM_GETTEXTLENGTH, 0, 0, SMTO_ABORTIFHUNG, 2000, &length)) {
    return {};
  }
  std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
  DWORD_PTR copied = 0;
  SendMessageTimeoutW(window, WM_GETTEXT, static_cast<WPARAM>(length + 1),
                      reinterpret_cast<LPARAM>(text.data()), SMTO_ABORTIFHUNG, 2000, &copied);
  text.resize(wcslen(text.c_str()));
  return text;
}

void printLine(const std::string& line) {
  std::fwrite(line.data(), 1, line.size(), stdout);
  std::fputc('\n', stdout);
}

struct Search {
  std::wstring caption;
  bool whole;
  HWND found;
};

BOOL CALLBACK matchWindow(HWND window, LPARAM parameter) {
  auto& search = *reinterpret_cast<Search*>(parameter);
  if (!IsWindowVisible(window)) return TRUE;
  const std::wstring text = windowText(window);
  const bool match = search.whole ? text == search.caption
                                  : text.compare(0, search.caption.size(), search.caption) == 0;
  if (!match) return TRUE;
  search.found = window;
  return FALSE;
}

HWND findWindow(const std::wstring& caption) {
  Search search{caption, false, nullptr};
  if (!caption.empty() && caption[0] == L'=') {
    search.caption = caption.substr(1);
    search.whole = true;
  }
  EnumWindows(matchWindow, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

bool waitFor(const std::wstring& caption, double seconds, bool present) {
  const DWORD start = GetTickCount();
  for (;;) {
    if ((findWindow(caption) != nullptr) == present) return true;
    if (GetTickCount() - start > static_cast<DWORD>(seconds * 1000)) return false;
    Sleep(100);
  }
}

std::wstring className(HWND window) {
  wchar_t name[64] = {};
  GetClassNameW(window, name, 64);
  return name;
}

BOOL CALLBACK dumpControl(HWND control, LPARAM) {
  const int id = GetDlgCtrlID(control);
  const std::wstring kind = className(control);
  std::string line = "control " + std::to_string(id) + " " + utf8(kind) + " " +
                     (IsWindowEnabled(control) ? "1" : "0") + " " + utf8(windowText(control));
  printLine(line);
  const LONG_PTR type = GetWindowLongPtrW(control, GWL_STYLE) & BS_TYPEMASK;
  if (_wcsicmp(kind.c_str(), L"Button") == 0 && (type == BS_AUTOCHECKBOX || type == BS_CHECKBOX)) {
    const LRESULT checked = SendMessageW(control, BM_GETCHECK, 0, 0);
    printLine("check " + std::to_string(id) + " " + std::to_string(checked));
  }
  if (_wcsicmp(kind.c_str(), L"ListBox") == 0) {
    const LRESULT count = SendMessageW(control, LB_GETCOUNT, 0, 0);
    for (LRESULT i = 0; i < count; ++i) {
      const LRESULT length = SendMessageW(control, LB_GETTEXTLEN, static_cast<WPARAM>(i), 0);
      if (length < 0) continue;
      std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
      SendMessageW(control, LB_GETTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(text.data()));
      text.resize(wcslen(text.c_str()));
      printLine("item " + std::to_string(id) + " " + std::to_string(i) + " " + utf8(text));
    }
  }
  return TRUE;
}

// Posts WM_DROPFILES with `paths` (ANSI) to `target` of another process.
bool dropFiles(HWND target, const std::vector<std::string>& paths) {
  std::vector<char> block(sizeof(DROPFILES), '\0');
  for (const std::string& path : paths) {
    block.insert(block.end(), path.begin(), path.end());
    block.push_back('\0');
  }
  block.push_back('\0');
  DROPFILES header{};
  header.pFiles = sizeof(DROPFILES);
  header.fWide = FALSE;
  std::memcpy(block.data(), &header, sizeof header);

  DWORD processId = 0;
  GetWindowThreadProcessId(target, &processId);
  HANDLE process = OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_WRITE, FALSE, processId);
  if (process == nullptr) return false;
  void* remote = VirtualAllocEx(process, nullptr, block.size(), MEM_COMMIT | MEM_RESERVE,
                                PAGE_READWRITE);
  const bool written = remote != nullptr &&
                       WriteProcessMemory(process, remote, block.data(), block.size(), nullptr);
  CloseHandle(process);
  return written && PostMessageW(target, WM_DROPFILES, reinterpret_cast<WPARAM>(remote), 0);
}

// --- clipping ----------------------------------------------------------------
//
// A control is clipped when it reaches past the dialog's client area, or
// when its text needs more room than the control leaves it. Texts are
// measured as the controls draw them, with DrawText in the dialog's font:
// the dialog manager gives every control the template's font, made at the
// window's resolution (the font's handle is of no use in another process,
// so the font is made again here from its name and size).

struct Room {
  int width, height;
};

// A control's text measured where it has `room`: its width and height.
Room textExtent(HDC dc, const std::wstring& text, Room room, bool wraps) {
  RECT box{0, 0, room.width, 0};
  DrawTextW(dc, text.c_str(), -1, &box, DT_CALCRECT | (wraps ? DT_WORDBREAK : DT_SINGLELINE));
  return {box.right - box.left, box.bottom - box.top};
}

bool fits(Room need, Room room) { return need.width <= room.width && need.height <= room.height; }

std::string sizeText(Room size) {
  return std::to_string(size.width) + "x" + std::to_string(size.height);
}

struct ClipCheck {
  HWND dialog;
  HDC dc;  // with the dialog font selected
  UINT dpi;
  int clipped = 0;
};

// Why `control` is clipped, or "" when it is not; `detail` gets its sizes.
std::string clipReason(ClipCheck& check, HWND control, std::string& detail) {
  RECT client{};
  GetClientRect(check.dialog, &client);
  RECT box{};
  GetWindowRect(control, &box);
  MapWindowPoints(nullptr, check.dialog, reinterpret_cast<POINT*>(&box), 2);
  detail = std::to_string(box.left) + "," + std::to_string(box.top) + " " +
           sizeText({box.right - box.left, box.bottom - box.top});
  if (box.left < client.left || box.top < client.top || box.right > client.right ||
      box.bottom > client.bottom) {
    return "reaches past the client area " + sizeText({client.right, client.bottom});
  }

  RECT inside{};
  GetClientRect(control, &inside);
  const Room own{inside.right, inside.bottom};
  const std::wstring kind = className(control);
  const std::wstring text = windowText(control);
  const LONG style = GetWindowLongW(control, GWL_STYLE);
  const int edgeX = GetSystemMetricsForDpi(SM_CXEDGE, check.dpi);
  const int edgeY = GetSystemMetricsForDpi(SM_CYEDGE, check.dpi);
  Room room = own;
  bool wraps = false;
  if (_wcsicmp(kind.c_str(), L"Static") == 0) {
    const LONG type = style & SS_TYPEMASK;
    if (type == SS_ICON) {
      const Room icon{GetSystemMetricsForDpi(SM_CXICON, check.dpi),
                      GetSystemMetricsForDpi(SM_CYICON, check.dpi)};
      detail += " icon";
      if (own.width != icon.width || own.height != icon.height) {
        return "the icon is " + sizeText(own) + ", the display's icons " + sizeText(icon);
      }
      return "";
    }
    if (type != SS_LEFT && type != SS_CENTER && type != SS_RIGHT && type != SS_SIMPLE &&
        type != SS_LEFTNOWORDWRAP) {
      return "";  // frames and pictures: no text
    }
    wraps = type == SS_LEFT || type == SS_CENTER || type == SS_RIGHT;
  } else if (_wcsicmp(kind.c_str(), L"Button") == 0) {
    const LONG type = style & BS_TYPEMASK;
    if (type == BS_OWNERDRAW) return "";
    // The frame and the focus rectangle take an edge on each side; a check
    // box or a radio button also its box and the gap after it.
    room = {own.width - 2 * edgeX, own.height - 2 * edgeY};
    const bool pushLike = type == BS_PUSHBUTTON || type == BS_DEFPUSHBUTTON ||
                          type == BS_GROUPBOX || (style & BS_PUSHLIKE) != 0;
    if (!pushLike) room.width -= GetSystemMetricsForDpi(SM_CXMENUCHECK, check.dpi) + edgeX;
    wraps = (style & BS_MULTILINE) != 0;
  } else if (_wcsicmp(kind.c_str(), L"Edit") == 0) {
    // One line of text must show whole.
    const Room line = textExtent(check.dc, L"Ag", own, false);
    detail += " line " + sizeText(line);
    return line.height <= own.height ? "" : "a line of text is higher than the edit";
  } else if (_wcsicmp(kind.c_str(), L"ListBox") == 0) {
    // Every entry can be scrolled into view: the scroll range (or the
    // list's width) covers the widest.
    int widest = 0;
    const LRESULT count = SendMessageW(control, LB_GETCOUNT, 0, 0);
    for (LRESULT i = 0; i < count; ++i) {
      const LRESULT length = SendMessageW(control, LB_GETTEXTLEN, static_cast<WPARAM>(i), 0);
      if (length < 0) continue;
      std::wstring entry(static_cast<std::size_t>(length) + 1, L'\0');
      SendMessageW(control, LB_GETTEXT, static_cast<WPARAM>(i),
                   reinterpret_cast<LPARAM>(entry.data()));
      entry.resize(wcslen(entry.c_str()));
      SIZE size{};
      GetTextExtentPoint32W(check.dc, entry.c_str(), static_cast<int>(entry.size()), &size);
      widest = std::max(widest, static_cast<int>(size.cx));
    }
    const int range = static_cast<int>(SendMessageW(control, LB_GETHORIZONTALEXTENT, 0, 0));
    detail += " widest " + std::to_string(widest) + " range " + std::to_string(range);
    if (widest <= std::max(range, own.width)) return "";
    return "the scroll range ends before the widest entry";
  } else {
    return "";
  }
  if (text.empty()) return "";
  const Room need = textExtent(check.dc, text, room, wraps);
  detail += " text " + sizeText(need) + " in " + sizeText(room);
  return fits(need, room) ? "" : "the text does not fit";
}

BOOL CALLBACK checkControl(HWND control, LPARAM parameter) {
  auto& check = *reinterpret_cast<ClipCheck*>(parameter);
  if (GetParent(control) != check.dialog || !IsWindowVisible(control)) return TRUE;
  std::string detail;
  const std::string reason = clipReason(check, control, detail);
  if (!reason.empty()) ++check.clipped;
  // An icon control's text names its resource.
  const bool icon = detail.ends_with(" icon");
  printLine((reason.empty() ? "ok " : "CLIPPED ") + std::to_string(GetDlgCtrlID(control)) + " " +
            utf8(className(control)) + " " + detail +
            (icon ? "" : " " + utf8(windowText(control))) + (reason.empty() ? "" : ": " + reason));
  return TRUE;
}

int checkClipping(HWND dialog, const std::wstring& fontName, int points) {
  // The font's size is in pixels: any device context measures it alike.
  ClipCheck check{dialog, GetDC(nullptr), GetDpiForWindow(dialog)};
  HFONT font = CreateFontW(-MulDiv(points, static_cast<int>(check.dpi), 72), 0, 0, 0, FW_DONTCARE,
                           FALSE, FALSE, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                           CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH, fontName.c_str());
  HGDIOBJ previous = SelectObject(check.dc, font);
  printLine("dpi " + std::to_string(check.dpi));
  EnumChildWindows(dialog, checkControl, reinterpret_cast<LPARAM>(&check));
  SelectObject(check.dc, previous);
  DeleteObject(font);
  ReleaseDC(nullptr, check.dc);
  return check.clipped == 0 ? 0 : 1;
}

int usage() {
  std::fprintf(stderr,
               "usage: win_probe wait|gone|dump|centre|command|syscommand|drop|clipped ...\n");
  return 2;
}

}  // namespace

int main() {
  SetProcessDpiAwarenessContext(DPI_AWARENESS_CONTEXT_PER_MONITOR_AWARE_V2);
  int count = 0;
  LPWSTR* wide = CommandLineToArgvW(GetCommandLineW(), &count);
  std::vector<std::wstring> args(wide, wide + count);
  LocalFree(wide);
  // The ANSI form of the paths, as the program under test receives them.
  std::vector<std::string> ansi;
  for (const std::wstring& arg : args) {
    const int size = WideCharToMultiByte(CP_ACP, 0, arg.c_str(), -1, nullptr, 0, nullptr, nullptr);
    std::string text(static_cast<std::size_t>(size > 0 ? size : 1), '\0');
    WideCharToMultiByte(CP_ACP, 0, arg.c_str(), -1, text.data(), size, nullptr, nullptr);
    text.resize(std::strlen(text.c_str()));
    ansi.push_back(text);
  }
  if (args.size() < 3) return usage();
  const std::wstring& verb = args[1];
  const std::wstring& caption = args[2];
  const double seconds = args.size() > 3 ? _wtof(args[3].c_str()) : 15.0;
  if (verb == L"wait") return waitFor(caption, seconds, true) ? 0 : 1;
  if (verb == L"gone") return waitFor(caption, seconds, false) ? 0 : 1;

  HWND window = findWindow(caption);
  if (window == nullptr) {
    std::fprintf(stderr, "win_probe: no window %s\n", utf8(caption).c_str());
    return 1;
  }
  if (verb == L"dump") {
    printLine("caption " + utf8(windowText(window)));
    EnumChildWindows(window, dumpControl, 0);
    return 0;
  }
  if (args.size() < 4) return usage();
  if (verb == L"clipped") {
    return args.size() < 5 ? usage() : checkClipping(window, args[3], _wtoi(args[4].c_str()));
  }
  const int id = _wtoi(args[3].c_str());
  if (verb == L"syscommand") {
    return PostMessageW(window, WM_SYSCOMMAND, static_cast<WPARAM>(id), 0) ? 0 : 1;
  }
  HWND control = GetDlgItem(window, id);
  if (control == nullptr) {
    std::fprintf(stderr, "win_probe: no control %d\n", id);
    return 1;
  }
  if (verb == L"centre") {
    RECT box{};
    GetWindowRect(control, &box);
    std::printf("%ld %ld\n", (box.left + box.right) / 2, (box.top + box.bottom) / 2);
    return 0;
  }
  if (verb == L"command") {
    return PostMessageW(window, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
                        reinterpret_cast<LPARAM>(control))
               ? 0
               : 1;
  }
  if (verb == L"drop") {
    return dropFiles(control, std::vector<std::string>(ansi.begin() + 4, ansi.end())) ? 0 : 1;
  }
  return usage();
}
