#include "platform/headless/headless_host.h"

#include <climits>
#include <utility>

#include "platform/code_page.h"
#include "platform/host_dialog.h"
#include "platform/same_file.h"
#include "platform/text_buffers.h"

namespace vesk {

struct CHeadlessHost::Control {
  const DialogControl* layout = nullptr;  // null for the dialog itself
  std::string text;
  std::vector<std::string> items;  // list box entries
  unsigned check = kBstUnchecked;   // check box
};

struct CHeadlessHost::Dialog {
  const DialogTemplate* layout = nullptr;
  Control self;
  std::vector<Control> controls;
  bool ended = false;
  int result = -1;
};

namespace {

template <typename Handle>
Handle handleOf(void* record) {
  return static_cast<Handle>(record);
}

}  // namespace

CHeadlessHost::CHeadlessHost(const ResourceSet& resources, std::vector<std::string> args)
    : CUiHost(resources), m_args(std::move(args)), m_codePage(nativeCodePage()) {}

CHeadlessHost::~CHeadlessHost() = default;

std::string CHeadlessHost::GetModulePath() const {
  return m_args.empty() ? std::string() : m_args.front();
}

bool CHeadlessHost::SlashStartsFlag() const {
#ifdef _WIN32
  return true;
#else
  return false;
#endif
}

std::size_t CHeadlessHost::MaxPathLength() const {
#ifdef _WIN32
  return kMaxPath;
#else
  // As the GTK host: POSIX paths are limited by the system, not by MAX_PATH.
  return PATH_MAX;
#endif
}

// Handles are the addresses of the records of the dialog being run; a
// handle of an earlier dialog, or none, finds nothing.
CHeadlessHost::Control* CHeadlessHost::findControl(HostWindow handle) const {
  if (m_dialog == nullptr || handle == nullptr) return nullptr;
  if (handle == handleOf<HostWindow>(&m_dialog->self)) return &m_dialog->self;
  for (Control& control : m_dialog->controls) {
    if (handle == handleOf<HostWindow>(&control)) return &control;
  }
  return nullptr;
}

CHeadlessHost::Control* CHeadlessHost::findList(HostWindow handle) const {
  Control* control = findControl(handle);
  if (control == nullptr || control->layout == nullptr ||
      control->layout->kind != ControlKind::kListBox) {
    return nullptr;
  }
  return control;
}

int CHeadlessHost::DoModal(int templateId, CHostDialog& handler, HostWindow) {
  const DialogTemplate* layout = Resources().findDialog(templateId);
  // One dialog at a time: nothing here can open a second one.
  if (layout == nullptr || m_dialog != nullptr) return -1;
  m_dialog = std::make_unique<Dialog>();
  m_dialog->layout = layout;
  m_dialog->self.text = std::string(layout->caption);
  m_dialog->controls.reserve(layout->controls.size());
  for (const DialogControl& control : layout->controls) {
    m_dialog->controls.push_back(Control{&control, std::string(control.text), {}, kBstUnchecked});
  }
  handler.AttachWindow(handleOf<HostWindow>(&m_dialog->self));
  handler.OnInitDialog();
  const int result = m_dialog->ended ? m_dialog->result : -1;
  handler.AttachWindow(nullptr);
  m_dialog.reset();
  return result;
}

void CHeadlessHost::EndDialog(HostWindow handle, int result) {
  if (m_dialog == nullptr || handle != handleOf<HostWindow>(&m_dialog->self)) return;
  m_dialog->ended = true;
  m_dialog->result = result;
}

HostWindow CHeadlessHost::GetDlgItem(HostWindow handle, int controlId) const {
  if (m_dialog == nullptr || handle != handleOf<HostWindow>(&m_dialog->self) ||
      controlId == kIdStatic) {
    return nullptr;
  }
  for (Control& control : m_dialog->controls) {
    if (control.layout->id == controlId) return handleOf<HostWindow>(&control);
  }
  return nullptr;
}

HostWindow CHeadlessHost::GetParent(HostWindow handle) const {
  const Control* control = findControl(handle);
  if (control == nullptr || control->layout == nullptr) return nullptr;
  return handleOf<HostWindow>(&m_dialog->self);
}

int CHeadlessHost::GetDlgCtrlID(HostWindow handle) const {
  const Control* control = findControl(handle);
  return control != nullptr && control->layout != nullptr ? control->layout->id : 0;
}

void CHeadlessHost::SendCommand(HostWindow, int, int, HostWindow) {
  // Nothing a command could change is shown; the automatic mode sends none.
}

std::string CHeadlessHost::GetWindowText(HostWindow handle) const {
  const Control* control = findControl(handle);
  return control != nullptr ? control->text : std::string();
}

void CHeadlessHost::SetWindowText(HostWindow handle, std::string_view text) {
  if (Control* control = findControl(handle)) control->text.assign(text);
}

void CHeadlessHost::EnableWindow(HostWindow, bool) {}

int CHeadlessHost::ListAddString(HostWindow handle, std::string_view text) {
  Control* list = findList(handle);
  if (list == nullptr) return kListError;
  list->items.emplace_back(text);
  return static_cast<int>(list->items.size()) - 1;
}

void CHeadlessHost::ListResetContent(HostWindow handle) {
  if (Control* list = findList(handle)) list->items.clear();
}

int CHeadlessHost::ListGetCount(HostWindow handle) const {
  const Control* list = findList(handle);
  return list != nullptr ? static_cast<int>(list->items.size()) : kListError;
}

int CHeadlessHost::ListGetTextLen(HostWindow handle, int index) const {
  const Control* list = findList(handle);
  return list != nullptr ? ListItemTextLength(list->items, index) : kListError;
}

int CHeadlessHost::ListGetText(HostWindow handle, int index, char* buffer,
                               std::size_t capacity) const {
  const Control* list = findList(handle);
  return list != nullptr ? CopyListItemText(list->items, index, buffer, capacity) : kListError;
}

unsigned CHeadlessHost::ButtonGetCheck(HostWindow handle) const {
  const Control* button = findControl(handle);
  return button != nullptr ? button->check : kBstUnchecked;
}

void CHeadlessHost::ButtonSetCheck(HostWindow handle, unsigned check) {
  Control* button = findControl(handle);
  if (button != nullptr && button->layout != nullptr &&
      button->layout->kind == ControlKind::kCheckBox) {
    button->check = check;
  }
}

int CHeadlessHost::MessageBox(HostWindow, std::string_view, std::string_view, unsigned) {
  return kIdOk;
}

std::string CHeadlessHost::LoadString(int id) const {
  const StringResource* entry = Resources().findString(id);
  return entry != nullptr ? std::string(entry->text) : std::string();
}

bool CHeadlessHost::IsDBCSLeadByte(unsigned char byte) const {
  return isLeadByteInCodePage(m_codePage, byte);
}

bool CHeadlessHost::IsSameFile(const char* first, const char* second) const {
  return pathsNameSameFile(first, second);
}

}  // namespace vesk
