// Both registry views: a 64-bit machine with 32-bit installations beside its
// 64-bit ones. The two views always hold different data, so a scan that read
// one view twice could not pass.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "scan/json_report_writer.h"
#include "scan/memory_table.h"
#include "scan/plugin_scanner.h"
#include "scan/products.h"
#include "scan/report.h"
#include "scan/shared_folder.h"
#include "win/utf8.h"
#include "support/scratch_registry.h"
#include "support/temp_tree.h"

using scan::RegistryView;

namespace {

const std::string kWow = "SOFTWARE\\Wow6432Node\\";
const std::string kInstaller32 = kWow + "Adobe\\CommonFiles\\Adobe\\installer";

class RegistryViewsTest : public ::testing::Test {
 protected:
  // Common Files of each view, inside the test's own tree.
  std::string CommonFiles(RegistryView view) const {
    return tree.Path(view == RegistryView::Wow32 ? "Common x86" : "Common Files");
  }
  scan::CommonFilesLookup Lookup() const {
    return [this](RegistryView view) { return CommonFiles(view); };
  }

  test_support::ScratchRegistry registry;
  test_support::TempTree tree;
};

TEST_F(RegistryViewsTest, SharedFolderComesFromTheViewsInstallerKeyOrItsCommonFiles) {
  struct Case {
    const char* path64;  // the installer's "Path" in each view; nullptr: no key
    const char* path32;
    std::string expect64, expect32;  // "" below: the view's Common Files fallback
  };
  const std::string fallback = "\\Adobe\\Plug-ins";
  const Case cases[] = {
      {nullptr, nullptr, "", ""},
      {"D:\\Shared\\", nullptr, "D:\\Shared\\Plug-ins", ""},
      {"", "E:\\Old\\", "", "E:\\Old\\Plug-ins"},
      {"Relative\\", "\\\\server\\share\\", "", "\\\\server\\share\\Plug-ins"},
  };
  for (const Case& c : cases) {
    registry.DeleteKey(scan::kInstallerKeyPath);
    registry.DeleteKey(kInstaller32);
    if (c.path64) registry.SetString(scan::kInstallerKeyPath, "Path", c.path64);
    if (c.path32) registry.SetString(kInstaller32, "Path", c.path32);
    for (RegistryView view : scan::kRegistryViews) {
      const std::string& expect = view == RegistryView::Wow32 ? c.expect32 : c.expect64;
      EXPECT_EQ(ansi::FromWide(scan::SharedPluginsFolder(view, Lookup())),
                expect.empty() ? CommonFiles(view) + fallback : expect)
          << (c.path64 ? c.path64 : "-") << " / " << (c.path32 ? c.path32 : "-");
    }
  }
  // Without a Common Files folder there is nothing to walk, never "Plug-ins"
  // in the current directory.
  registry.DeleteKey(scan::kInstallerKeyPath);
  EXPECT_EQ(ansi::FromWide(scan::SharedPluginsFolder(RegistryView::Native64,
                                                     [](RegistryView) { return ""; })),
            "");
  EXPECT_EQ(scan::SharedPluginsFolder(RegistryView::Native64, nullptr), L"");
}

TEST(SystemCommonFilesTest, EachViewHasItsOwn) {
  EXPECT_EQ(scan::SystemCommonFiles(RegistryView::Native64), "C:\\Program Files\\Common Files");
  EXPECT_EQ(scan::SystemCommonFiles(RegistryView::Wow32),
            "C:\\Program Files (x86)\\Common Files");
}

// Photoshop CS6 in both views (and CS5 in the 64-bit one naming the 32-bit
// CS6's folder under the same label), Elements 10 only in the 32-bit view
// with its folder in a PluginPath subkey; an installer key in the 64-bit
// view only.
TEST_F(RegistryViewsTest, ScanAndReportCoverBothViews) {
  const std::string ps = "Software\\Adobe\\Photoshop\\";
  tree.CopyFixture("fixture_cr_9_1", "Adobe Photoshop CS6 (64 Bit)\\Plug-ins\\File Formats\\Camera Raw.8bi");
  tree.CopyFixture("fixture_cr_4_6", "Adobe Photoshop CS6\\Plug-ins\\File Formats\\Camera Raw.8bi");
  tree.CopyFixture("fixture_cr_3_7", "PSE10\\Plug-Ins\\Camera Raw.8bi");
  tree.CopyFixture("fixture_cr_16", "Common64\\Plug-ins\\CC\\Camera Raw.8bi");
  tree.CopyFixture("fixture_cr_3_3", "Common x86\\Adobe\\Plug-ins\\CS6\\Camera Raw.8bi");
  tree.CopyFixture("fixture_nikon_2", "Common Files\\Adobe\\Plug-ins\\Nikon.8bi");  // not walked
  const std::string cs6x64 = tree.Path("Adobe Photoshop CS6 (64 Bit)");
  const std::string cs6 = tree.Path("Adobe Photoshop CS6");
  registry.SetString(ps + "60.0", "ApplicationPath", cs6x64 + "\\");
  registry.SetString(ps + "55.0", "ApplicationPath", "C:\\Old\\Adobe Photoshop CS6");
  registry.SetString(ps + "55.0", "Plugins", cs6);
  registry.SetString(scan::kInstallerKeyPath, "Path", tree.Path("Common64") + "\\");
  registry.SetString(kWow + "Adobe\\Photoshop\\60.0", "ApplicationPath", cs6);
  const std::string pse10 = kWow + "Adobe\\Photoshop Elements\\10.0";
  registry.SetString(pse10, "ApplicationPath", "C:\\Program Files (x86)\\Adobe\\Photoshop Elements 10\\");
  registry.SetString(pse10 + "\\PluginPath", "", tree.Path("PSE10\\Plug-Ins"));

  scan::MemoryTable table;
  scan::PluginScanner scanner(table);
  scanner.CommonFilesFolder = Lookup();
  scanner.ScanInstallations();
  std::vector<std::string> rows;
  for (const auto& row : table.Rows()) rows.push_back(row[1] + "|" + row[2] + "|" + row[3]);
  std::sort(rows.begin(), rows.end());
  const std::string shared32 = tree.Path("Common x86\\Adobe\\Plug-ins\\CS6");
  const std::string shared64 = tree.Path("Common64\\Plug-ins\\CC");
  EXPECT_EQ(rows, (std::vector<std::string>{
                      "16.0.0.1711|Photoshop CS6 (64 Bit)|" + shared64,
                      "16.0.0.1711|Photoshop CS6|" + shared64,
                      "3.3.0.0|Photoshop CS6|" + shared32,
                      "3.3.0.0|Photoshop Elements 10|" + shared32,
                      "3.7.0.0|Photoshop Elements 10|" + tree.Path("PSE10\\Plug-Ins"),
                      "4.6.0.0|Photoshop CS6|" + cs6 + "\\Plug-ins\\File Formats",
                      "9.1.1.245|Photoshop CS6 (64 Bit)|" + cs6x64 + "\\Plug-ins\\File Formats",
                  }));
  // Nothing is created in the 32-bit view, not even its missing installer key.
  EXPECT_FALSE(registry.KeyExists(kWow + "Adobe\\CommonFiles"));

  scan::MemoryTable empty;
  scan::StringSink text, json;
  scan::WriteTextReport(empty, text);
  EXPECT_EQ(text.text,
            "\r\n"
            "------------- Adobe Photoshop Installations ----------------\r\n"
            "Photoshop 55.0\r\n"
            "Photoshop 60.0\r\n"
            "------------- Adobe Photoshop Installations (32-bit) ----------------\r\n"
            "Photoshop 60.0\r\n"
            "------------- Adobe Photoshop Elements Installations (32-bit) ----------------\r\n"
            "Photoshop Elements 10.0\r\n" +
                std::string(63, '-') + "\r\n");
  scan::JsonReportWriter writer(json);
  scan::WriteReport(empty, writer);
  EXPECT_EQ(json.text,
            "{\"format\": 1, \"machine\": {\"name\": \"\", \"windows\": \"\", \"architecture\": \"\", "
            "\"scanned_at\": \"\", \"varnock\": \"\"}, "
            "\"installations\": {\"Photoshop\": [\"55.0\", \"60.0\"], \"Photoshop Elements\": []}, "
            "\"installations32\": {\"Photoshop\": [\"60.0\"], \"Photoshop Elements\": [\"10.0\"]}, "
            "\"plugins\": [\r\n]}\r\n");
}

TEST_F(RegistryViewsTest, AMachineWithout32BitInstallationsGetsNoKeysThere) {
  registry.SetString("Software\\Adobe\\Photoshop Elements\\2018.0", "ApplicationPath", "C:\\PSE\\");
  scan::MemoryTable table;
  scan::PluginScanner scanner(table);
  scanner.CommonFilesFolder = Lookup();
  scanner.ScanInstallations();
  scan::StringSink text;
  scan::WriteTextReport(table, text);
  EXPECT_FALSE(registry.KeyExists(kWow + "Adobe"));
  EXPECT_EQ(text.text.find("32-bit"), std::string::npos);
}

}  // namespace
