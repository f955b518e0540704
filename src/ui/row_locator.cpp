#include "ui/row_locator.h"

namespace ui {

std::vector<int> RowLocator::Rows(const std::wstring& file, const std::wstring& location) {
  const std::wstring key = Key(file, location);
  auto stillThere = [&](const std::vector<int>& rows) {
    for (int row : rows)
      if (table_.WideCell(row, scan::FileColumn) != file ||
          table_.WideCell(row, scan::LocationColumn) != location)
        return false;
    return true;
  };
  if (read_) {
    const auto found = rows_.find(key);
    if (found != rows_.end() && stillThere(found->second)) return found->second;
  }
  ReadList();
  const auto found = rows_.find(key);
  return found == rows_.end() ? std::vector<int>{} : found->second;
}

void RowLocator::ReadList() {
  rows_.clear();
  for (int row = 0, count = table_.RowCount(); row < count; ++row)
    rows_[Key(table_.WideCell(row, scan::FileColumn), table_.WideCell(row, scan::LocationColumn))]
        .push_back(row);
  read_ = true;
}

}  // namespace ui
