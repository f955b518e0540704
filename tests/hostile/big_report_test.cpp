// A report of twenty thousand rows reaches the clipboard byte for byte.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "clipboard_reader.h"
#include "list_window.h"
#include "scan/report.h"
#include "support/scratch_registry.h"
#include "ui/row_commands.h"

namespace {

TEST(BigReport, TwentyThousandRowsReachTheClipboardWhole) {
  test_support::ScratchRegistry registry;
  registry.CreateKey("Software\\Adobe\\Photoshop\\9.0");
  list_test::ListWindow window;
  // Inserted in descending order, each row lands on top at once.
  char name[32];
  for (int i = 19999; i >= 0; --i) {
    std::snprintf(name, sizeof name, "Plug-in %05d.8b%c", i, "fi\xe9"[i % 3]);
    const int row = window.Table().InsertRow(name);
    ASSERT_EQ(row, 0);
    window.Table().SetCell(row, 1, i % 7 ? std::to_string(i % 100) + ".0.0." + std::to_string(i) : "");
    window.Table().SetCell(row, 2, "Photoshop CS" + std::to_string(i % 6));
    window.Table().SetCell(row, 3, "C:\\Program Files\\Adobe\\Plug-Ins\\Set " + std::to_string(i / 100));
  }
  ASSERT_EQ(window.Table().RowCount(), 20000);
  list_test::SetClipboardMarker("stale");
  ui::CopyReport(window.Table());
  scan::StringSink expected;
  scan::WriteTextReport(window.Table(), expected);
  const list_test::ClipboardText pasted = list_test::ReadClipboardText();
  ASSERT_TRUE(pasted.present);
  EXPECT_TRUE(pasted.zeroAfterText);
  EXPECT_GT(expected.text.size(), 20000u * 100);
  ASSERT_EQ(pasted.text.size(), expected.text.size());
  EXPECT_TRUE(pasted.text == expected.text);  // not printed: megabytes
}

}  // namespace
