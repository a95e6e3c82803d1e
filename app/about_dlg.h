// CAboutDlg: the About box (template 100), shown from the system menu.
// A plain modal dialog: its OK button closes it; it holds nothing.
#pragma once

#include "app/resource_ids.h"
#include "platform/host_dialog.h"

namespace vesk {

class CAboutDlg : public CHostDialog {
 public:
  explicit CAboutDlg(CUiHost& host) : CHostDialog(host, kIddAboutBox) {}
};

}  // namespace vesk
