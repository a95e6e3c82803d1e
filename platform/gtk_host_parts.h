// The inner records of CGtkHost, shared by its source files only.
//
// Every handle the host gives out is the address of one of these records;
// the records own their GTK objects (widgets through their toplevel,
// pixbufs, font descriptions) and live as long as their dialog, icons and
// the system font as long as the host.
#pragma once

#include <gtk/gtk.h>

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/dialog_units.h"
#include "platform/gtk_host.h"
#include "platform/host_dialog.h"

namespace vesk {

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
  bool grabbingFocus = false;          // focus alone does not select an entry

  bool isList() const { return control != nullptr && control->kind == ControlKind::kListBox; }
  bool isEdit() const { return control != nullptr && control->kind == ControlKind::kEdit; }
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
