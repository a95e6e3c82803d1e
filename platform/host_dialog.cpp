#include "platform/host_dialog.h"

namespace vesk {

void CHostDialog::OnCommand(int controlId, int notifyCode, HostWindow) {
  if (notifyCode != kNotifyButtonClicked) return;
  if (controlId == kIdOk) OnOK();
  if (controlId == kIdCancel) OnCancel();
}

void CHostDialog::OnDropFiles(HostWindow, HostDrop drop) {
  // A window that does not take drops still has to release them.
  m_host.DragFinish(drop);
}

}  // namespace vesk
