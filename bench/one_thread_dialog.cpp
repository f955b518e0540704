#include "one_thread_dialog.h"

#include "res/resource.h"
#include "ui/result_columns.h"

namespace bench {

OneThreadDialog::OneThreadDialog() : win::Dialog(IDD_MAIN) {}

BOOL OneThreadDialog::OnInitDialog() {
  list_.Attach(Item(IDC_RESULT_LIST), table_);
  ui::PrepareResultList(list_.Handle());
  Scan();
  return TRUE;
}

void OneThreadDialog::Scan() {
  scanner_.ScanInstallations();
  rows_.End();
}

bool OneThreadDialog::OnCommand(int id, int code, HWND) {
  if (id != IDC_SHOW_ALL || code != BN_CLICKED) return false;
  scanner_.ShowAllPlugins = ::IsDlgButtonChecked(Handle(), IDC_SHOW_ALL) == BST_CHECKED;
  list_.Clear();
  scanner_.Reset();
  Scan();
  return true;
}

}  // namespace bench
