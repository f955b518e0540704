#include "scan/signature_pass.h"

#include <map>

#include "win/error_text.h"
#include "win/long_path.h"

namespace scan {

void CheckSignatures(ResultTable& table, ProblemListener& problems) {
  std::map<std::wstring, std::optional<SignatureCheck>> checked;
  for (int row = 0; row < table.RowCount() && !table.Abandoned(); ++row) {
    const std::optional<std::wstring> path = table.ExactPath(row);
    if (!path) continue;
    auto [at, fresh] = checked.try_emplace(*path);
    if (fresh) {
      // A row with an Architecture is a module the scan has read already.
      const bool module = !table.Cell(row, ArchitectureColumn).empty();
      at->second = CheckSignature(win::VerbatimPath(*path), module);
      if (at->second && at->second->status == SignatureCheck::Status::Unreadable)
        problems.Report(Problem::Signature, *path, win::ErrorText(at->second->error));
    }
    table.SetSignature(row, at->second);
    table.Repaint();
  }
  if (!table.Abandoned()) table.AutoSizeColumn(SignatureColumn);
}

}  // namespace scan
