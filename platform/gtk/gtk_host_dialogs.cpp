// The common dialogs of CGtkHost: message boxes and the open-file dialog.
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
constexpr unsigned kMbIconInformation = 0x0040;

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

bool CGtkHost::GetOpenFileName(COpenFileRequest& request) {
  if (request.fileBuffer == nullptr || request.fileBufferSize == 0) return false;
  Window* owner = findWindow(request.owner);
  GtkWindow* parent = owner != nullptr ? GTK_WINDOW(owner->dialog->self.widget) : nullptr;
  const bool multiple = (request.flags & kOfnAllowMultiSelect) != 0;
  GtkFileChooserNative* native = gtk_file_chooser_native_new(
      g_dgettext("gtk30", "Select a File"), parent, GTK_FILE_CHOOSER_ACTION_OPEN, nullptr, nullptr);
  GtkFileChooser* chooser = GTK_FILE_CHOOSER(native);
  gtk_native_dialog_set_modal(GTK_NATIVE_DIALOG(native), TRUE);
  gtk_file_chooser_set_select_multiple(chooser, multiple);
  gtk_file_chooser_set_local_only(chooser, TRUE);
  for (const FileFilter& filter : fileFiltersFromPairs(request.filter)) {
    GtkFileFilter* gtkFilter = gtk_file_filter_new();
    gtk_file_filter_set_name(gtkFilter, displayText(filter.description).c_str());
    for (const std::string& pattern : filter.patterns) {
      gtk_file_filter_add_pattern(gtkFilter, pattern.c_str());
    }
    gtk_file_chooser_add_filter(chooser, gtkFilter);
  }
  if (request.initialDirectory != nullptr) {
    gtk_file_chooser_set_current_folder(chooser, request.initialDirectory);
  }
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

}  // namespace vesk
