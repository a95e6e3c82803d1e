#include "tests/support/memory_host.h"

#include <algorithm>
#include <cstring>

#include "platform/code_page.h"
#include "platform/host_dialog.h"
#include "platform/same_file.h"
#include "platform/text_buffers.h"

namespace vesk {

struct CMemoryHost::Window {
  Dialog* dialog = nullptr;                // the dialog this window is or belongs to
  const DialogControl* control = nullptr;  // nullptr for the dialog itself
  std::string text;
  bool enabled = true;
  std::vector<std::string> items;  // list box entries
  int selection = -1;
  int horizontalExtent = 0;
  unsigned check = kBstUnchecked;  // check box

  bool isList() const { return control != nullptr && control->kind == ControlKind::kListBox; }
  bool isCheckBox() const {
    return control != nullptr && control->kind == ControlKind::kCheckBox;
  }
  bool hasStyle(unsigned style) const {
    return control != nullptr && (control->style & style) != 0;
  }
};

struct CMemoryHost::Menu {
  std::vector<MenuItem> items;
};

struct CMemoryHost::Icon {
  int resourceId;
};

struct CMemoryHost::Font {
  int charWidth;
};

struct CMemoryHost::DeviceContext {
  Window* window;
  Font* font;
};

struct CMemoryHost::Drop {
  std::vector<std::string> paths;
  bool released = false;
};

struct CMemoryHost::Dialog {
  const DialogTemplate* layout = nullptr;
  CHostDialog* handler = nullptr;
  HostWindow owner = nullptr;
  Window self;
  std::vector<std::unique_ptr<Window>> controls;
  bool ended = false;
  int result = -1;
  Menu systemMenu;
  HostIcon bigIcon = nullptr;
  HostIcon smallIcon = nullptr;
  bool minimized = false;
  std::vector<DrawnIcon> drawnIcons;
  int iconBackgroundErasures = 0;
  int defaultPaints = 0;

