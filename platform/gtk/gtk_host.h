// CGtkHost: the shell's windowing platform on GTK 3.
//
// Builds each modal dialog from its template as a GtkWindow holding a
// GtkFixed, with every control at its template rectangle converted from
// dialog units with the template font's metrics, as Windows places them.
// The template font is requested by name; where it is not installed,
// IPAPGothic, its metric-compatible substitute, takes its place so that
// the Japanese texts fit their controls. The list box is a one-column tree
// view in a scrolled window (unsorted, duplicates kept, its horizontal
// range set by the shell), the edit a GtkEntry, buttons GtkButtons and
// check boxes GtkCheckButtons with their mnemonics. Enter presses the default button, Escape and the close
// box are Cancel, Tab follows the template's order, and the items the
// shell appends to the system menu form a context menu of the dialog
// (right button, Shift+F10, the menu key or Alt+Space). Files dropped as
// "text/uri-list" reach the controls that accept files. The file dialog is
// GTK's native file chooser (in save mode for the save dialog), message
// boxes are modal GTK message dialogs.
//
// Texts are bytes: list entries and edit texts keep the exact bytes the
// shell gave them (file names need not be UTF-8) and are shown with
// invalid sequences replaced; resource texts are UTF-8 already.
//
// The host owns every GTK widget, font, icon, device context and drop it
// hands out; a handle stays valid while its dialog is shown and is checked
// on every call, so a stale handle is ignored. The environment variable
// VESK_GTK_REPORT names a file to which the host appends a snapshot of its
// windows (geometry, texts, state) when a dialog appears and on SIGUSR1;
// the window tests read it.
#pragma once

#include <gtk/gtk.h>

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/dialog_units.h"
#include "platform/host_dialog.h"
#include "platform/ui_host.h"

namespace vesk {

class CGtkHost final : public CUiHost {
 public:
  // Opens the display; null when it cannot be opened.
  static std::unique_ptr<CGtkHost> Create(const ResourceSet& resources,
                                          std::vector<std::string> args);
  ~CGtkHost() override;

  // CUiHost
  std::string GetModulePath() const override;
  std::vector<std::string> GetCommandLineArgs() const override { return m_args; }
  bool SlashStartsFlag() const override { return false; }
  bool CanShowWindows() const override { return true; }
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
  HostFont GetFont(HostWindow window) const override;
  HostDC GetDC(HostWindow window) override;
  HostFont SelectFont(HostDC dc, HostFont font) override;
  int GetTextExtent(HostDC dc, std::string_view text) override;
  void ReleaseDC(HostWindow window, HostDC dc) override;
  std::string LoadString(int id) const override;
  bool IsDBCSLeadByte(unsigned char byte) const override;
  bool IsSameFile(const char* first, const char* second) const override;

  // The family that stands for the template font: the font itself when
  // installed, else its substitute.
  const std::string& DialogFontFamily() const { return m_fontFamily; }

  struct Dialog;
  struct Window;
  struct Menu;
  struct Icon;
  struct Font;
  struct DeviceContext;
  struct Drop;

 private:
  CGtkHost(const ResourceSet& resources, std::vector<std::string> args);

  Window* findWindow(HostWindow handle) const;
  Dialog* findDialogOfMenu(HostMenu handle) const;
  DeviceContext* findDC(HostDC handle) const;
  Font* findFont(HostFont handle) const;
  Icon* findIcon(HostIcon handle) const;
  void buildDialog(Dialog& dialog);
  void buildControl(Dialog& dialog, Window& window);
  void connectDialogSignals(Dialog& dialog);
  void applyIcons(Dialog& dialog);
  void dropFiles(Window& target, std::vector<std::string> paths);
  void popUpSystemMenu(Dialog& dialog, const void* event);
  void moveFocus(Dialog& dialog, bool forward);
  bool onKeyPress(Dialog& dialog, const void* event);
  GtkFileChooserNative* newFileChooser(const COpenFileRequest& request,
                                       GtkFileChooserAction action, const char* defaultTitle);
  bool confirmReplace(GtkWindow* parent, const std::string& path);
  void writeReport(const char* reason) const;

  friend struct GtkHostSignals;

