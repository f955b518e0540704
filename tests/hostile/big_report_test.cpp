// A report of twenty thousand rows reaches the clipboard byte for byte. The
// rows are in memory: a list view under Wine takes minutes to be filled with
// that many, and the copy reads any table the same way.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "clipboard_reader.h"
#include "scan/memory_table.h"
#include "scan/report.h"
#include "support/scratch_registry.h"
#include "ui/row_commands.h"

namespace {

TEST(BigReport, TwentyThousandRowsReachTheClipboardWhole) {
  test_support::ScratchRegistry registry;
  registry.CreateKey("Software\\Adobe\\Photoshop\\9.0");
  scan::MemoryTable table;
  // Inserted in ascending order, each row lands at the end at once.
  char name[32];
  for (int i = 0; i < 20000; ++i) {
    std::snprintf(name, sizeof name, "Plug-in %05d.8b%c", i, "fi\xe9"[i % 3]);
    const int row = table.InsertRow(name);
    ASSERT_EQ(row, i);
    table.SetCell(row, 1, i % 7 ? std::to_string(i % 100) + ".0.0." + std::to_string(i) : "");
    table.SetCell(row, 2, "Photoshop CS" + std::to_string(i % 6));
    table.SetCell(row, 3, "C:\\Program Files\\Adobe\\Plug-Ins\\Set " + std::to_string(i / 100));
  }
  list_test::SetClipboardMarker("stale");
  ui::CopyReport(table);
  scan::StringSink expected;
  scan::WriteTextReport(table, expected);
  const list_test::ClipboardText pasted = list_test::ReadClipboardText();
  ASSERT_TRUE(pasted.present);
  EXPECT_TRUE(pasted.zeroAfterText);
  EXPECT_GT(expected.text.size(), 20000u * 100);
  ASSERT_EQ(pasted.text.size(), expected.text.size());
  EXPECT_TRUE(pasted.text == expected.text);  // not printed: megabytes
}

}  // namespace
