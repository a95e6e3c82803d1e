// The snapshot report of CGtkHost (VESK_GTK_REPORT), read by the window
// tests: what GTK itself shows, one tab-separated record a line.
//
//   snapshot  <serial> <reason>
//   dialog    <id> <font family> <base x> <base y> <client width> <client height> <title>
//   control   <dialog id> <control id> <index> <x> <y> <width> <height> <sensitive> <focused>
//             <checked> <text width> <text>
//   row       <dialog id> <control id> <index> <selected> <text>
//   message   <title> <text> <secondary text>
//   end       <serial>
//
// Geometry is in pixels relative to the dialog's client area, as GTK
// allocated it; texts are as the widgets show them, with tabs and line
// ends turned into spaces.
#include <cstdio>

#include "platform/gtk/gtk_host.h"

namespace vesk {

namespace {

std::string field(const char* text) {
  std::string value = text != nullptr ? text : "";
  for (char& c : value) {
    if (c == '\t' || c == '\n' || c == '\r') c = ' ';
  }
  return value;
}

int layoutWidth(PangoLayout* layout) {
  int width = 0;
  if (layout != nullptr) pango_layout_get_pixel_size(layout, &width, nullptr);
  return width;
}

}  // namespace

void CGtkHost::writeReport(const char* reason) const {
  if (m_reportPath.empty()) return;
  std::FILE* out = std::fopen(m_reportPath.c_str(), "a");
  if (out == nullptr) return;
  const int serial = ++m_reportSerial;
  std::fprintf(out, "snapshot\t%d\t%s\n", serial, reason);
  for (const auto& dialog : m_dialogs) {
    if (!dialog->live()) continue;
    const int id = dialog->layout->id;
    GtkAllocation client;
    gtk_widget_get_allocation(dialog->fixed, &client);
    std::fprintf(out, "dialog\t%d\t%s\t%d\t%d\t%d\t%d\t%s\n", id, m_fontFamily.c_str(),
                 dialog->base.x, dialog->base.y, client.width, client.height,
                 field(gtk_window_get_title(GTK_WINDOW(dialog->self.widget))).c_str());
    GtkWidget* focus = gtk_window_get_focus(GTK_WINDOW(dialog->self.widget));
    int index = 0;
    for (const auto& control : dialog->controls) {
      GtkWidget* widget = control->widget;
      int x = 0;
      int y = 0;
      gtk_widget_translate_coordinates(widget, dialog->fixed, 0, 0, &x, &y);
      GtkAllocation allocation;
      gtk_widget_get_allocation(widget, &allocation);
      std::string text;
      int textWidth = 0;
      GtkWidget* label = nullptr;
      if (GTK_IS_LABEL(widget)) label = widget;
      if (GTK_IS_BUTTON(widget)) label = gtk_bin_get_child(GTK_BIN(widget));
      if (label != nullptr && GTK_IS_LABEL(label)) {
        text = field(gtk_label_get_text(GTK_LABEL(label)));
        textWidth = layoutWidth(gtk_label_get_layout(GTK_LABEL(label)));
      } else if (GTK_IS_ENTRY(widget)) {
        text = field(gtk_entry_get_text(GTK_ENTRY(widget)));
        textWidth = layoutWidth(gtk_entry_get_layout(GTK_ENTRY(widget)));
      }
      const bool focused = control->inner != nullptr && control->inner == focus;
      const bool checked = GTK_IS_TOGGLE_BUTTON(widget) &&
                           gtk_toggle_button_get_active(GTK_TOGGLE_BUTTON(widget));
      std::fprintf(out, "control\t%d\t%d\t%d\t%d\t%d\t%d\t%d\t%d\t%d\t%d\t%d\t%s\n", id,
                   control->control->id, index++, x, y, allocation.width, allocation.height,
                   gtk_widget_is_sensitive(widget) ? 1 : 0, focused ? 1 : 0, checked ? 1 : 0,
                   textWidth, text.c_str());
      if (!control->isList()) continue;
      GtkTreeModel* model = GTK_TREE_MODEL(control->store);
      GtkTreeSelection* selection = gtk_tree_view_get_selection(GTK_TREE_VIEW(control->inner));
      GtkTreeIter row;
      int rowIndex = 0;
      for (gboolean more = gtk_tree_model_get_iter_first(model, &row); more;
           more = gtk_tree_model_iter_next(model, &row)) {
        gchar* shown = nullptr;
        gtk_tree_model_get(model, &row, 0, &shown, -1);
        std::fprintf(out, "row\t%d\t%d\t%d\t%d\t%s\n", id, control->control->id, rowIndex++,
                     gtk_tree_selection_iter_is_selected(selection, &row) ? 1 : 0,
                     field(shown).c_str());
        g_free(shown);
      }
    }
  }
  GList* toplevels = gtk_window_list_toplevels();
  for (GList* entry = toplevels; entry != nullptr; entry = entry->next) {
    GtkWidget* window = GTK_WIDGET(entry->data);
    if (!GTK_IS_MESSAGE_DIALOG(window) || !gtk_widget_get_mapped(window)) continue;
    gchar* text = nullptr;
    gchar* secondary = nullptr;
    g_object_get(window, "text", &text, "secondary-text", &secondary, nullptr);
    std::fprintf(out, "message\t%s\t%s\t%s\n",
                 field(gtk_window_get_title(GTK_WINDOW(window))).c_str(), field(text).c_str(),
                 field(secondary).c_str());
    g_free(text);
    g_free(secondary);
  }
  g_list_free(toplevels);
  std::fprintf(out, "end\t%d\n", serial);
  std::fclose(out);
}

}  // namespace vesk
