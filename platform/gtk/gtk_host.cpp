#include "platform/gtk/gtk_host.h"

#include <fontconfig/fontconfig.h>
#include <glib-unix.h>
#include <unistd.h>

#include <algorithm>
#include <climits>
#include <csignal>
#include <cstring>

#include "platform/mnemonic_text.h"
#include "platform/same_file.h"
#include "platform/text_buffers.h"
#include "platform/uri_list.h"

namespace vesk {

namespace {

// Metric-compatible stand-in for the Japanese Windows dialog font, which
// Linux systems lack and for which fontconfig knows no alias.
constexpr const char* kSubstituteFontFamily = "IPAPGothic";
constexpr unsigned kScMinimize = 0xF020;
constexpr int kSmCxSmallIcon = 49;
constexpr int kSmCySmallIcon = 50;
constexpr int kLargeIconSize = 32;
constexpr int kSmallIconSize = 16;

bool fontFamilyInstalled(const std::string& family) {
  if (FcInit() == FcFalse) return false;
  FcPattern* pattern = FcPatternCreate();
  FcPatternAddString(pattern, FC_FAMILY, reinterpret_cast<const FcChar8*>(family.c_str()));
  FcObjectSet* objects = FcObjectSetBuild(FC_FAMILY, static_cast<char*>(nullptr));
  FcFontSet* fonts = FcFontList(nullptr, pattern, objects);
  const bool found = fonts != nullptr && fonts->nfont > 0;
  if (fonts != nullptr) FcFontSetDestroy(fonts);
  FcObjectSetDestroy(objects);
  FcPatternDestroy(pattern);
  return found;
}

GdkPixbuf* pixbufOf(const IconImage& image) {
  GdkPixbuf* pixbuf = gdk_pixbuf_new(GDK_COLORSPACE_RGB, TRUE, 8, image.width, image.height);
  if (pixbuf == nullptr) return nullptr;
  guchar* pixels = gdk_pixbuf_get_pixels(pixbuf);
  const int stride = gdk_pixbuf_get_rowstride(pixbuf);
  for (int y = 0; y < image.height; ++y) {
    const std::string_view row =
        static_cast<std::size_t>(y) < image.rows.size() ? image.rows[static_cast<std::size_t>(y)]
                                                        : std::string_view();
    guchar* out = pixels + static_cast<std::ptrdiff_t>(y) * stride;
    for (int x = 0; x < image.width; ++x, out += 4) {
      const int index =
          static_cast<std::size_t>(x) < row.size() ? iconPaletteIndex(row[static_cast<std::size_t>(x)]) : -1;
      const std::uint32_t rgb = index >= 0 ? kIconPalette[index] : 0;
      out[0] = static_cast<guchar>(rgb >> 16);
      out[1] = static_cast<guchar>(rgb >> 8);
      out[2] = static_cast<guchar>(rgb);
      out[3] = index >= 0 ? 255 : 0;
    }
  }
  return pixbuf;
}

bool isTabStop(const CGtkHost::Window& window) {
  return window.hasStyle(control_style::kTabStop) && window.inner != nullptr &&
         gtk_widget_is_sensitive(window.widget) && gtk_widget_get_visible(window.widget);
}

}  // namespace

std::string displayText(std::string_view bytes) {
  if (g_utf8_validate(bytes.data(), static_cast<gssize>(bytes.size()), nullptr) &&
      bytes.find('\0') == std::string_view::npos) {
    return std::string(bytes);
  }
  gchar* valid = g_utf8_make_valid(bytes.data(), static_cast<gssize>(bytes.size()));
  std::string text(valid);
  g_free(valid);
  return text;
}

// The GTK signal handlers: each receives the record it was connected with.
struct GtkHostSignals {
  static void buttonClicked(GtkButton*, gpointer data) {
    auto* window = static_cast<CGtkHost::Window*>(data);
    if (!window->dialog->live() || window->hostSettingCheck) return;
    window->dialog->handler->OnCommand(window->control->id, kNotifyButtonClicked,
                                       handleOf<HostWindow>(window));
  }

  static void selectionChanged(GtkTreeSelection*, gpointer data) {
    auto* window = static_cast<CGtkHost::Window*>(data);
    if (!window->dialog->live() || window->hostChangingSelection) return;
    if (!window->hasStyle(control_style::kNotify)) return;
    window->dialog->handler->OnCommand(window->control->id, kNotifyListSelChange,
                                       handleOf<HostWindow>(window));
  }

  // A tree view that gets the focus without a cursor row selects its first
  // row; a list box only shows the focus. The selection function refuses
  // selections while the focus moves in.
  static gboolean mayChangeSelection(GtkTreeSelection*, GtkTreeModel*, GtkTreePath*,
                                     gboolean selected, gpointer data) {
    auto* window = static_cast<CGtkHost::Window*>(data);
    return selected || !window->grabbingFocus;
  }
  static void focusGrabStarts(GtkWidget*, gpointer data) {
    static_cast<CGtkHost::Window*>(data)->grabbingFocus = true;
  }
  static void focusGrabEnds(GtkWidget*, gpointer data) {
    static_cast<CGtkHost::Window*>(data)->grabbingFocus = false;
  }

  static void filesDropped(GtkWidget*, GdkDragContext*, gint, gint, GtkSelectionData* selection,
                           guint, guint, gpointer data) {
    auto* window = static_cast<CGtkHost::Window*>(data);
    CGtkHost& host = *window->host;
    // Only the dialog that has the input takes drops, as a disabled
    // owner window refuses them on Windows.
    if (!window->dialog->live() || host.m_dialogs.empty() ||
        host.m_dialogs.back().get() != window->dialog) {
      return;
    }
    const gint length = gtk_selection_data_get_length(selection);
    const guchar* bytes = gtk_selection_data_get_data(selection);
    if (length <= 0 || bytes == nullptr) return;
    const std::string_view list(reinterpret_cast<const char*>(bytes),
                                static_cast<std::size_t>(length));
    const char* hostName = g_get_host_name();
    host.dropFiles(*window, localPathsFromUriList(list, hostName != nullptr ? hostName : ""));
  }