  std::vector<std::string> m_args;
  std::string m_fontFamily;
  std::string m_reportPath;
  std::vector<std::unique_ptr<Dialog>> m_dialogs;  // shown, innermost last
  std::vector<std::unique_ptr<Icon>> m_icons;
  std::unique_ptr<Font> m_systemFont;
  std::vector<std::unique_ptr<DeviceContext>> m_dcs;
  std::vector<std::unique_ptr<Drop>> m_drops;
  unsigned m_reportSignalSource = 0;
  mutable int m_reportSerial = 0;
};

// The inner records of the host, shared by its source files. Every handle
// the host gives out is the address of one of these records; the records
// own their GTK objects (widgets through their toplevel, pixbufs, font
// descriptions) and live as long as their dialog, icons and the system
// font as long as the host.
struct CGtkHost::Font {
  PangoFontDescription* description = nullptr;

  explicit Font(PangoFontDescription* owned) : description(owned) {}
  ~Font() {
    if (description != nullptr) pango_font_description_free(description);
  }
  Font(const Font&) = delete;
  Font& operator=(const Font&) = delete;
};

struct CGtkHost::Icon {
  int resourceId = 0;
  std::vector<GdkPixbuf*> images;  // largest first, owned

  ~Icon() {
    for (GdkPixbuf* image : images) g_object_unref(image);
  }
};

struct CGtkHost::Window {
  CGtkHost* host = nullptr;
  Dialog* dialog = nullptr;
  const DialogControl* control = nullptr;  // nullptr for the dialog itself
  GtkWidget* widget = nullptr;  // the toplevel, or the control's widget in the layout
  GtkWidget* inner = nullptr;   // the part that takes focus and input (the tree view of a list)
  // Edit: the bytes last set by the shell and how the entry showed them,
  // so that unchanged text is read back byte for byte.
  std::string text;
  std::string shownText;
  // List box: the entries' bytes, the model that shows them.
  std::vector<std::string> items;
  GtkListStore* store = nullptr;
  GtkTreeViewColumn* column = nullptr;
  int horizontalExtent = 0;
  bool hostChangingSelection = false;  // no notification while the host edits the list
  bool hostSettingCheck = false;       // nor while it sets a check box's mark
  bool grabbingFocus = false;          // focus alone does not select an entry

  bool isList() const { return control != nullptr && control->kind == ControlKind::kListBox; }
  bool isEdit() const { return control != nullptr && control->kind == ControlKind::kEdit; }
  bool isCheckBox() const {
    return control != nullptr && control->kind == ControlKind::kCheckBox;
  }
  bool hasStyle(unsigned style) const {
    return control != nullptr && (control->style & style) != 0;
  }
};

struct CGtkHost::Menu {
  struct Item {
    Dialog* dialog;
    unsigned commandId;
  };
  GtkWidget* menu = nullptr;  // attached to the dialog's toplevel, dies with it
  std::vector<std::unique_ptr<Item>> items;
};

struct CGtkHost::DeviceContext {
  Window* window = nullptr;
  Font* font = nullptr;
  cairo_t* cairo = nullptr;  // set while painting
};

struct CGtkHost::Drop {
  std::vector<std::string> paths;
  bool released = false;
};

struct CGtkHost::Dialog {
  const DialogTemplate* layout = nullptr;
  CHostDialog* handler = nullptr;
  HostWindow owner = nullptr;
  Window self;
  std::vector<std::unique_ptr<Window>> controls;
  GtkWidget* fixed = nullptr;
  GtkCssProvider* css = nullptr;
  std::unique_ptr<Font> font;
  DialogBaseUnits base;
  bool ended = false;
  bool closing = false;  // being torn down: signals are ignored
  int result = -1;
  bool iconified = false;
  bool reported = false;
  Menu systemMenu;
  Icon* bigIcon = nullptr;
  Icon* smallIcon = nullptr;
  cairo_t* paintCairo = nullptr;  // the draw signal's context while it runs

  bool live() const { return !ended && !closing; }
  bool hasSystemMenu() const { return (layout->style & dialog_style::kSystemMenu) != 0; }
};

template <typename Handle, typename Record>
Handle handleOf(Record* record) {
  return reinterpret_cast<Handle>(record);
}

// The text as GTK can show it: valid UTF-8, invalid bytes replaced.
std::string displayText(std::string_view bytes);

}  // namespace vesk
