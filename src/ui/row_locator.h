#pragma once
// Finds the list's rows that show one file, by their exact File and
// Location texts. Nothing else travels with a row when a heading click
// sorts the list (the text sort moves texts, and the numeric sort's keys
// take the item data), so the file is the row's only name.
//
// The feed tells it every row it inserts, so it knows the list's order
// without reading the list; a row it finds is checked against the list
// before it is used, and one that shows another file by now (the list was
// sorted) makes it read the list's order once.
#include <string>
#include <unordered_map>
#include <vector>

#include "ui/list_view_table.h"

namespace ui {

class RowLocator {
 public:
  explicit RowLocator(const ListViewTable& table) : table_(table) {}

  // The list was emptied.
  void Clear();
  // A row showing that file now stands at `at`.
  void Inserted(int at, const std::wstring& file, const std::wstring& location);
  // Every row showing that file, none when none does.
  std::vector<int> Rows(const std::wstring& file, const std::wstring& location);

 private:
  static std::wstring Key(const std::wstring& file, const std::wstring& location) {
    return file + L'\n' + location;  // no name holds a line end
  }
  void Map();
  void ReadList();

  const ListViewTable& table_;
  std::vector<std::wstring> order_;  // each row's key, in list order
  std::unordered_map<std::wstring, std::vector<int>> rows_;
  bool mapped_ = false;  // rows_ is made from order_ as it stands
};

}  // namespace ui