  static gboolean deleteRequested(GtkWidget*, GdkEvent*, gpointer data) {
    auto* dialog = static_cast<CGtkHost::Dialog*>(data);
    // The close box is the system menu's Close command; the dialog decides.
    if (dialog->live()) dialog->handler->OnSysCommand(kScClose);
    return TRUE;
  }

  static gboolean keyPressed(GtkWidget*, GdkEventKey* event, gpointer data) {
    auto* dialog = static_cast<CGtkHost::Dialog*>(data);
    return dialog->self.host->onKeyPress(*dialog, event) ? TRUE : FALSE;
  }

  static gboolean buttonPressed(GtkWidget*, GdkEventButton* event, gpointer data) {
    auto* dialog = static_cast<CGtkHost::Dialog*>(data);
    if (event->type != GDK_BUTTON_PRESS || event->button != GDK_BUTTON_SECONDARY) return FALSE;
    dialog->self.host->popUpSystemMenu(*dialog, event);
    return TRUE;
  }

  static gboolean stateChanged(GtkWidget*, GdkEventWindowState* event, gpointer data) {
    auto* dialog = static_cast<CGtkHost::Dialog*>(data);
    dialog->iconified = (event->new_window_state & GDK_WINDOW_STATE_ICONIFIED) != 0;
    return FALSE;
  }

  static gboolean reportWhenShown(gpointer data) {
    static_cast<CGtkHost*>(data)->writeReport("shown");
    return G_SOURCE_REMOVE;
  }

  static gboolean drawn(GtkWidget*, cairo_t* cairo, gpointer data) {
    auto* dialog = static_cast<CGtkHost::Dialog*>(data);
    if (!dialog->live()) return FALSE;
    dialog->paintCairo = cairo;
    dialog->handler->OnPaint();
    dialog->paintCairo = nullptr;
    if (!dialog->reported && !dialog->self.host->m_reportPath.empty()) {
      dialog->reported = true;
      g_idle_add(reportWhenShown, dialog->self.host);
    }
    return FALSE;  // GTK draws the dialog itself
  }

  static void menuItemActivated(GtkMenuItem*, gpointer data) {
    auto* item = static_cast<CGtkHost::Menu::Item*>(data);
    if (item->dialog->live()) item->dialog->handler->OnSysCommand(item->commandId);
  }

