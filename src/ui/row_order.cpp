#include "ui/row_order.h"

#include <algorithm>
#include <numeric>
#include <string>

#include "ui/sort_keys.h"
#include "win/wide_compare.h"

namespace ui {
namespace {

std::vector<int> Identity(int rows) {
  std::vector<int> from(rows);
  std::iota(from.begin(), from.end(), 0);
  return from;
}

// One text sort's rows, by where they stood, and their texts, in the order
// the sort has put them so far.
struct TextRun {
  std::vector<int> from;
  std::vector<std::wstring> texts;
};

void QuickSort(TextRun& run, bool ascending, int low, int high) {
  if (high <= low) return;
  const std::wstring pivot = run.texts[(low + high) / 2];
  // Positive: the row's text belongs after the pivot in this direction.
  auto order = [&](int row) {
    const int c = wide::CompareNoCase(run.texts[row], pivot);
    return ascending ? c : -c;
  };
  int i = low, j = high;
  while (i <= j) {
    while (i < high && order(i) < 0) ++i;
    while (j > low && order(j) > 0) --j;
    if (i <= j) {
      if (wide::Compare(run.texts[i], run.texts[j]) != 0) {
        std::swap(run.texts[i], run.texts[j]);
        std::swap(run.from[i], run.from[j]);
      }
      ++i;
      --j;
    }
  }
  if (low < j) QuickSort(run, ascending, low, j);
  if (i < high) QuickSort(run, ascending, i, high);
}

}  // namespace

bool IsNumericColumn(const scan::MemoryTable& table, int column) {
  bool filled = false;
  for (int row = 0, rows = table.RowCount(); row < rows; ++row) {
    const std::string cell = table.Cell(row, column);
    if (!IsNumericText(cell)) return false;
    filled |= !cell.empty();
  }
  return filled || column < 0 || column >= scan::kColumnCount || scan::kColumns[column].numbers;
}

std::vector<int> NumericOrder(const scan::MemoryTable& table, int column, bool ascending) {
  const int rows = table.RowCount();
  std::vector<int> keys(rows);
  for (int row = 0; row < rows; ++row) keys[row] = SortKey(table.Cell(row, column), ascending);
  std::vector<int> from = Identity(rows);
  std::stable_sort(from.begin(), from.end(), [&](int a, int b) { return keys[a] < keys[b]; });
  return from;
}

std::vector<int> TextOrder(const scan::MemoryTable& table, int column, bool ascending, int low,
                           int high) {
  const int rows = table.RowCount();
  TextRun run{Identity(rows), {}};
  run.texts.reserve(rows);
  for (int row = 0; row < rows; ++row) run.texts.push_back(table.WideCell(row, column));
  QuickSort(run, ascending, low, high);
  return run.from;
}

int SortedPlace(const scan::MemoryTable& table, const SortRule& rule, const scan::ResultRow& row,
                int skip) {
  const bool skipping = skip >= 0 && skip < table.RowCount();
  const int rows = table.RowCount() - skipping;
  auto place = [&](auto notAfter) {
    int low = 0, high = rows;  // the first row the new one comes before
    while (low < high) {
      const int middle = low + (high - low) / 2;
      if (notAfter(skipping && middle >= skip ? middle + 1 : middle))
        low = middle + 1;
      else
        high = middle;
    }
    return low;
  };
  if (rule.numeric) {
    const int key = SortKey(row.cells[rule.column], rule.ascending);
    return place([&](int at) { return SortKey(table.Cell(at, rule.column), rule.ascending) <= key; });
  }
  const std::wstring text = scan::MemoryTable::WideText(row, rule.column);
  return place([&](int at) {
    const int c = wide::CompareNoCase(table.WideCell(at, rule.column), text);
    return rule.ascending ? c <= 0 : c >= 0;
  });
}

}  // namespace ui
