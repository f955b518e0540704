#include "win/ansi.h"

#include <utility>

#include <gtest/gtest.h>

#include "scan/memory_table.h"
#include "scan/visible_text.h"
#include "win/utf8.h"

namespace {

TEST(AnsiTest, ComparisonsAndPaths) {
  EXPECT_EQ(ansi::Compare("abc", "abc"), 0);
  EXPECT_NE(ansi::Compare("abc", "ABC"), 0);
  EXPECT_EQ(ansi::CompareNoCase("Camera Raw.8bi", "camera raw.8BI"), 0);
  EXPECT_LT(ansi::CompareNoCase("_x", "a"), 0);
  EXPECT_EQ(ansi::ReplaceAll("3, 3, 0, 0", ", ", "."), "3.3.0.0");
  EXPECT_EQ(ansi::ReplaceAll("a,,b", ",", ""), "ab");
  EXPECT_EQ(ansi::JoinPath("C:\\P", "x.8bi"), "C:\\P\\x.8bi");
  EXPECT_EQ(ansi::JoinPath("C:\\P\\", "x.8bi"), "C:\\P\\x.8bi");
  EXPECT_EQ(ansi::SpanIncluding("1.2.3a", "0123456789."), "1.2.3");
  EXPECT_DOUBLE_EQ(ansi::ToDouble("4.0.1"), 4.0);
  EXPECT_DOUBLE_EQ(ansi::ToDouble("Registration"), 0.0);
  EXPECT_EQ(ansi::ToLower("Camera RAW.8BI"), "camera raw.8bi");
  EXPECT_EQ(ansi::WithoutAccessKey("More free do&wnloads at Halberwick!"),
            "More free downloads at Halberwick!");
  EXPECT_EQ(ansi::WithoutAccessKey("&Fish && &Chips&"), "Fish & Chips");
}

TEST(VisibleTextTest, ControlsShowAsEscapesAndBackslashesOnlyWhereTheyWouldMisread) {
  const std::pair<std::wstring, std::wstring> cases[] = {
      {L"9.7\r\nFAKE LINE", L"9.7\\r\\nFAKE LINE"},
      {L"a\tb", L"a\\tb"},
      {std::wstring(L"\x01\0\x1f\x7f\x85", 5), L"\\x01\\x00\\x1F\\x7F\\x85"},
      {L"a\u2028b\u2029", L"a\\u{2028}b\\u{2029}"},
      {L"C:\\Program Files\\Adobe\\", L"C:\\Program Files\\Adobe\\"},
      {L"C:\\temp\\x64\\new\\raw\\u", L"C:\\\\temp\\\\x64\\\\new\\\\raw\\\\u"},
      {L"\\\\server\\share", L"\\\\\\server\\share"},
      {L"end\\\t", L"end\\\\\\t"},
      {L"caf\u00e9 \u65e5\u672c", L"caf\u00e9 \u65e5\u672c"},
  };
  for (const auto& [text, visible] : cases) {
    EXPECT_EQ(scan::VisibleText(text), visible) << ansi::WideToUtf8(text);
    if (scan::VisibleText(text, scan::Backslashes::Kept) != text) {
      EXPECT_TRUE(scan::MayNeedEscapes(ansi::WideToUtf8(text))) << ansi::WideToUtf8(text);
    }
  }
  // The text report keeps every backslash, so its paths never change.
  EXPECT_EQ(scan::VisibleText(L"C:\\temp\\x64\\a\tb", scan::Backslashes::Kept),
            L"C:\\temp\\x64\\a\\tb");
  EXPECT_FALSE(scan::MayNeedEscapes("C:\\temp\\Program Files\\Camera Raw.8bi"));
}

TEST(MemoryTableTest, PlacesRowsLikeASortedListView) {
  scan::MemoryTable table;
  for (const char* name : {"Nikon.8bi", "CAMERA RAW.8BI", "camera raw.8bi", "Camera Raw.8bi",
                           "_x.8bi", "camera raw.zip"})
    table.InsertRow(name);
  std::vector<std::string> names;
  for (const auto& row : table.Rows()) names.push_back(row[0]);
  EXPECT_EQ(names, (std::vector<std::string>{"_x.8bi", "camera raw.8bi", "Camera Raw.8bi",
                                             "CAMERA RAW.8BI", "camera raw.zip", "Nikon.8bi"}));
  // An equal name goes before the rows it equals.
  EXPECT_EQ(table.InsertRow("Camera Raw.8bi"), 2);
  EXPECT_EQ(table.Cell(99, 0), "");
  EXPECT_EQ(table.Cell(0, 9), "");
}

}  // namespace
