#pragma once
// Finds the list's rows that show one file, by their exact File and
// Location texts. Nothing else travels with a row when a heading click
// sorts the list (the text sort moves texts, and the numeric sort's keys
// take the item data), so the file is the row's only name.
//
// It remembers where each file stood and checks a remembered row before it
// uses it; a row that shows another file by now (the list was sorted) makes
// it read the list again, once per sort.
#include <string>
#include <unordered_map>
#include <vector>

#include "ui/list_view_table.h"

namespace ui {

class RowLocator {
 public:
  explicit RowLocator(const ListViewTable& table) : table_(table) {}

  // Rows were inserted or deleted: every remembered index may be off.
  void Forget() {
    rows_.clear();
    read_ = false;
  }
  // Every row showing that file, none when none does.
  std::vector<int> Rows(const std::wstring& file, const std::wstring& location);

 private:
  static std::wstring Key(const std::wstring& file, const std::wstring& location) {
    return file + L'\n' + location;  // no name holds a line end
  }
  void ReadList();

  const ListViewTable& table_;
  std::unordered_map<std::wstring, std::vector<int>> rows_;
  bool read_ = false;
};

}  // namespace ui
