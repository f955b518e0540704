#include "ui/row_locator.h"

namespace ui {

void RowLocator::Clear() {
  order_.clear();
  rows_.clear();
  mapped_ = false;
}

void RowLocator::Inserted(int at, const std::wstring& file, const std::wstring& location) {
  if (at < 0 || static_cast<std::size_t>(at) > order_.size()) return ReadList();
  order_.insert(order_.begin() + at, Key(file, location));
  mapped_ = false;
}

std::vector<int> RowLocator::Rows(const std::wstring& file, const std::wstring& location) {
  if (!mapped_) Map();
  const auto found = rows_.find(Key(file, location));
  bool stillThere = found != rows_.end();
  if (stillThere)
    for (int row : found->second)
      stillThere &= table_.WideCell(row, scan::FileColumn) == file &&
                    table_.WideCell(row, scan::LocationColumn) == location;
  if (stillThere) return found->second;
  ReadList();
  Map();
  const auto again = rows_.find(Key(file, location));
  return again == rows_.end() ? std::vector<int>{} : again->second;
}

void RowLocator::Map() {
  rows_.clear();
  for (std::size_t row = 0; row < order_.size(); ++row)
    rows_[order_[row]].push_back(static_cast<int>(row));
  mapped_ = true;
}

void RowLocator::ReadList() {
  order_.clear();
  for (int row = 0, count = table_.RowCount(); row < count; ++row)
    order_.push_back(
        Key(table_.WideCell(row, scan::FileColumn), table_.WideCell(row, scan::LocationColumn)));
  mapped_ = false;
}

}  // namespace ui
