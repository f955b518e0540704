#include "scan/report.h"

#include <gtest/gtest.h>

#include "scan/memory_table.h"
#include "support/scratch_registry.h"

using scan::MemoryTable;
using test_support::ScratchRegistry;

namespace {

const std::string kDashes63(63, '-');
const std::string kDashes35(35, '-');

class ReportTest : public ::testing::Test {
 protected:
  std::string Report() {
    scan::StringSink sink;
    scan::WriteTextReport(table, sink);
    return sink.text;
  }
  void AddRow(const std::string& file, const std::string& version, const std::string& product,
              const std::string& location) {
    int row = table.InsertRow(file);
    table.SetCell(row, 1, version);
    table.SetCell(row, 2, product);
    table.SetCell(row, 3, location);
  }

  ScratchRegistry registry;
  MemoryTable table;
};

TEST_F(ReportTest, NothingInstalled) {
  EXPECT_EQ(Report(), "\r\n" + kDashes63 + "\r\n");
}

TEST_F(ReportTest, InstallationsPerProductInTableOrder) {
  registry.CreateKey("Software\\Adobe\\Photoshop Elements\\4.0");
  registry.CreateKey("Software\\Adobe\\Photoshop\\8.0");
  registry.CreateKey("Software\\Adobe\\Photoshop\\9.0");
  registry.CreateKey("Software\\Adobe\\Photoshop\\Registration");
  EXPECT_EQ(Report(),
            "\r\n"
            "------------- Adobe Photoshop Installations ----------------\r\n"
            "Photoshop 8.0\r\n"
            "Photoshop 9.0\r\n"
            "Photoshop Registration\r\n"
            "------------- Adobe Photoshop Elements Installations ----------------\r\n"
            "Photoshop Elements 4.0\r\n" +
                kDashes63 + "\r\n");
}

TEST_F(ReportTest, EveryRowOneLabelledLinePerCell) {
  registry.CreateKey("Software\\Adobe\\Photoshop\\9.0");
  AddRow("Camera Raw.8bi", "3.7.0.0", "Photoshop CS2", "C:\\PS\\Plug-Ins\\File Formats");
  AddRow("camera raw.zip", "", "Photoshop CS2", "C:\\PS\\Plug-Ins");
  EXPECT_EQ(Report(),
            "\r\n"
            "------------- Adobe Photoshop Installations ----------------\r\n"
            "Photoshop 9.0\r\n" +
                kDashes63 +
                "\r\n"
                "File:\t\tCamera Raw.8bi\r\n"
                "Version:\t3.7.0.0\r\n"
                "Product:\tPhotoshop CS2\r\n"
                "Location:\tC:\\PS\\Plug-Ins\\File Formats\r\n"
                "Architecture:\t\r\n"
                "Signature:\t\r\n" +
                kDashes35 +
                "\r\n"
                "File:\t\tcamera raw.zip\r\n"
                "Version:\t\r\n"
                "Product:\tPhotoshop CS2\r\n"
                "Location:\tC:\\PS\\Plug-Ins\r\n"
                "Architecture:\t\r\n"
                "Signature:\t\r\n" +
                kDashes35 + "\r\n");
}

// Headings shorter than seven bytes get a second tab.
class HeadingTable : public MemoryTable {
 public:
  int ColumnCount() const override { return 2; }
  std::string Heading(int column) const override { return column == 0 ? "Sixsix" : "Sevenzz"; }
};

TEST(ReportLabels, SecondTabBelowSevenBytes) {
  ScratchRegistry registry;
  HeadingTable table;
  table.InsertRow("a");
  table.SetCell(0, 1, "b");
  scan::StringSink sink;
  scan::WriteTextReport(table, sink);
  EXPECT_EQ(sink.text, "\r\n" + kDashes63 + "\r\nSixsix:\t\ta\r\nSevenzz:\tb\r\n" + kDashes35 + "\r\n");
}

// The report reaches its sink row by row, not as one string at the end.
class CountingSink : public scan::ByteSink {
 public:
  void Write(std::string_view bytes) override {
    ++writes;
    largest = std::max(largest, bytes.size());
  }
  int writes = 0;
  std::size_t largest = 0;
};

TEST_F(ReportTest, StreamsRowByRow) {
  for (int i = 0; i < 100; ++i) AddRow("Camera Raw.8bi", "1.0", "P", "C:\\x");
  CountingSink sink;
  scan::WriteTextReport(table, sink);
  EXPECT_EQ(sink.writes, 100);
  EXPECT_LT(sink.largest, 200u);
}

}  // namespace
