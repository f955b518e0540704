#pragma once
// One row of the result list as the scan builds it, once, with every cell
// it knows: its id is its place in the order of arrival (0 for a scan's
// first row), given when it is built and kept wherever the row goes, so a
// later cell (the signature) names its row by it. The row is moved from the
// scan through the hand-over into the table, never copied cell by cell.
#include <array>
#include <optional>
#include <string>

#include "scan/result_table.h"

namespace scan {

struct ResultRow {
  int id = -1;
  std::array<std::string, kColumnCount> cells;  // the ANSI texts
  // The names the system returned behind File and Location, and the label
  // as made from the registry's exact text, when known.
  std::wstring exactFile, exactLocation, exactProduct;
  bool exactKnown = false;
  ResultTable::Architectures architectures;  // also shown, together, in their cell
  std::optional<SignatureCheck> signature;   // once checked; nothing: no module
};

}  // namespace scan
