// CInputListBox: the list of input schematic files (control 1001).
//
// Wraps the list box control of the main dialog: the host owns the control
// and its entries (full paths, in the order added, duplicates kept); this
// object only holds the window handle, bound in the dialog's
// initialisation. It takes dropped ".ce3" files and keeps the horizontal
// scroll range wide enough for the longest entry.
#pragma once

#include <string>

#include "platform/ui_host.h"

namespace vesk {

class CInputListBox {
 public:
  explicit CInputListBox(CUiHost& host) : m_host(host) {}

  void Attach(HostWindow window) { m_hWnd = window; }
  HostWindow GetSafeHwnd() const { return m_hWnd; }

  int AddString(std::string_view text) { return m_host.ListAddString(m_hWnd, text); }
  void ResetContent() { m_host.ListResetContent(m_hWnd); }
  int GetCount() const { return m_host.ListGetCount(m_hWnd); }
  int GetCurSel() const { return m_host.ListGetCurSel(m_hWnd); }
  int GetTextLen(int index) const { return m_host.ListGetTextLen(m_hWnd, index); }
  int GetText(int index, char* buffer, std::size_t capacity) const {
    return m_host.ListGetText(m_hWnd, index, buffer, capacity);
  }
  // The entry's whole text; false for a bad index.
  bool GetText(int index, std::string& text) const;

  void OnDropFiles(HostDrop drop);
  void UpdateHorizontalExtent();

 private:
  CUiHost& m_host;
  HostWindow m_hWnd = nullptr;
};

}  // namespace vesk
