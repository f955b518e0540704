// The CSV and JSON reports, byte for byte, on cells that need quoting,
// escaping and conversion from the ANSI code page (1252 under test).
#include <gtest/gtest.h>

#include "scan/csv_report_writer.h"
#include "scan/json_report_writer.h"
#include "scan/memory_table.h"
#include "support/scratch_registry.h"

namespace {

// The JSON's start from a writer told nothing about the machine.
const std::string kUnnamedMachine =
    "{\"format\": 1, \"machine\": {\"name\": \"\", \"windows\": \"\", \"architecture\": \"\", "
    "\"scanned_at\": \"\", \"varnock\": \"\"}, ";

class ReportFormatsTest : public ::testing::Test {
 protected:
  void AddRow(const std::string& file, const std::string& version, const std::string& product,
              const std::string& location) {
    int row = table.InsertRow(file);
    table.SetCell(row, scan::VersionColumn, version);
    table.SetCell(row, scan::ProductColumn, product);
    table.SetCell(row, scan::LocationColumn, location);
  }
  template <typename Writer>
  std::string Report() {
    scan::StringSink sink;
    Writer writer(sink);
    scan::WriteReport(table, writer);
    return sink.text;
  }

  test_support::ScratchRegistry registry;
  scan::MemoryTable table;
};

TEST_F(ReportFormatsTest, CsvQuotesOnlyWhatNeedsIt) {
  registry.CreateKey("Software\\Adobe\\Photoshop\\9.0");  // not part of the CSV
  AddRow("Cam\xE9ra Raw.8bi", "3.7.0.0", "Photoshop \"Beta\", 2", "C:\\PS, old\\Plug-Ins");
  AddRow("camera raw.zip", "", "line\r\nbreak", "lone\ncr\r");
  AddRow("x.8bi", "\x80", "tab\tand space ", "\"");
  EXPECT_EQ(Report<scan::CsvReportWriter>(),
            "\xEF\xBB\xBF"
            "File,Version,Product,Location,Architecture,Program architecture\r\n"
            "Cam\xC3\xA9ra Raw.8bi,3.7.0.0,\"Photoshop \"\"Beta\"\", 2\",\"C:\\PS, old\\Plug-Ins\",,\r\n"
            "camera raw.zip,,\"line\r\nbreak\",\"lone\ncr\r\",,\r\n"
            "x.8bi,\xE2\x82\xAC,tab\tand space ,\"\"\"\",,\r\n");
}

TEST_F(ReportFormatsTest, JsonEscapesEveryControlCharacter) {
  registry.CreateKey("Software\\Adobe\\Photoshop\\8.0");
  registry.CreateKey("Software\\Adobe\\Photoshop\\9.0 \"Trial\"");
  AddRow("Cam\xE9ra Raw.8bi", "", "q\" b\\ \b\f\n\r\t \x01\x1f\x7f", "C:\\PS\\Plug-Ins");
  EXPECT_EQ(Report<scan::JsonReportWriter>(),
            kUnnamedMachine + "\"installations\": {\"Photoshop\": [\"8.0\", \"9.0 \\\"Trial\\\"\"], "
            "\"Photoshop Elements\": []}, "
            "\"installations32\": {\"Photoshop\": [], \"Photoshop Elements\": []}, "
            "\"plugins\": [\r\n"
            "{\"file\": \"Cam\xC3\xA9ra Raw.8bi\", \"version\": \"\", "
            "\"product\": \"q\\\" b\\\\ \\b\\f\\n\\r\\t \\u0001\\u001f\x7f\", "
            "\"location\": \"C:\\\\PS\\\\Plug-Ins\", \"architecture\": null, "
            "\"program_architecture\": null, \"program_can_load\": null}\r\n"
            "]}\r\n");
}

TEST_F(ReportFormatsTest, CsvGuardsWhatASpreadsheetWouldRun) {
  using scan::CsvReportWriter;
  for (const char* formula : {"=1+1", "+1", "-1", "@SUM(1)", "\tx"})
    EXPECT_EQ(CsvReportWriter::Field(formula), std::string("'") + formula);
  EXPECT_EQ(CsvReportWriter::Field("\r=1"), "\"'\r=1\"");
  EXPECT_EQ(CsvReportWriter::Field("a=1, b"), "\"a=1, b\"");
  EXPECT_EQ(CsvReportWriter::Field(""), "");
}

TEST_F(ReportFormatsTest, MachineFormatsCarryExactNamesTheTextCannot) {
  AddRow("??.8bi", "1.0", "=Photoshop", "C:\\??");
  table.SetExactNames(0, L"\u65e5\u672c.8bi", L"C:\\\U0001F4F7");
  const std::string file = "\xE6\x97\xA5\xE6\x9C\xAC.8bi", folder = "C:\\\xF0\x9F\x93\xB7";
  table.SetArchitectures(0, {"ARM64", "x64", false});
  EXPECT_EQ(Report<scan::CsvReportWriter>(),
            "\xEF\xBB\xBF" "File,Version,Product,Location,Architecture,Program architecture\r\n" +
                file + ",1.0,'=Photoshop," + folder + ",ARM64,x64\r\n");
  EXPECT_NE(Report<scan::JsonReportWriter>().find("{\"file\": \"" + file +
                                                  "\", \"version\": \"1.0\", \"product\": \"=Photoshop\", "
                                                  "\"location\": \"C:\\\\" + folder.substr(3) +
                                                  "\", \"architecture\": \"arm64\", \"program_architecture\": \"x64\", \"program_can_load\": false}"),
            std::string::npos);
  scan::StringSink text;
  scan::WriteTextReport(table, text);
  EXPECT_NE(text.text.find("File:\t\t??.8bi\r\n"), std::string::npos);
}

TEST_F(ReportFormatsTest, EmptyMachine) {
  EXPECT_EQ(Report<scan::CsvReportWriter>(),
            "\xEF\xBB\xBF" "File,Version,Product,Location,Architecture,Program architecture\r\n");
  EXPECT_EQ(Report<scan::JsonReportWriter>(),
            kUnnamedMachine + "\"installations\": {\"Photoshop\": [], \"Photoshop Elements\": []}, "
            "\"installations32\": {\"Photoshop\": [], \"Photoshop Elements\": []}, "
            "\"plugins\": [\r\n]}\r\n");
  scan::StringSink named;
  scan::JsonReportWriter writer(named, {"PC \"7\"", "10.0.19045", "arm64", "2026-01-31T23:59:07Z", "1.3.0.0"});
  scan::WriteReport(table, writer);
  EXPECT_TRUE(named.text.starts_with(
      "{\"format\": 1, \"machine\": {\"name\": \"PC \\\"7\\\"\", \"windows\": \"10.0.19045\", "
      "\"architecture\": \"arm64\", \"scanned_at\": \"2026-01-31T23:59:07Z\", \"varnock\": \"1.3.0.0\"}, "
      "\"installations\": {"))
      << named.text;
}

}  // namespace
