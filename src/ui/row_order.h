#pragma once
// The heading click's sort as functions over the table that give an order
// (`from[i]`: the row that comes to stand at i), and where a row found
// after the click goes among rows standing in that order. The keys are
// computed for the click or the row that needs them, never stored.
#include <vector>

#include "scan/memory_table.h"

namespace ui {

// A sort chosen by a heading click: rows placed later follow it.
struct SortRule {
  int column = -1;  // none: File order
  bool ascending = true;
  bool numeric = false;
};

// Every cell of the column made of digits and full stops, tested in row
// order. A column whose cells are all still empty goes by the rule its
// cells will need (scan::ColumnInfo::numbers).
bool IsNumericColumn(const scan::MemoryTable& table, int column);
// By the numeric keys; rows with equal keys keep their order among
// themselves, as the list control's own sort of its items keeps it.
std::vector<int> NumericOrder(const scan::MemoryTable& table, int column, bool ascending);
// The text quicksort of rows low..high by the column as the list shows it;
// the rows outside stay. Its ties fall as they always fell: rows equal but
// for case trade places, identical ones do not.
std::vector<int> TextOrder(const scan::MemoryTable& table, int column, bool ascending, int low,
                           int high);
// Where `row` goes among rows that stand sorted by `rule`: after the rows
// that order before it or equal to it. With `skip`, that row of the table
// is left out, and the place is one among the others: where a row already
// in goes once its cell has changed.
int SortedPlace(const scan::MemoryTable& table, const SortRule& rule, const scan::ResultRow& row,
                int skip = -1);

}  // namespace ui