  bool live() const { return !ended; }
  bool hasSystemMenu() const { return (layout->style & dialog_style::kSystemMenu) != 0; }
};

namespace {

template <typename Object, typename Handle>
Handle handleOf(Object* object) {
  return reinterpret_cast<Handle>(object);
}

}  // namespace

CMemoryHost::CMemoryHost(const ResourceSet& resources, std::vector<std::string> args)
    : CUiHost(resources),
      m_args(std::move(args)),
#ifdef _WIN32
      m_slashStartsFlag(true),
#else
      m_slashStartsFlag(false),
#endif
      m_codePage(nativeCodePage()),
      m_systemFont(std::make_unique<Font>(Font{kSystemCharWidth})),
      m_dialogFont(std::make_unique<Font>(Font{kCharWidth})) {
}

CMemoryHost::~CMemoryHost() = default;

std::string CMemoryHost::GetModulePath() const { return m_args.empty() ? "" : m_args.front(); }

void CMemoryHost::WhenShown(int templateId, UserScript script) {
  m_scripts[templateId] = std::move(script);
}

void CMemoryHost::AnswerFileDialog(std::vector<std::string> paths) {
  m_fileAnswers.push_back(FileAnswer{false, std::move(paths)});
}

void CMemoryHost::CancelFileDialog() { m_fileAnswers.push_back(FileAnswer{true, {}}); }

// --- lookups ---------------------------------------------------------------

CMemoryHost::Window* CMemoryHost::findWindow(HostWindow handle) const {
  if (handle == nullptr) return nullptr;
  for (const auto& dialog : m_dialogs) {
    if (handleOf<Window, HostWindow>(&dialog->self) == handle) return &dialog->self;
    for (const auto& control : dialog->controls) {
      if (handleOf<Window, HostWindow>(control.get()) == handle) return control.get();
    }
  }
  return nullptr;
}

CMemoryHost::Dialog* CMemoryHost::topDialog() const {
  if (m_dialogs.empty() || !m_dialogs.back()->live()) return nullptr;
  return m_dialogs.back().get();
}

CMemoryHost::Window* CMemoryHost::findControl(int controlId) const {
  Dialog* dialog = topDialog();
  if (dialog == nullptr || controlId == kIdStatic) return nullptr;
  for (const auto& control : dialog->controls) {
    if (control->control->id == controlId) return control.get();
  }
  return nullptr;
}

CMemoryHost::DeviceContext* CMemoryHost::findDC(HostDC handle) const {
  for (const auto& dc : m_dcs) {
    if (handleOf<DeviceContext, HostDC>(dc.get()) == handle) return dc.get();
  }
  return nullptr;
}

CMemoryHost::Font* CMemoryHost::findFont(HostFont handle) const {
  if (handleOf<Font, HostFont>(m_systemFont.get()) == handle) return m_systemFont.get();
  if (handleOf<Font, HostFont>(m_dialogFont.get()) == handle) return m_dialogFont.get();
  return nullptr;
}

// --- modal dialogs ---------------------------------------------------------

int CMemoryHost::DoModal(int templateId, CHostDialog& handler, HostWindow owner) {
  const DialogTemplate* layout = Resources().findDialog(templateId);
  if (layout == nullptr) return -1;
  const Window* ownerWindow = findWindow(owner);

  auto created = std::make_unique<Dialog>();
  Dialog& dialog = *created;
  dialog.layout = layout;
  dialog.handler = &handler;
  dialog.owner = owner;
  dialog.self.dialog = &dialog;
  dialog.self.text = std::string(layout->caption);
  for (const DialogControl& control : layout->controls) {
    auto window = std::make_unique<Window>();
    window->dialog = &dialog;
    window->control = &control;
    window->text = std::string(control.text);
    dialog.controls.push_back(std::move(window));
  }
  m_dialogs.push_back(std::move(created));
  const int ownerTemplateId = ownerWindow != nullptr ? ownerWindow->dialog->layout->id : -1;

  handler.AttachWindow(handleOf<Window, HostWindow>(&dialog.self));
  handler.OnInitDialog();
  if (!dialog.ended) {
    auto script = m_scripts.find(templateId);
    if (script != m_scripts.end()) {
      // Copy: the script may register scripts of its own.
      UserScript user = script->second;
      user(*this);
    }
  }
  const int result = dialog.ended ? dialog.result : -1;
  handler.AttachWindow(nullptr);
  // Device contexts of the dialog's windows die with it.
  std::erase_if(m_dcs, [&](const auto& dc) { return dc->window->dialog == &dialog; });
  m_dialogs.pop_back();
  m_modalRuns.push_back(ModalRun{templateId, ownerTemplateId, result});
  return result;
}

void CMemoryHost::EndDialog(HostWindow handle, int result) {
  Window* window = findWindow(handle);
  if (window == nullptr || window->control != nullptr || window->dialog->ended) return;
  window->dialog->ended = true;
  window->dialog->result = result;
}

HostWindow CMemoryHost::GetDlgItem(HostWindow handle, int controlId) const {
  Window* window = findWindow(handle);
  if (window == nullptr || window->control != nullptr || controlId == kIdStatic) return nullptr;
  for (const auto& control : window->dialog->controls) {
    if (control->control->id == controlId) return handleOf<Window, HostWindow>(control.get());
  }
  return nullptr;
}

HostWindow CMemoryHost::GetParent(HostWindow handle) const {
  Window* window = findWindow(handle);
  if (window == nullptr) return nullptr;
  if (window->control != nullptr) return handleOf<Window, HostWindow>(&window->dialog->self);
  return window->dialog->owner;
}

int CMemoryHost::GetDlgCtrlID(HostWindow handle) const {
  Window* window = findWindow(handle);
  return window != nullptr && window->control != nullptr ? window->control->id : 0;
}

void CMemoryHost::SendCommand(HostWindow handle, int controlId, int notifyCode,
                              HostWindow control) {
  Window* window = findWindow(handle);
  if (window == nullptr || window->control != nullptr || !window->dialog->live()) return;
  window->dialog->handler->OnCommand(controlId, notifyCode, control);
}

// --- window text and state -------------------------------------------------

std::string CMemoryHost::GetWindowText(HostWindow handle) const {
  Window* window = findWindow(handle);
  return window != nullptr ? window->text : std::string();
}

void CMemoryHost::SetWindowText(HostWindow handle, std::string_view text) {
  if (Window* window = findWindow(handle)) window->text = std::string(text);
}

void CMemoryHost::EnableWindow(HostWindow handle, bool enable) {
  if (Window* window = findWindow(handle)) window->enabled = enable;
}

// --- list box --------------------------------------------------------------

int CMemoryHost::ListAddString(HostWindow handle, std::string_view text) {
  Window* list = findWindow(handle);
  if (list == nullptr || !list->isList()) return kListError;
  list->items.emplace_back(text);
  return static_cast<int>(list->items.size()) - 1;
}

void CMemoryHost::ListResetContent(HostWindow handle) {
  Window* list = findWindow(handle);
  if (list == nullptr || !list->isList()) return;
  list->items.clear();
  list->selection = -1;
}

int CMemoryHost::ListGetCount(HostWindow handle) const {
  Window* list = findWindow(handle);
  if (list == nullptr || !list->isList()) return kListError;
  return static_cast<int>(list->items.size());
}

int CMemoryHost::ListGetCurSel(HostWindow handle) const {
  Window* list = findWindow(handle);
  if (list == nullptr || !list->isList()) return kListError;
  return list->selection;
}

int CMemoryHost::ListGetTextLen(HostWindow handle, int index) const {
  const Window* list = findWindow(handle);
  if (list == nullptr || !list->isList()) return kListError;
  return ListItemTextLength(list->items, index);
}

int CMemoryHost::ListGetText(HostWindow handle, int index, char* buffer,
                             std::size_t capacity) const {
  const Window* list = findWindow(handle);
  if (list == nullptr || !list->isList()) return kListError;
  return CopyListItemText(list->items, index, buffer, capacity);
}

void CMemoryHost::ListSetHorizontalExtent(HostWindow handle, int pixels) {
  Window* list = findWindow(handle);
  if (list != nullptr && list->isList()) list->horizontalExtent = pixels;
}

unsigned CMemoryHost::ButtonGetCheck(HostWindow handle) const {
  const Window* button = findWindow(handle);
  return button != nullptr && button->isCheckBox() ? button->check : kBstUnchecked;
}

void CMemoryHost::ButtonSetCheck(HostWindow handle, unsigned check) {
  Window* button = findWindow(handle);
  if (button != nullptr && button->isCheckBox()) button->check = check;
}

// --- message boxes and file dialogs ----------------------------------------

int CMemoryHost::MessageBox(HostWindow owner, std::string_view text, std::string_view caption,
                            unsigned flags) {
  const Window* window = findWindow(owner);
  m_messages.push_back(ShownMessage{window != nullptr ? window->dialog->layout->id : -1,
                                    std::string(caption), std::string(text), flags});
  return kIdOk;
}

bool CMemoryHost::GetOpenFileName(COpenFileRequest& request) {
  return fileDialog(request, false);
}

bool CMemoryHost::GetSaveFileName(COpenFileRequest& request) {
  return fileDialog(request, true);
}

bool CMemoryHost::fileDialog(COpenFileRequest& request, bool save) {
  const Window* owner = findWindow(request.owner);
  const auto text = [](const char* value) { return std::string(value != nullptr ? value : ""); };
  FileDialogRecord record{save,
                          owner != nullptr ? owner->dialog->layout->id : -1,
                          std::string(request.filter),
                          request.flags,
                          {},
                          request.fileBufferSize,
                          request.defaultExtension != nullptr,
                          request.initialDirectory != nullptr,
                          text(request.title),
                          text(request.defaultExtension),
                          text(request.initialDirectory)};
  if (request.fileBuffer != nullptr && request.fileBufferSize > 0) {
    const void* end = std::memchr(request.fileBuffer, '\0', request.fileBufferSize);
    const std::size_t length = end != nullptr
                                   ? static_cast<std::size_t>(static_cast<const char*>(end) -
                                                              request.fileBuffer)
                                   : request.fileBufferSize;
    record.initialName.assign(request.fileBuffer, length);
  }
  m_fileDialogs.push_back(std::move(record));

  if (m_fileAnswers.empty()) return false;
  FileAnswer answer = std::move(m_fileAnswers.front());
  m_fileAnswers.erase(m_fileAnswers.begin());
  if (answer.cancel || answer.paths.empty()) return false;
  std::string& name = answer.paths.front();
  const std::size_t cut = name.find_last_of("\\/");
  const bool typedExtension = name.find('.', cut == std::string::npos ? 0 : cut + 1) !=
                              std::string::npos;
  if (save && request.defaultExtension != nullptr && !typedExtension) {
    name += '.';
    name += request.defaultExtension;
  }
  return fillFileBuffer(answer, request);
}

// Writes the answer in the dialog's result form; false (the dialog fails)
// when it does not fit, as a real dialog fails on a buffer too small.
bool CMemoryHost::fillFileBuffer(const FileAnswer& answer, COpenFileRequest& request) const {
  std::string result;
  const bool multiple = (request.flags & kOfnAllowMultiSelect) != 0 && answer.paths.size() > 1;
  if (!multiple) {
    result = answer.paths.front();
    result.push_back('\0');
  } else {
    const std::string& first = answer.paths.front();
    const std::size_t cut = first.find_last_of("\\/");
    const std::string directory = cut == std::string::npos ? std::string() : first.substr(0, cut);
    result = directory;
    result.push_back('\0');
    for (const std::string& path : answer.paths) {
      const bool inDirectory = cut != std::string::npos && path.size() > cut &&
                               path.compare(0, cut + 1, first, 0, cut + 1) == 0;
      result += inDirectory ? path.substr(cut + 1) : path;
      result.push_back('\0');
    }
  }
  result.push_back('\0');
  if (request.fileBuffer == nullptr || result.size() > request.fileBufferSize) return false;
  std::memcpy(request.fileBuffer, result.data(), result.size());
  return true;
}

// --- dropped files ---------------------------------------------------------

unsigned CMemoryHost::DragQueryFile(HostDrop handle, unsigned index, char* buffer,
                                    unsigned capacity) {
  for (const auto& drop : m_drops) {
    if (handleOf<Drop, HostDrop>(drop.get()) != handle || drop->released) continue;
    return CopyDroppedPath(drop->paths, index, buffer, capacity);
  }
  return 0;
}

void CMemoryHost::DragFinish(HostDrop handle) {
  for (const auto& drop : m_drops) {
    if (handleOf<Drop, HostDrop>(drop.get()) == handle) drop->released = true;
  }
}

// --- system menu, icons, painting ------------------------------------------

HostMenu CMemoryHost::GetSystemMenu(HostWindow handle, bool) {
  Window* window = findWindow(handle);
  if (window == nullptr || window->control != nullptr || !window->dialog->hasSystemMenu()) {
    return nullptr;
  }
  return handleOf<Menu, HostMenu>(&window->dialog->systemMenu);
}

bool CMemoryHost::AppendMenu(HostMenu handle, unsigned flags, unsigned commandId,
                             std::string_view text) {
  for (const auto& dialog : m_dialogs) {
    if (handleOf<Menu, HostMenu>(&dialog->systemMenu) != handle) continue;
    dialog->systemMenu.items.push_back(MenuItem{flags, commandId, std::string(text)});
    return true;
  }
  return false;
}

void CMemoryHost::DefaultSysCommand(HostWindow handle, unsigned commandId) {
  Window* window = findWindow(handle);
  if (window == nullptr || !window->dialog->live()) return;
  // The close box of a dialog is its Cancel command.
  if ((commandId & 0xFFF0u) == kScClose) {
    window->dialog->handler->OnCommand(kIdCancel, kNotifyButtonClicked, nullptr);
  }
}

HostIcon CMemoryHost::LoadIcon(int resourceId) {
  if (Resources().findIcon(resourceId) == nullptr) return nullptr;
  auto& icon = m_icons[resourceId];
  if (!icon) icon = std::make_unique<Icon>(Icon{resourceId});
  return handleOf<Icon, HostIcon>(icon.get());
}

int CMemoryHost::IconId(HostIcon handle) const {
  for (const auto& [id, icon] : m_icons) {
    if (handleOf<Icon, HostIcon>(icon.get()) == handle) return id;
  }
  return 0;
}

void CMemoryHost::SetIcon(HostWindow handle, HostIcon icon, bool big) {
  Window* window = findWindow(handle);
  if (window == nullptr || window->control != nullptr) return;
  (big ? window->dialog->bigIcon : window->dialog->smallIcon) = icon;
}

bool CMemoryHost::IsIconic(HostWindow handle) const {
  Window* window = findWindow(handle);
  return window != nullptr && window->control == nullptr && window->dialog->minimized;
}

int CMemoryHost::GetSystemMetrics(int index) const {
  return index == kSmCxIcon || index == kSmCyIcon ? kIconSize : 0;
}

HostRect CMemoryHost::GetClientRect(HostWindow handle) const {
  Window* window = findWindow(handle);
  if (window == nullptr) return {};
  const int width = window->control ? window->control->width : window->dialog->layout->width;
  const int height = window->control ? window->control->height : window->dialog->layout->height;
  return HostRect{0, 0, width * kCharWidth / 4, height * kCharHeight / 8};
}

HostDC CMemoryHost::BeginPaint(HostWindow handle) { return GetDC(handle); }

void CMemoryHost::EndPaint(HostWindow handle, HostDC dc) { ReleaseDC(handle, dc); }

void CMemoryHost::EraseIconBackground(HostWindow handle, HostDC dc) {
  Window* window = findWindow(handle);
  if (window != nullptr && findDC(dc) != nullptr) ++window->dialog->iconBackgroundErasures;
}

void CMemoryHost::DrawIcon(HostDC handle, int x, int y, HostIcon icon) {
  DeviceContext* dc = findDC(handle);
  if (dc != nullptr && IconId(icon) != 0) dc->window->dialog->drawnIcons.push_back({x, y, icon});
}

void CMemoryHost::DefaultPaint(HostWindow handle) {
  if (Window* window = findWindow(handle)) ++window->dialog->defaultPaints;
}

// --- text measuring --------------------------------------------------------

HostFont CMemoryHost::GetFont(HostWindow handle) const {
  return findWindow(handle) != nullptr ? handleOf<Font, HostFont>(m_dialogFont.get()) : nullptr;
}

HostDC CMemoryHost::GetDC(HostWindow handle) {
  Window* window = findWindow(handle);
  if (window == nullptr) return nullptr;
  m_dcs.push_back(std::make_unique<DeviceContext>(DeviceContext{window, m_systemFont.get()}));
  return handleOf<DeviceContext, HostDC>(m_dcs.back().get());
}

HostFont CMemoryHost::SelectFont(HostDC handle, HostFont font) {
  DeviceContext* dc = findDC(handle);
  Font* selected = findFont(font);
  if (dc == nullptr || selected == nullptr) return nullptr;
  Font* previous = dc->font;
  dc->font = selected;
  return handleOf<Font, HostFont>(previous);
}

int CMemoryHost::GetTextExtent(HostDC handle, std::string_view text) {
  DeviceContext* dc = findDC(handle);
  if (dc == nullptr) return 0;
  return static_cast<int>(text.size()) * dc->font->charWidth;
}

void CMemoryHost::ReleaseDC(HostWindow, HostDC handle) {
  std::erase_if(m_dcs, [&](const auto& dc) {
    return handleOf<DeviceContext, HostDC>(dc.get()) == handle;
  });
}

// --- resources and files ---------------------------------------------------

std::string CMemoryHost::LoadString(int id) const {
  // Kept in UTF-8, the native code page where this host runs.
  const StringResource* entry = Resources().findString(id);
  return entry != nullptr ? std::string(entry->text) : std::string();
}

bool CMemoryHost::IsDBCSLeadByte(unsigned char byte) const {
  return isLeadByteInCodePage(m_codePage, byte);
}

bool CMemoryHost::IsSameFile(const char* first, const char* second) const {
  return pathsNameSameFile(first, second);
}

// --- the user --------------------------------------------------------------

bool CMemoryHost::DropFiles(int controlId, const std::vector<std::string>& paths) {
  Window* target = findControl(controlId);
  if (target == nullptr || !target->hasStyle(control_style::kAcceptFiles)) return false;
  m_drops.push_back(std::make_unique<Drop>(Drop{paths}));
  Drop* drop = m_drops.back().get();
  target->dialog->handler->OnDropFiles(handleOf<Window, HostWindow>(target),
                                       handleOf<Drop, HostDrop>(drop));
  if (!drop->released) ++m_unreleasedDrops;
  std::erase_if(m_drops, [&](const auto& entry) { return entry.get() == drop; });
  return true;
}

bool CMemoryHost::SelectEntry(int listId, int index) {
  Window* list = findControl(listId);
  if (list == nullptr || !list->isList() || !list->enabled || index < 0 ||
      index >= static_cast<int>(list->items.size())) {
    return false;
  }
  list->selection = index;
  if (list->hasStyle(control_style::kNotify)) {
    list->dialog->handler->OnCommand(listId, kNotifyListSelChange,
                                     handleOf<Window, HostWindow>(list));
  }
  return true;
}

bool CMemoryHost::TypeText(int editId, std::string_view text) {
  Window* edit = findControl(editId);
  if (edit == nullptr || edit->control->kind != ControlKind::kEdit || !edit->enabled) return false;
  edit->text = std::string(text);
  return true;
}

bool CMemoryHost::PressButton(int controlId) {
  Window* button = findControl(controlId);
  if (button == nullptr || !button->enabled) return false;
  const ControlKind kind = button->control->kind;
  if (kind == ControlKind::kCheckBox) {
    button->check = button->check == kBstChecked ? kBstUnchecked : kBstChecked;
  } else if (kind != ControlKind::kPushButton && kind != ControlKind::kDefPushButton) {
    return false;
  }
  button->dialog->handler->OnCommand(controlId, kNotifyButtonClicked,
                                     handleOf<Window, HostWindow>(button));
  return true;
}

bool CMemoryHost::ChooseSystemMenuItem(unsigned commandId) {
  Dialog* dialog = topDialog();
  if (dialog == nullptr || !dialog->hasSystemMenu()) return false;
  const bool standard = (commandId & 0xF000u) == 0xF000u;  // SC_* commands
  const bool appended = std::any_of(dialog->systemMenu.items.begin(),
                                    dialog->systemMenu.items.end(), [&](const MenuItem& item) {
                                      return item.flags == kMfString && item.commandId == commandId;
                                    });
  if (!standard && !appended) return false;
  dialog->handler->OnSysCommand(commandId);
  return true;
}

bool CMemoryHost::PressHelp() {
  Dialog* dialog = topDialog();
  if (dialog == nullptr) return false;
  dialog->handler->OnHelp();
  return true;
}

bool CMemoryHost::SetMinimized(bool minimized) {
  Dialog* dialog = topDialog();
  if (dialog == nullptr) return false;
  dialog->minimized = minimized;
  return true;
}

bool CMemoryHost::Paint() {
  Dialog* dialog = topDialog();
  if (dialog == nullptr) return false;
  dialog->handler->OnPaint();
  return true;
}

HostIcon CMemoryHost::QueryDragIcon() {
  Dialog* dialog = topDialog();
  return dialog != nullptr ? dialog->handler->OnQueryDragIcon() : nullptr;
}

int CMemoryHost::TopTemplateId() const {
  Dialog* dialog = topDialog();
  return dialog != nullptr ? dialog->layout->id : -1;
}

std::vector<std::string> CMemoryHost::ListEntries(int listId) const {
  Window* list = findControl(listId);
  return list != nullptr ? list->items : std::vector<std::string>();
}

int CMemoryHost::ListSelection(int listId) const {
  Window* list = findControl(listId);
  return list != nullptr ? list->selection : kListError;
}

int CMemoryHost::ListHorizontalExtent(int listId) const {
  Window* list = findControl(listId);
  return list != nullptr ? list->horizontalExtent : 0;
}

std::string CMemoryHost::ControlText(int controlId) const {
  Window* control = findControl(controlId);
  return control != nullptr ? control->text : std::string();
}

bool CMemoryHost::IsControlEnabled(int controlId) const {
  Window* control = findControl(controlId);
  return control != nullptr && control->enabled;
}

bool CMemoryHost::IsChecked(int checkBoxId) const {
  Window* button = findControl(checkBoxId);
  return button != nullptr && button->check == kBstChecked;
}

HostIcon CMemoryHost::WindowIcon(bool big) const {
  Dialog* dialog = topDialog();
  if (dialog == nullptr) return nullptr;
  return big ? dialog->bigIcon : dialog->smallIcon;
}

std::vector<CMemoryHost::MenuItem> CMemoryHost::SystemMenuItems() const {
  Dialog* dialog = topDialog();
  return dialog != nullptr ? dialog->systemMenu.items : std::vector<MenuItem>();
}

std::vector<CMemoryHost::DrawnIcon> CMemoryHost::DrawnIcons() const {
  Dialog* dialog = topDialog();
  return dialog != nullptr ? dialog->drawnIcons : std::vector<DrawnIcon>();
}

int CMemoryHost::IconBackgroundErasures() const {
  Dialog* dialog = topDialog();
  return dialog != nullptr ? dialog->iconBackgroundErasures : 0;
}

int CMemoryHost::DefaultPaints() const {
  Dialog* dialog = topDialog();
  return dialog != nullptr ? dialog->defaultPaints : 0;
}

}  // namespace vesk
