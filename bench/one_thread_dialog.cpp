#include "one_thread_dialog.h"

#include "res/resource.h"
#include "ui/result_columns.h"

namespace bench {

OneThreadDialog::OneThreadDialog() : win::Dialog(IDD_MAIN) {}

BOOL OneThreadDialog::OnInitDialog() {
  table_.Attach(Item(IDC_RESULT_LIST));
  ui::PrepareResultList(table_.Handle());
  scanner_.ScanInstallations();
  return TRUE;
}

bool OneThreadDialog::OnCommand(int id, int code, HWND) {
  if (id != IDC_SHOW_ALL || code != BN_CLICKED) return false;
  scanner_.ShowAllPlugins = ::IsDlgButtonChecked(Handle(), IDC_SHOW_ALL) == BST_CHECKED;
  table_.DeleteAllRows();
  scanner_.Reset();
  scanner_.ScanInstallations();
  return true;
}

bool OneThreadDialog::OnNotify(const NMHDR& header, LRESULT& result) {
  return table_.OnNotify(header, result);
}

}  // namespace bench