  static gboolean reportRequested(gpointer data) {
    static_cast<CGtkHost*>(data)->writeReport("signal");
    return G_SOURCE_CONTINUE;
  }
};

// --- creation --------------------------------------------------------------

std::unique_ptr<CGtkHost> CGtkHost::Create(const ResourceSet& resources,
                                           std::vector<std::string> args) {
  // GTK may take its own options out of the copy; the shell sees them all.
  std::vector<char*> argv;
  for (std::string& arg : args) argv.push_back(arg.data());
  argv.push_back(nullptr);
  std::vector<std::string> kept = args;
  int argc = static_cast<int>(args.size());
  char** argvPointer = argv.data();
  if (!gtk_init_check(&argc, &argvPointer)) return nullptr;
  return std::unique_ptr<CGtkHost>(new CGtkHost(resources, std::move(kept)));
}

CGtkHost::CGtkHost(const ResourceSet& resources, std::vector<std::string> args)
    : CUiHost(resources), m_args(std::move(args)) {
  const DialogTemplate* main = resources.dialogs.empty() ? nullptr : &resources.dialogs.front();
  const std::string wanted = main != nullptr ? std::string(main->fontName) : std::string();
  m_fontFamily = !wanted.empty() && fontFamilyInstalled(wanted) ? wanted : kSubstituteFontFamily;

  GtkSettings* settings = gtk_settings_get_default();
  gchar* fontName = nullptr;
  if (settings != nullptr) g_object_get(settings, "gtk-font-name", &fontName, nullptr);
  m_systemFont = std::make_unique<Font>(
      pango_font_description_from_string(fontName != nullptr ? fontName : "Sans 10"));
  g_free(fontName);

  if (const char* report = g_getenv("VESK_GTK_REPORT"); report != nullptr && *report != '\0') {
    m_reportPath = report;
    m_reportSignalSource = g_unix_signal_add(SIGUSR1, GtkHostSignals::reportRequested, this);
  }
}

CGtkHost::~CGtkHost() {
  if (m_reportSignalSource != 0) g_source_remove(m_reportSignalSource);
}

std::string CGtkHost::GetModulePath() const {
  std::string path(PATH_MAX, '\0');
  const ssize_t length = readlink("/proc/self/exe", path.data(), path.size() - 1);
  if (length > 0) {
    path.resize(static_cast<std::size_t>(length));
    return path;
  }
  return m_args.empty() ? std::string() : m_args.front();
}

std::size_t CGtkHost::MaxPathLength() const { return PATH_MAX; }

// --- lookups ---------------------------------------------------------------

CGtkHost::Window* CGtkHost::findWindow(HostWindow handle) const {
  if (handle == nullptr) return nullptr;
  for (const auto& dialog : m_dialogs) {
    if (handleOf<HostWindow>(&dialog->self) == handle) return &dialog->self;
    for (const auto& control : dialog->controls) {
      if (handleOf<HostWindow>(control.get()) == handle) return control.get();
    }
  }
  return nullptr;
}

CGtkHost::Dialog* CGtkHost::findDialogOfMenu(HostMenu handle) const {
  for (const auto& dialog : m_dialogs) {
    if (handleOf<HostMenu>(&dialog->systemMenu) == handle) return dialog.get();
  }
  return nullptr;
}

CGtkHost::DeviceContext* CGtkHost::findDC(HostDC handle) const {
  for (const auto& dc : m_dcs) {
    if (handleOf<HostDC>(dc.get()) == handle) return dc.get();
  }
  return nullptr;
}

CGtkHost::Font* CGtkHost::findFont(HostFont handle) const {
  if (handleOf<HostFont>(m_systemFont.get()) == handle) return m_systemFont.get();
  for (const auto& dialog : m_dialogs) {
    if (handleOf<HostFont>(dialog->font.get()) == handle) return dialog->font.get();
  }
  return nullptr;
}

CGtkHost::Icon* CGtkHost::findIcon(HostIcon handle) const {
  for (const auto& icon : m_icons) {
    if (handleOf<HostIcon>(icon.get()) == handle) return icon.get();
  }
  return nullptr;
}

// --- building a dialog -----------------------------------------------------

void CGtkHost::buildDialog(Dialog& dialog) {
  const DialogTemplate& layout = *dialog.layout;
  GtkWidget* toplevel = gtk_window_new(GTK_WINDOW_TOPLEVEL);
  dialog.self.widget = toplevel;
  dialog.self.inner = toplevel;
  GtkWindow* window = GTK_WINDOW(toplevel);
  gtk_window_set_title(window, displayText(layout.caption).c_str());
  gtk_window_set_resizable(window, FALSE);
  gtk_window_set_modal(window, TRUE);
  gtk_window_set_type_hint(window, GDK_WINDOW_TYPE_HINT_DIALOG);
  if (Window* owner = findWindow(dialog.owner)) {
    gtk_window_set_transient_for(window, GTK_WINDOW(owner->dialog->self.widget));
    gtk_window_set_position(window, GTK_WIN_POS_CENTER_ON_PARENT);
  } else {
    gtk_window_set_position(window, GTK_WIN_POS_CENTER);
  }
  if ((layout.style & dialog_style::kAppWindow) == 0) gtk_window_set_skip_taskbar_hint(window, TRUE);

  // The template font for every control of this dialog, and controls that
  // keep to their template size: GTK's theme would otherwise pad buttons,
  // check boxes and entries beyond it.
  const std::string styleClass = "vesk-dialog-" + std::to_string(layout.id);
  gtk_style_context_add_class(gtk_widget_get_style_context(toplevel), styleClass.c_str());
  const std::string scope = "window." + styleClass;
  const std::string css = scope + " * { font-family: \"" + m_fontFamily + "\"; font-size: " +
                          std::to_string(layout.fontPointSize) + "pt; }\n" + scope +
                          " button { padding: 0 2px; min-height: 0; min-width: 0; }\n" + scope +
                          " entry { padding-top: 0; padding-bottom: 0; min-height: 0; }\n" +
                          scope + " checkbutton { padding: 0; min-height: 0; }\n" + scope +
                          " checkbutton check { margin: 0 4px 0 0; }\n";
  dialog.css = gtk_css_provider_new();
  gtk_css_provider_load_from_data(dialog.css, css.c_str(), -1, nullptr);
  gtk_style_context_add_provider_for_screen(gtk_widget_get_screen(toplevel),
                                            GTK_STYLE_PROVIDER(dialog.css),
                                            GTK_STYLE_PROVIDER_PRIORITY_APPLICATION);

  PangoFontDescription* description = pango_font_description_new();
  pango_font_description_set_family(description, m_fontFamily.c_str());
  pango_font_description_set_size(description, layout.fontPointSize * PANGO_SCALE);
  dialog.font = std::make_unique<Font>(description);

  // Base units from the font as this screen renders it.
  PangoLayout* measure = gtk_widget_create_pango_layout(toplevel, kDialogUnitAlphabet);
  pango_layout_set_font_description(measure, description);
  int alphabetWidth = 0;
  pango_layout_get_pixel_size(measure, &alphabetWidth, nullptr);
  PangoFontMetrics* metrics =
      pango_context_get_metrics(pango_layout_get_context(measure), description, nullptr);
  const int height = PANGO_PIXELS_CEIL(pango_font_metrics_get_ascent(metrics) +
                                       pango_font_metrics_get_descent(metrics));
  pango_font_metrics_unref(metrics);
  g_object_unref(measure);
  dialog.base = baseUnitsFromFont(alphabetWidth, height);

  dialog.fixed = gtk_fixed_new();
  const HostRect client = dialogUnitsToPixels(0, 0, layout.width, layout.height, dialog.base);
  gtk_widget_set_size_request(dialog.fixed, client.width(), client.height());
  gtk_container_add(GTK_CONTAINER(toplevel), dialog.fixed);
  for (const auto& control : dialog.controls) buildControl(dialog, *control);
  connectDialogSignals(dialog);
}

void CGtkHost::buildControl(Dialog& dialog, Window& window) {
  const DialogControl& control = *window.control;
  HostRect rect = dialogUnitsToPixels(control.x, control.y, control.width, control.height,
                                      dialog.base);
  const std::string text = displayText(control.text);
  switch (control.kind) {
    case ControlKind::kListBox: {
      GtkWidget* scrolled = gtk_scrolled_window_new(nullptr, nullptr);
      GtkScrolledWindow* scroll = GTK_SCROLLED_WINDOW(scrolled);
      gtk_scrolled_window_set_policy(
          scroll,
          window.hasStyle(control_style::kHorizontalScroll) ? GTK_POLICY_AUTOMATIC : GTK_POLICY_NEVER,
          window.hasStyle(control_style::kVerticalScroll) ? GTK_POLICY_AUTOMATIC : GTK_POLICY_NEVER);
      gtk_scrolled_window_set_overlay_scrolling(scroll, FALSE);
      gtk_scrolled_window_set_shadow_type(
          scroll, window.hasStyle(control_style::kBorder) ? GTK_SHADOW_IN : GTK_SHADOW_NONE);
      window.store = gtk_list_store_new(1, G_TYPE_STRING);
      GtkWidget* view = gtk_tree_view_new_with_model(GTK_TREE_MODEL(window.store));
      g_object_unref(window.store);  // the view holds it
      GtkTreeView* tree = GTK_TREE_VIEW(view);
      gtk_tree_view_set_headers_visible(tree, FALSE);
      gtk_tree_view_set_enable_search(tree, FALSE);
      GtkCellRenderer* renderer = gtk_cell_renderer_text_new();
      window.column = gtk_tree_view_column_new_with_attributes("", renderer, "text", 0, nullptr);
      // The scroll range is what the shell sets as horizontal extent; the
      // column fills the visible width when that is wider.
      gtk_tree_view_column_set_sizing(window.column, GTK_TREE_VIEW_COLUMN_FIXED);
      gtk_tree_view_column_set_fixed_width(window.column, 1);
      gtk_tree_view_column_set_expand(window.column, TRUE);
      gtk_tree_view_append_column(tree, window.column);
      GtkTreeSelection* selection = gtk_tree_view_get_selection(tree);
      gtk_tree_selection_set_mode(selection, GTK_SELECTION_SINGLE);
      gtk_tree_selection_set_select_function(selection, GtkHostSignals::mayChangeSelection,
                                             &window, nullptr);
      g_signal_connect(selection, "changed", G_CALLBACK(GtkHostSignals::selectionChanged),
                       &window);
      g_signal_connect(view, "grab-focus", G_CALLBACK(GtkHostSignals::focusGrabStarts), &window);
      g_signal_connect_after(view, "grab-focus", G_CALLBACK(GtkHostSignals::focusGrabEnds),
                             &window);
      gtk_container_add(GTK_CONTAINER(scrolled), view);
      if (window.hasStyle(control_style::kAcceptFiles)) {
        static const GtkTargetEntry kUriList = {const_cast<gchar*>("text/uri-list"), 0, 0};
        gtk_drag_dest_set(scrolled, GTK_DEST_DEFAULT_ALL, &kUriList, 1, GDK_ACTION_COPY);
        g_signal_connect(scrolled, "drag-data-received",
                         G_CALLBACK(GtkHostSignals::filesDropped), &window);
      }
      window.widget = scrolled;
      window.inner = view;
      break;
    }
    case ControlKind::kPushButton:
    case ControlKind::kDefPushButton: {
      GtkWidget* button = gtk_button_new_with_mnemonic(gtkMnemonicText(text).c_str());
      g_signal_connect(button, "clicked", G_CALLBACK(GtkHostSignals::buttonClicked), &window);
      if (control.kind == ControlKind::kDefPushButton) {
        gtk_widget_set_can_default(button, TRUE);
        gtk_window_set_default(GTK_WINDOW(dialog.self.widget), button);
      }
      window.widget = window.inner = button;
      window.text = std::string(control.text);
      break;
    }
    case ControlKind::kCheckBox: {
      GtkWidget* check = gtk_check_button_new_with_mnemonic(gtkMnemonicText(text).c_str());
      g_signal_connect(check, "clicked", G_CALLBACK(GtkHostSignals::buttonClicked), &window);
      window.widget = window.inner = check;
      window.text = std::string(control.text);
      break;
    }
    case ControlKind::kEdit: {
      GtkWidget* entry = gtk_entry_new();
      gtk_entry_set_has_frame(GTK_ENTRY(entry), window.hasStyle(control_style::kBorder));
      gtk_entry_set_text(GTK_ENTRY(entry), text.c_str());
      window.text = std::string(control.text);
      window.shownText = text;
      window.widget = window.inner = entry;
      break;
    }
    case ControlKind::kStaticText: {
      GtkWidget* label = gtk_label_new_with_mnemonic(gtkMnemonicText(text).c_str());
      const bool centred = window.hasStyle(control_style::kAlignCenter);
      gtk_label_set_xalign(GTK_LABEL(label), centred ? 0.5f : 0.0f);
      gtk_label_set_yalign(GTK_LABEL(label), 0.0f);
      window.widget = label;
      window.text = std::string(control.text);
      break;
    }
    case ControlKind::kIcon: {
      // An icon control takes the icon's own size, whatever the template says.
      Icon* icon = findIcon(LoadIcon(control.iconId));
      GtkWidget* image = icon != nullptr && !icon->images.empty()
                             ? gtk_image_new_from_pixbuf(icon->images.front())
                             : gtk_image_new();
      rect.right = rect.left + kLargeIconSize;
      rect.bottom = rect.top + kLargeIconSize;
      window.widget = image;
      break;
    }
  }
  gtk_widget_set_size_request(window.widget, rect.width(), rect.height());
  gtk_fixed_put(GTK_FIXED(dialog.fixed), window.widget, rect.left, rect.top);
}

void CGtkHost::connectDialogSignals(Dialog& dialog) {
  GtkWidget* toplevel = dialog.self.widget;
  gtk_widget_add_events(toplevel, GDK_BUTTON_PRESS_MASK | GDK_KEY_PRESS_MASK);
  g_signal_connect(toplevel, "delete-event", G_CALLBACK(GtkHostSignals::deleteRequested), &dialog);
  g_signal_connect(toplevel, "key-press-event", G_CALLBACK(GtkHostSignals::keyPressed), &dialog);
  g_signal_connect(toplevel, "button-press-event", G_CALLBACK(GtkHostSignals::buttonPressed),
                   &dialog);
  g_signal_connect(toplevel, "window-state-event", G_CALLBACK(GtkHostSignals::stateChanged),
                   &dialog);
  g_signal_connect(toplevel, "draw", G_CALLBACK(GtkHostSignals::drawn), &dialog);
}

// --- modal dialogs ---------------------------------------------------------

int CGtkHost::DoModal(int templateId, CHostDialog& handler, HostWindow owner) {
  const DialogTemplate* layout = Resources().findDialog(templateId);
  if (layout == nullptr) return -1;
  auto created = std::make_unique<Dialog>();
  Dialog& dialog = *created;
  dialog.layout = layout;
  dialog.handler = &handler;
  dialog.owner = findWindow(owner) != nullptr ? owner : nullptr;
  dialog.self.host = this;
  dialog.self.dialog = &dialog;
  for (const DialogControl& control : layout->controls) {
    auto window = std::make_unique<Window>();
    window->host = this;
    window->dialog = &dialog;
    window->control = &control;
    dialog.controls.push_back(std::move(window));
  }
  m_dialogs.push_back(std::move(created));
  buildDialog(dialog);

  handler.AttachWindow(handleOf<HostWindow>(&dialog.self));
  const bool setFocus = handler.OnInitDialog();
  if (!dialog.ended) {
    gtk_widget_show_all(dialog.self.widget);
    if (setFocus) {
      // As Windows does: the first control that takes the tab key.
      for (const auto& control : dialog.controls) {
        if (!isTabStop(*control)) continue;
        gtk_widget_grab_focus(control->inner);
        break;
      }
    }
    while (!dialog.ended) gtk_main_iteration();
  }
  const int result = dialog.result;
  handler.AttachWindow(nullptr);

  dialog.closing = true;
  std::erase_if(m_dcs, [&](const auto& dc) { return dc->window->dialog == &dialog; });
  gtk_style_context_remove_provider_for_screen(gtk_widget_get_screen(dialog.self.widget),
                                               GTK_STYLE_PROVIDER(dialog.css));
  g_object_unref(dialog.css);
  gtk_widget_destroy(dialog.self.widget);
  m_dialogs.pop_back();
  // Let the owner take its input and paint again before the caller goes on.
  while (gtk_events_pending()) gtk_main_iteration_do(FALSE);
  return result;
}

void CGtkHost::EndDialog(HostWindow handle, int result) {
  Window* window = findWindow(handle);
  if (window == nullptr || window->control != nullptr || !window->dialog->live()) return;
  window->dialog->ended = true;
  window->dialog->result = result;
}

HostWindow CGtkHost::GetDlgItem(HostWindow handle, int controlId) const {
  Window* window = findWindow(handle);
  if (window == nullptr || window->control != nullptr || controlId == kIdStatic) return nullptr;
  for (const auto& control : window->dialog->controls) {
    if (control->control->id == controlId) return handleOf<HostWindow>(control.get());
  }
  return nullptr;
}

HostWindow CGtkHost::GetParent(HostWindow handle) const {
  Window* window = findWindow(handle);
  if (window == nullptr) return nullptr;
  if (window->control != nullptr) return handleOf<HostWindow>(&window->dialog->self);
  return window->dialog->owner;
}

int CGtkHost::GetDlgCtrlID(HostWindow handle) const {
  Window* window = findWindow(handle);
  return window != nullptr && window->control != nullptr ? window->control->id : 0;
}

void CGtkHost::SendCommand(HostWindow handle, int controlId, int notifyCode, HostWindow control) {
  Window* window = findWindow(handle);
  if (window == nullptr || window->control != nullptr || !window->dialog->live()) return;
  window->dialog->handler->OnCommand(controlId, notifyCode, control);
}

// --- keyboard and the system menu -----------------------------------------

bool CGtkHost::onKeyPress(Dialog& dialog, const void* rawEvent) {
  const auto* event = static_cast<const GdkEventKey*>(rawEvent);
  if (!dialog.live()) return false;
  const GdkModifierType modifiers = static_cast<GdkModifierType>(
      event->state & gtk_accelerator_get_default_mod_mask());
  GtkWidget* focus = gtk_window_get_focus(GTK_WINDOW(dialog.self.widget));
  switch (event->keyval) {
    case GDK_KEY_Escape:
      if (modifiers != 0) return false;
      dialog.handler->OnCommand(kIdCancel, kNotifyButtonClicked,
                                GetDlgItem(handleOf<HostWindow>(&dialog.self), kIdCancel));
      return true;
    case GDK_KEY_Return:
    case GDK_KEY_KP_Enter: {
      // A focused push button presses itself; elsewhere (a check box
      // included) Enter is the default button.
      const bool pushButton =
          focus != nullptr && GTK_IS_BUTTON(focus) && !GTK_IS_TOGGLE_BUTTON(focus);
      if (modifiers != 0 || pushButton) return false;
      for (const auto& control : dialog.controls) {
        if (control->control->kind != ControlKind::kDefPushButton) continue;
        if (gtk_widget_is_sensitive(control->widget)) {
          dialog.handler->OnCommand(control->control->id, kNotifyButtonClicked,
                                    handleOf<HostWindow>(control.get()));
        }
        return true;
      }
      return true;
    }
    case GDK_KEY_Tab:
    case GDK_KEY_ISO_Left_Tab:
    case GDK_KEY_KP_Tab:
      if ((modifiers & ~GDK_SHIFT_MASK) != 0) return false;
      moveFocus(dialog, event->keyval != GDK_KEY_ISO_Left_Tab && (modifiers & GDK_SHIFT_MASK) == 0);
      return true;
    case GDK_KEY_F1:
      if (modifiers != 0) return false;
      dialog.handler->OnHelp();
      return true;
    case GDK_KEY_space:
      if (modifiers != GDK_MOD1_MASK) return false;
      popUpSystemMenu(dialog, nullptr);
      return true;
    case GDK_KEY_F10:
    case GDK_KEY_Menu:
      if (event->keyval == GDK_KEY_F10 && modifiers != GDK_SHIFT_MASK) return false;
      // An entry keeps its own menu (cut, copy, paste).
      if (focus != nullptr && GTK_IS_ENTRY(focus)) return false;
      popUpSystemMenu(dialog, nullptr);
      return true;
    default:
      return false;
  }
}

void CGtkHost::moveFocus(Dialog& dialog, bool forward) {
  // Template order, as the Windows dialog manager walks WS_TABSTOP controls;
  // disabled ones are passed over.
  const std::size_t count = dialog.controls.size();
  GtkWidget* focus = gtk_window_get_focus(GTK_WINDOW(dialog.self.widget));
  std::size_t current = count;
  for (std::size_t i = 0; i < count; ++i) {
    if (focus != nullptr && dialog.controls[i]->inner == focus) current = i;
  }
  for (std::size_t step = 1; step <= count; ++step) {
    std::size_t index = 0;
    if (current == count) {
      index = forward ? step - 1 : count - step;
    } else {
      index = forward ? (current + step) % count : (current + count - step) % count;
    }
    Window& candidate = *dialog.controls[index];
    if (!isTabStop(candidate)) continue;
    gtk_widget_grab_focus(candidate.inner);
    return;
  }
}

void CGtkHost::popUpSystemMenu(Dialog& dialog, const void* rawEvent) {
  Menu& menu = dialog.systemMenu;
  if (!dialog.live() || menu.menu == nullptr) return;
  // Separators only part items: none at the top or the bottom.
  GList* children = gtk_container_get_children(GTK_CONTAINER(menu.menu));
  bool anyItem = false;
  GtkWidget* pendingSeparator = nullptr;
  for (GList* child = children; child != nullptr; child = child->next) {
    GtkWidget* item = GTK_WIDGET(child->data);
    if (GTK_IS_SEPARATOR_MENU_ITEM(item)) {
      gtk_widget_hide(item);
      if (anyItem) pendingSeparator = item;
      continue;
    }
    if (pendingSeparator != nullptr) gtk_widget_show(pendingSeparator);
    pendingSeparator = nullptr;
    anyItem = true;
  }
  g_list_free(children);
  if (!anyItem) return;
  if (rawEvent != nullptr) {
    gtk_menu_popup_at_pointer(GTK_MENU(menu.menu), static_cast<const GdkEvent*>(rawEvent));
  } else {
    gtk_menu_popup_at_widget(GTK_MENU(menu.menu), dialog.fixed, GDK_GRAVITY_NORTH_WEST,
                             GDK_GRAVITY_NORTH_WEST, nullptr);
    gtk_menu_shell_select_first(GTK_MENU_SHELL(menu.menu), FALSE);
  }
}

HostMenu CGtkHost::GetSystemMenu(HostWindow handle, bool) {
  Window* window = findWindow(handle);
  if (window == nullptr || window->control != nullptr || !window->dialog->hasSystemMenu()) {
    return nullptr;
  }
  Dialog& dialog = *window->dialog;
  if (dialog.systemMenu.menu == nullptr) {
    dialog.systemMenu.menu = gtk_menu_new();
    gtk_menu_attach_to_widget(GTK_MENU(dialog.systemMenu.menu), dialog.self.widget, nullptr);
  }
  return handleOf<HostMenu>(&dialog.systemMenu);
}

bool CGtkHost::AppendMenu(HostMenu handle, unsigned flags, unsigned commandId,
                          std::string_view text) {
  Dialog* dialog = findDialogOfMenu(handle);
  if (dialog == nullptr || dialog->systemMenu.menu == nullptr) return false;
  GtkWidget* item = nullptr;
  if ((flags & kMfSeparator) != 0) {
    item = gtk_separator_menu_item_new();
  } else {
    item = gtk_menu_item_new_with_mnemonic(gtkMnemonicText(displayText(text)).c_str());
    auto data = std::make_unique<Menu::Item>(Menu::Item{dialog, commandId});
    g_signal_connect(item, "activate", G_CALLBACK(GtkHostSignals::menuItemActivated), data.get());
    dialog->systemMenu.items.push_back(std::move(data));
  }
  gtk_widget_show(item);
  gtk_menu_shell_append(GTK_MENU_SHELL(dialog->systemMenu.menu), item);
  return true;
}

void CGtkHost::DefaultSysCommand(HostWindow handle, unsigned commandId) {
  Window* window = findWindow(handle);
  if (window == nullptr || !window->dialog->live()) return;
  Dialog& dialog = *window->dialog;
  switch (commandId & 0xFFF0u) {
    case kScClose:  // a dialog's close box is its Cancel command
      dialog.handler->OnCommand(kIdCancel, kNotifyButtonClicked,
                                GetDlgItem(handleOf<HostWindow>(&dialog.self), kIdCancel));
      break;
    case kScMinimize:
      gtk_window_iconify(GTK_WINDOW(dialog.self.widget));
      break;
    default:
      break;
  }
}

// --- window text and state -------------------------------------------------

std::string CGtkHost::GetWindowText(HostWindow handle) const {
  Window* window = findWindow(handle);
  if (window == nullptr) return {};
  if (window->control == nullptr) {
    const gchar* title = gtk_window_get_title(GTK_WINDOW(window->widget));
    return title != nullptr ? std::string(title) : std::string();
  }
  if (window->isEdit()) {
    const std::string shown = gtk_entry_get_text(GTK_ENTRY(window->widget));
    // Unchanged since the shell set it: the exact bytes, even where they
    // are not UTF-8; otherwise what the user typed.
    return shown == window->shownText ? window->text : shown;
  }
  return window->text;
}

void CGtkHost::SetWindowText(HostWindow handle, std::string_view text) {
  Window* window = findWindow(handle);
  if (window == nullptr) return;
  const std::string shown = displayText(text);
  if (window->control == nullptr) {
    gtk_window_set_title(GTK_WINDOW(window->widget), shown.c_str());
    return;
  }
  window->text = std::string(text);
  switch (window->control->kind) {
    case ControlKind::kEdit:
      window->shownText = shown;
      gtk_entry_set_text(GTK_ENTRY(window->widget), shown.c_str());
      break;
    case ControlKind::kPushButton:
    case ControlKind::kDefPushButton:
    case ControlKind::kCheckBox:
      gtk_button_set_label(GTK_BUTTON(window->widget), gtkMnemonicText(shown).c_str());
      break;
    case ControlKind::kStaticText:
      gtk_label_set_text_with_mnemonic(GTK_LABEL(window->widget), gtkMnemonicText(shown).c_str());
      break;
    case ControlKind::kListBox:
    case ControlKind::kIcon:
      break;
  }
}

void CGtkHost::EnableWindow(HostWindow handle, bool enable) {
  if (Window* window = findWindow(handle)) gtk_widget_set_sensitive(window->widget, enable);
}

// --- list box --------------------------------------------------------------

int CGtkHost::ListAddString(HostWindow handle, std::string_view text) {
  Window* list = findWindow(handle);
  if (list == nullptr || !list->isList()) return kListError;
  if (list->items.size() >= static_cast<std::size_t>(INT_MAX)) return kListError;
  list->items.emplace_back(text);
  GtkTreeIter row;
  list->hostChangingSelection = true;
  gtk_list_store_insert_with_values(list->store, &row, -1, 0, displayText(text).c_str(), -1);
  list->hostChangingSelection = false;
  return static_cast<int>(list->items.size()) - 1;
}

void CGtkHost::ListResetContent(HostWindow handle) {
  Window* list = findWindow(handle);
  if (list == nullptr || !list->isList()) return;
  list->hostChangingSelection = true;
  gtk_list_store_clear(list->store);
  list->hostChangingSelection = false;
  list->items.clear();
}

int CGtkHost::ListGetCount(HostWindow handle) const {
  Window* list = findWindow(handle);
  if (list == nullptr || !list->isList()) return kListError;
  return static_cast<int>(list->items.size());
}

int CGtkHost::ListGetCurSel(HostWindow handle) const {
  Window* list = findWindow(handle);
  if (list == nullptr || !list->isList()) return kListError;
  GtkTreeSelection* selection = gtk_tree_view_get_selection(GTK_TREE_VIEW(list->inner));
  GtkTreeModel* model = nullptr;
  GtkTreeIter row;
  if (!gtk_tree_selection_get_selected(selection, &model, &row)) return kListError;
  GtkTreePath* path = gtk_tree_model_get_path(model, &row);
  const int index = path != nullptr ? gtk_tree_path_get_indices(path)[0] : kListError;
  if (path != nullptr) gtk_tree_path_free(path);
  return index;
}

int CGtkHost::ListGetTextLen(HostWindow handle, int index) const {
  const Window* list = findWindow(handle);
  if (list == nullptr || !list->isList()) return kListError;
  return ListItemTextLength(list->items, index);
}

int CGtkHost::ListGetText(HostWindow handle, int index, char* buffer,
                          std::size_t capacity) const {
  const Window* list = findWindow(handle);
  if (list == nullptr || !list->isList()) return kListError;
  return CopyListItemText(list->items, index, buffer, capacity);
}

void CGtkHost::ListSetHorizontalExtent(HostWindow handle, int pixels) {
  Window* list = findWindow(handle);
  if (list == nullptr || !list->isList()) return;
  list->horizontalExtent = std::max(pixels, 0);
  gtk_tree_view_column_set_fixed_width(list->column, std::max(pixels, 1));
}

// --- check boxes -----------------------------------------------------------

unsigned CGtkHost::ButtonGetCheck(HostWindow handle) const {
  const Window* button = findWindow(handle);
  if (button == nullptr || !button->isCheckBox()) return kBstUnchecked;
  return gtk_toggle_button_get_active(GTK_TOGGLE_BUTTON(button->widget)) ? kBstChecked
                                                                          : kBstUnchecked;
}

void CGtkHost::ButtonSetCheck(HostWindow handle, unsigned check) {
  Window* button = findWindow(handle);
  if (button == nullptr || !button->isCheckBox()) return;
  // GTK reports the change as a click; BM_SETCHECK sends nothing.
  button->hostSettingCheck = true;
  gtk_toggle_button_set_active(GTK_TOGGLE_BUTTON(button->widget), check == kBstChecked);
  button->hostSettingCheck = false;
}

// --- dropped files ---------------------------------------------------------

void CGtkHost::dropFiles(Window& target, std::vector<std::string> paths) {
  if (paths.empty()) return;
  m_drops.push_back(std::make_unique<Drop>(Drop{std::move(paths), false}));
  Drop* drop = m_drops.back().get();
  target.dialog->handler->OnDropFiles(handleOf<HostWindow>(&target), handleOf<HostDrop>(drop));
  std::erase_if(m_drops, [&](const auto& entry) { return entry.get() == drop; });
}

unsigned CGtkHost::DragQueryFile(HostDrop handle, unsigned index, char* buffer,
                                 unsigned capacity) {
  for (const auto& drop : m_drops) {
    if (handleOf<HostDrop>(drop.get()) != handle || drop->released) continue;
    return CopyDroppedPath(drop->paths, index, buffer, capacity);
  }
  return 0;
}

void CGtkHost::DragFinish(HostDrop handle) {
  for (const auto& drop : m_drops) {
    if (handleOf<HostDrop>(drop.get()) == handle) drop->released = true;
  }
}

// --- icons and painting ----------------------------------------------------

HostIcon CGtkHost::LoadIcon(int resourceId) {
  for (const auto& icon : m_icons) {
    if (icon->resourceId == resourceId) return handleOf<HostIcon>(icon.get());
  }
  const IconResource* resource = Resources().findIcon(resourceId);
  if (resource == nullptr) return nullptr;
  auto icon = std::make_unique<Icon>();
  icon->resourceId = resourceId;
  for (const IconImage& image : resource->images) {
    if (GdkPixbuf* pixbuf = pixbufOf(image)) icon->images.push_back(pixbuf);
  }
  m_icons.push_back(std::move(icon));
  return handleOf<HostIcon>(m_icons.back().get());
}

void CGtkHost::SetIcon(HostWindow handle, HostIcon icon, bool big) {
  Window* window = findWindow(handle);
  if (window == nullptr || window->control != nullptr) return;
  (big ? window->dialog->bigIcon : window->dialog->smallIcon) = findIcon(icon);
  applyIcons(*window->dialog);
}

// The window manager picks from the list: the large icon's images and the
// small icon's, so that title bar and task switcher each find their size.
void CGtkHost::applyIcons(Dialog& dialog) {
  GList* images = nullptr;
  for (Icon* icon : {dialog.bigIcon, dialog.smallIcon}) {
    if (icon == nullptr) continue;
    for (GdkPixbuf* image : icon->images) {
      const bool small = gdk_pixbuf_get_width(image) <= kSmallIconSize;
      // The small icon supplies the small size, the large icon the rest.
      if ((icon == dialog.smallIcon) == small || dialog.smallIcon == nullptr ||
          dialog.bigIcon == nullptr) {
        images = g_list_append(images, image);
      }
    }
  }
  gtk_window_set_icon_list(GTK_WINDOW(dialog.self.widget), images);
  g_list_free(images);
}

bool CGtkHost::IsIconic(HostWindow handle) const {
  Window* window = findWindow(handle);
  return window != nullptr && window->control == nullptr && window->dialog->iconified;
}

int CGtkHost::GetSystemMetrics(int index) const {
  switch (index) {
    case kSmCxIcon:
    case kSmCyIcon:
      return kLargeIconSize;
    case kSmCxSmallIcon:
    case kSmCySmallIcon:
      return kSmallIconSize;
    default:
      return 0;
  }
}

HostRect CGtkHost::GetClientRect(HostWindow handle) const {
  Window* window = findWindow(handle);
  if (window == nullptr) return {};
  GtkWidget* widget = window->control == nullptr ? window->dialog->fixed : window->widget;
  GtkAllocation allocation;
  gtk_widget_get_allocation(widget, &allocation);
  return HostRect{0, 0, std::max(allocation.width, 0), std::max(allocation.height, 0)};
}

HostDC CGtkHost::BeginPaint(HostWindow handle) {
  const HostDC dc = GetDC(handle);
  if (DeviceContext* context = findDC(dc)) context->cairo = context->window->dialog->paintCairo;
  return dc;
}

void CGtkHost::EndPaint(HostWindow handle, HostDC dc) { ReleaseDC(handle, dc); }

void CGtkHost::EraseIconBackground(HostWindow handle, HostDC dc) {
  Window* window = findWindow(handle);
  DeviceContext* context = findDC(dc);
  if (window == nullptr || context == nullptr || context->cairo == nullptr) return;
  const HostRect client = GetClientRect(handle);
  gtk_render_background(gtk_widget_get_style_context(window->dialog->self.widget), context->cairo,
                        0, 0, client.width(), client.height());
}

void CGtkHost::DrawIcon(HostDC dc, int x, int y, HostIcon handle) {
  DeviceContext* context = findDC(dc);
  Icon* icon = findIcon(handle);
  if (context == nullptr || context->cairo == nullptr || icon == nullptr || icon->images.empty()) {
    return;
  }
  cairo_save(context->cairo);
  gdk_cairo_set_source_pixbuf(context->cairo, icon->images.front(), x, y);
  cairo_paint(context->cairo);
  cairo_restore(context->cairo);
}

void CGtkHost::DefaultPaint(HostWindow) {
  // GTK paints the dialog once the draw handler returns.
}

// --- text measuring --------------------------------------------------------

HostFont CGtkHost::GetFont(HostWindow handle) const {
  Window* window = findWindow(handle);
  return window != nullptr ? handleOf<HostFont>(window->dialog->font.get()) : nullptr;
}

HostDC CGtkHost::GetDC(HostWindow handle) {
  Window* window = findWindow(handle);
  if (window == nullptr) return nullptr;
  m_dcs.push_back(std::make_unique<DeviceContext>(DeviceContext{window, m_systemFont.get(), nullptr}));
  return handleOf<HostDC>(m_dcs.back().get());
}

HostFont CGtkHost::SelectFont(HostDC handle, HostFont font) {
  DeviceContext* dc = findDC(handle);
  Font* selected = findFont(font);
  if (dc == nullptr || selected == nullptr) return nullptr;
  Font* previous = dc->font;
  dc->font = selected;
  return handleOf<HostFont>(previous);
}

int CGtkHost::GetTextExtent(HostDC handle, std::string_view text) {
  DeviceContext* dc = findDC(handle);
  if (dc == nullptr) return 0;
  GtkWidget* widget = dc->window->inner != nullptr ? dc->window->inner : dc->window->widget;
  PangoLayout* layout = gtk_widget_create_pango_layout(widget, displayText(text).c_str());
  pango_layout_set_font_description(layout, dc->font->description);
  int width = 0;
  pango_layout_get_pixel_size(layout, &width, nullptr);
  g_object_unref(layout);
  return width;
}

void CGtkHost::ReleaseDC(HostWindow, HostDC handle) {
  std::erase_if(m_dcs, [&](const auto& dc) { return handleOf<HostDC>(dc.get()) == handle; });
}

// --- resources and files ---------------------------------------------------

std::string CGtkHost::LoadString(int id) const {
  // GTK works in UTF-8, the tables' own encoding.
  const StringResource* entry = Resources().findString(id);
  return entry != nullptr ? std::string(entry->text) : std::string();
}

bool CGtkHost::IsDBCSLeadByte(unsigned char) const {
  return false;  // UTF-8 sequences never hold ASCII bytes
}

bool CGtkHost::IsSameFile(const char* first, const char* second) const {
  return pathsNameSameFile(first, second);
}

}  // namespace vesk
