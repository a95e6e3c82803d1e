#include "app/input_list_box.h"

#include <algorithm>
#include <vector>

#include "app/path_parts.h"
#include "platform/dialog_units.h"

namespace vesk {

namespace {

constexpr std::string_view kSchematicExtension = ".ce3";
// Room left beside the longest entry so that its end is not under the
// edge, in pixels at 100%: it grows with the display's scale, as the text
// measured beside it does.
constexpr int kExtentMargin = 20;

}  // namespace

bool CInputListBox::GetText(int index, std::string& text) const {
  const int length = GetTextLen(index);
  if (length < 0) return false;
  text.resize(static_cast<std::size_t>(length) + 1);
  const int copied = GetText(index, text.data(), text.size());
  if (copied < 0) {
    text.clear();
    return false;
  }
  text.resize(static_cast<std::size_t>(copied));
  return true;
}

void CInputListBox::OnDropFiles(HostDrop drop) {
  const int count = static_cast<int>(m_host.DragQueryFile(drop, kDragQueryCount, nullptr, 0));
  if (count <= 0) {
    m_host.DragFinish(drop);
    return;
  }
  // The host's path limit: MAX_PATH on Windows, where longer paths are cut,
  // the system's own elsewhere.
  const std::size_t capacity = std::max<std::size_t>(m_host.MaxPathLength(), 1);
  std::vector<char> path(capacity, '\0');
  for (int i = 0; i < count; ++i) {
    const unsigned length = m_host.DragQueryFile(drop, static_cast<unsigned>(i), path.data(),
                                                 static_cast<unsigned>(capacity));
    const std::string_view text(path.data(), std::min<std::size_t>(length, capacity - 1));
    const PathParts parts = PathParts::Split(text, m_host);
    if (EqualsIgnoringAsciiCase(parts.extension, kSchematicExtension)) AddString(text);
  }
  m_host.DragFinish(drop);
  UpdateHorizontalExtent();
  const HostWindow parent = m_host.GetParent(m_hWnd);
  m_host.SendCommand(parent, m_host.GetDlgCtrlID(m_hWnd), kNotifyListSelChange, m_hWnd);
}

void CInputListBox::UpdateHorizontalExtent() {
  const HostDC dc = m_host.GetDC(m_hWnd);
  const HostFont previous = m_host.SelectFont(dc, m_host.GetFont(m_hWnd));
  int widest = 0;
  std::string text;
  const int count = GetCount();
  for (int i = 0; i < count; ++i) {
    if (GetText(i, text)) widest = std::max(widest, m_host.GetTextExtent(dc, text));
  }
  if (previous != nullptr) m_host.SelectFont(dc, previous);
  m_host.ReleaseDC(m_hWnd, dc);
  const int margin = mulDiv(kExtentMargin, m_host.GetDpiForWindow(m_hWnd), kDefaultDpi);
  m_host.ListSetHorizontalExtent(m_hWnd, widest + margin);
}

}  // namespace vesk
