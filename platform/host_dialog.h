// CHostDialog: base of every modal dialog of the shell.
//
// Plays the part of the framework's dialog class: it names its template,
// runs modally through the host, and receives the host's events as virtual
// handlers whose defaults are the platform's default behaviour (OK and
// Cancel end the dialog, other system commands and painting go to the
// host). The host sets m_hWnd while the dialog is shown; the dialog object
// itself is owned by whoever constructed it, normally on the stack.
#pragma once

#include "platform/ui_host.h"

namespace vesk {

class CHostDialog {
 public:
  CHostDialog(CUiHost& host, int templateId) : m_host(host), m_templateId(templateId) {}
  virtual ~CHostDialog() = default;

  CHostDialog(const CHostDialog&) = delete;
  CHostDialog& operator=(const CHostDialog&) = delete;

  int DoModal(HostWindow owner = nullptr) { return m_host.DoModal(m_templateId, *this, owner); }
  void EndDialog(int result) { m_host.EndDialog(m_hWnd, result); }
  HostWindow GetDlgItem(int controlId) const { return m_host.GetDlgItem(m_hWnd, controlId); }
  unsigned IsDlgButtonChecked(int controlId) const {
    return m_host.ButtonGetCheck(GetDlgItem(controlId));
  }
  void CheckDlgButton(int controlId, unsigned check) {
    m_host.ButtonSetCheck(GetDlgItem(controlId), check);
  }
  HostWindow GetSafeHwnd() const { return m_hWnd; }
  int TemplateId() const { return m_templateId; }

  // Called by the host only.
  void AttachWindow(HostWindow window) { m_hWnd = window; }

  // Events.
  virtual bool OnInitDialog() { return true; }
  virtual void OnCommand(int controlId, int notifyCode, HostWindow control);
  virtual void OnSysCommand(unsigned commandId) { m_host.DefaultSysCommand(m_hWnd, commandId); }
  virtual void OnPaint() { m_host.DefaultPaint(m_hWnd); }
  virtual HostIcon OnQueryDragIcon() { return nullptr; }
  virtual void OnDropFiles(HostWindow control, HostDrop drop);
  virtual void OnHelp() {}
  virtual void OnOK() { EndDialog(kIdOk); }
  virtual void OnCancel() { EndDialog(kIdCancel); }

 protected:
  CUiHost& m_host;
  HostWindow m_hWnd = nullptr;

 private:
  int m_templateId;
};

}  // namespace vesk
