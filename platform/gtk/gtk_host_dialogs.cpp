// The common dialogs of CGtkHost: message boxes and the open- and
// save-file dialogs.
#include <sys/stat.h>

#include <algorithm>
#include <cstring>

#include "platform/file_filter.h"
#include "platform/gtk/gtk_host.h"
#include "platform/open_file_result.h"

namespace vesk {

namespace {

constexpr unsigned kMbIconMask = 0x00F0;
constexpr unsigned kMbIconError = 0x0010;
constexpr unsigned kMbIconQuestion = 0x0020;

GtkMessageType messageTypeOf(unsigned flags) {
  switch (flags & kMbIconMask) {
    case kMbIconError: return GTK_MESSAGE_ERROR;
    case kMbIconQuestion: return GTK_MESSAGE_QUESTION;
    case kMbIconExclamation: return GTK_MESSAGE_WARNING;
    case kMbIconInformation: return GTK_MESSAGE_INFO;
    default: return GTK_MESSAGE_OTHER;
  }
}

bool isExistingFile(const char* path) {
  struct stat status {};
  return stat(path, &status) == 0;
}

// GTK's own text (its translation where there is one), "%s" filled in.
std::string gtkText(const char* message, std::string_view value = {}) {
  std::string text = g_dgettext("gtk30", message);
  if (const std::size_t at = text.find("%s"); at != std::string::npos) {
    text.replace(at, 2, value);
  }
  return text;
}

std::string displayName(const char* path) {
  gchar* name = g_filename_display_name(path);
  std::string text = name != nullptr ? name : "";
  g_free(name);
  return text;
}

void addFilters(GtkFileChooser* chooser, std::string_view pairs) {
  for (const FileFilter& filter : fileFiltersFromPairs(pairs)) {
    GtkFileFilter* gtkFilter = gtk_file_filter_new();
    gtk_file_filter_set_name(gtkFilter, displayText(filter.description).c_str());
    for (const std::string& pattern : filter.patterns) {
      gtk_file_filter_add_pattern(gtkFilter, pattern.c_str());
    }
    gtk_file_chooser_add_filter(chooser, gtkFilter);
  }
}

// GTK wants the folder as a full path; a relative one counts from the
// current directory.
void setInitialFolder(GtkFileChooser* chooser, const char* directory) {
  if (directory == nullptr) return;
  gchar* folder = g_canonicalize_filename(directory, nullptr);
  gtk_file_chooser_set_current_folder(chooser, folder);
  g_free(folder);
}

// The name's last component holds no '.'.
bool hasNoExtension(std::string_view path) {
  const std::size_t slash = path.rfind('/');
  return path.find('.', slash == std::string_view::npos ? 0 : slash + 1) == std::string_view::npos;
}

}  // namespace

int CGtkHost::MessageBox(HostWindow owner, std::string_view text, std::string_view caption,
                         unsigned flags) {
  Window* window = findWindow(owner);
  GtkWindow* parent = window != nullptr ? GTK_WINDOW(window->dialog->self.widget) : nullptr;
  // A message box of Windows shows all its lines alike; GTK's shows its
  // first line as the message and the lines below it (the details of a
  // failure) as the secondary text, in the ordinary font.
  const std::size_t lineEnd = text.find('\n');
  const std::string_view first = text.substr(0, lineEnd);
  GtkWidget* box = gtk_message_dialog_new(
      parent, static_cast<GtkDialogFlags>(GTK_DIALOG_MODAL | GTK_DIALOG_DESTROY_WITH_PARENT),
      messageTypeOf(flags), GTK_BUTTONS_OK, "%s", displayText(first).c_str());
  if (lineEnd != std::string_view::npos) {
    gtk_message_dialog_format_secondary_text(GTK_MESSAGE_DIALOG(box), "%s",
                                             displayText(text.substr(lineEnd + 1)).c_str());
  }
  gtk_window_set_title(GTK_WINDOW(box), displayText(caption).c_str());
  // A path is one long word: it breaks where it must rather than widen
  // the box beyond the screen, as Windows breaks it, and without the
  // hyphen a path could hold itself.
  GList* labels = gtk_container_get_children(
      GTK_CONTAINER(gtk_message_dialog_get_message_area(GTK_MESSAGE_DIALOG(box))));
  for (GList* child = labels; child != nullptr; child = child->next) {
    if (!GTK_IS_LABEL(child->data)) continue;
    GtkLabel* label = GTK_LABEL(child->data);
    gtk_label_set_line_wrap_mode(label, PANGO_WRAP_WORD_CHAR);
    PangoAttrList* own = gtk_label_get_attributes(label);
    PangoAttrList* attributes = own != nullptr ? pango_attr_list_copy(own) : pango_attr_list_new();
    pango_attr_list_insert(attributes, pango_attr_insert_hyphens_new(FALSE));
    gtk_label_set_attributes(label, attributes);
    pango_attr_list_unref(attributes);
  }
  g_list_free(labels);
  if (!m_reportPath.empty()) {
    g_signal_connect_swapped(box, "map-event",
                             G_CALLBACK(+[](gpointer host, GdkEvent*) -> gboolean {
                               static_cast<CGtkHost*>(host)->writeReport("message");
                               return FALSE;
                             }),
                             this);
  }
  gtk_dialog_run(GTK_DIALOG(box));
  gtk_widget_destroy(box);
  return kIdOk;  // the box has its OK button only
}

// The chooser of `request`, modal over its owner, with its title (or
// GTK's own `defaultTitle`), its filters and its initial folder.
GtkFileChooserNative* CGtkHost::newFileChooser(const COpenFileRequest& request,
                                               GtkFileChooserAction action,
                                               const char* defaultTitle) {
  Window* owner = findWindow(request.owner);
  GtkWindow* parent = owner != nullptr ? GTK_WINDOW(owner->dialog->self.widget) : nullptr;
  const std::string title =
      request.title != nullptr ? displayText(request.title) : gtkText(defaultTitle);
  GtkFileChooserNative* native =
      gtk_file_chooser_native_new(title.c_str(), parent, action, nullptr, nullptr);
  GtkFileChooser* chooser = GTK_FILE_CHOOSER(native);
  gtk_native_dialog_set_modal(GTK_NATIVE_DIALOG(native), TRUE);
  gtk_file_chooser_set_local_only(chooser, TRUE);
  addFilters(chooser, request.filter);
  setInitialFolder(chooser, request.initialDirectory);
  return native;
}

bool CGtkHost::GetOpenFileName(COpenFileRequest& request) {
  if (request.fileBuffer == nullptr || request.fileBufferSize == 0) return false;
  GtkFileChooserNative* native =
      newFileChooser(request, GTK_FILE_CHOOSER_ACTION_OPEN, "Select a File");
  GtkFileChooser* chooser = GTK_FILE_CHOOSER(native);
  const bool multiple = (request.flags & kOfnAllowMultiSelect) != 0;
  gtk_file_chooser_set_select_multiple(chooser, multiple);
  // An initial name preselects that file; a pattern such as "*.CE3" is a
  // filter on Windows, which the filters above already are here.
  const std::size_t initialLength = strnlen(request.fileBuffer, request.fileBufferSize);
  const std::string initialName(request.fileBuffer, initialLength);
  if (!initialName.empty() && initialName.find_first_of("*?") == std::string::npos) {
    gtk_file_chooser_set_filename(chooser, initialName.c_str());
  }

  std::vector<std::string> chosen;
  while (chosen.empty()) {
    if (gtk_native_dialog_run(GTK_NATIVE_DIALOG(native)) != GTK_RESPONSE_ACCEPT) break;
    GSList* names = gtk_file_chooser_get_filenames(chooser);
    bool allExist = true;
    for (GSList* name = names; name != nullptr; name = name->next) {
      const char* path = static_cast<const char*>(name->data);
      if ((request.flags & kOfnFileMustExist) != 0 && !isExistingFile(path)) allExist = false;
      chosen.emplace_back(path);
    }
    g_slist_free_full(names, g_free);
    // A name typed for a file that is not there: the dialog stays, as
    // Windows keeps its dialog open with "the file must exist".
    if (!allExist) chosen.clear();
  }
  g_object_unref(native);
  if (chosen.empty()) return false;
  const std::string result = openFileResult(chosen, multiple);
  if (result.size() > request.fileBufferSize) return false;  // too large: the dialog fails
  std::memcpy(request.fileBuffer, result.data(), result.size());
  return true;
}

bool CGtkHost::GetSaveFileName(COpenFileRequest& request) {
  if (request.fileBuffer == nullptr || request.fileBufferSize == 0) return false;
  GtkFileChooserNative* native =
      newFileChooser(request, GTK_FILE_CHOOSER_ACTION_SAVE, "Save File");
  GtkFileChooser* chooser = GTK_FILE_CHOOSER(native);
  const bool confirm = (request.flags & kOfnOverwritePrompt) != 0;
  gtk_file_chooser_set_do_overwrite_confirmation(chooser, confirm);
  const std::size_t initialLength = strnlen(request.fileBuffer, request.fileBufferSize);
  if (initialLength > 0) {
    gtk_file_chooser_set_current_name(
        chooser, displayText({request.fileBuffer, initialLength}).c_str());
  }
  const std::string extension =
      request.defaultExtension != nullptr ? request.defaultExtension : "";

  std::string chosen;
  while (chosen.empty()) {
    if (gtk_native_dialog_run(GTK_NATIVE_DIALOG(native)) != GTK_RESPONSE_ACCEPT) break;
    gchar* name = gtk_file_chooser_get_filename(chooser);
    if (name == nullptr) break;
    std::string path = name;
    g_free(name);
    if (!extension.empty() && hasNoExtension(path)) {
      path += '.';
      path += extension;
      // GTK asked about the name as typed; with its extension it may name
      // a file that is there.
      if (confirm && isExistingFile(path.c_str()) &&
          !confirmReplace(gtk_native_dialog_get_transient_for(GTK_NATIVE_DIALOG(native)), path)) {
        gchar* base = g_path_get_basename(path.c_str());
        gtk_file_chooser_set_current_name(chooser, displayName(base).c_str());
        g_free(base);
        continue;
      }
    }
    chosen = std::move(path);
  }
  g_object_unref(native);
  if (chosen.empty() || chosen.size() >= request.fileBufferSize) return false;
  std::memcpy(request.fileBuffer, chosen.c_str(), chosen.size() + 1);
  return true;
}

// The question GTK's own chooser asks before a file is replaced, in its
// words.
bool CGtkHost::confirmReplace(GtkWindow* parent, const std::string& path) {
  gchar* base = g_path_get_basename(path.c_str());
  gchar* folder = g_path_get_dirname(path.c_str());
  gchar* folderBase = g_path_get_basename(folder);
  const std::string question =
      gtkText("A file named “%s” already exists.  Do you want to replace it?", displayName(base));
  const std::string detail = gtkText(
      "The file already exists in “%s”.  Replacing it will overwrite its contents.",
      displayName(folderBase));
  g_free(folderBase);
  g_free(folder);
  g_free(base);
  GtkWidget* box = gtk_message_dialog_new(
      parent, static_cast<GtkDialogFlags>(GTK_DIALOG_MODAL | GTK_DIALOG_DESTROY_WITH_PARENT),
      GTK_MESSAGE_QUESTION, GTK_BUTTONS_NONE, "%s", question.c_str());
  gtk_message_dialog_format_secondary_text(GTK_MESSAGE_DIALOG(box), "%s", detail.c_str());
  gtk_dialog_add_button(GTK_DIALOG(box), gtkText("_Cancel").c_str(), GTK_RESPONSE_CANCEL);
  gtk_dialog_add_button(GTK_DIALOG(box), gtkText("_Replace").c_str(), GTK_RESPONSE_ACCEPT);
  gtk_dialog_set_default_response(GTK_DIALOG(box), GTK_RESPONSE_ACCEPT);
  if (!m_reportPath.empty()) {
    g_signal_connect_swapped(box, "map-event",
                             G_CALLBACK(+[](gpointer host, GdkEvent*) -> gboolean {
                               static_cast<CGtkHost*>(host)->writeReport("question");
                               return FALSE;
                             }),
                             this);
  }
  const gint response = gtk_dialog_run(GTK_DIALOG(box));
  gtk_widget_destroy(box);
  return response == GTK_RESPONSE_ACCEPT;
}

}  // namespace vesk
