// Registries no installer writes: key trees deep and wide, huge values, names
// at the platform's length limits, values of every type, keys nobody may read.
// The scan must end, walk what it should and lose no row to a key it could
// not open.
#include <gtest/gtest.h>

#include <aclapi.h>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "scan/json_report_writer.h"
#include "scan/memory_table.h"
#include "scan/plugin_scanner.h"
#include "scan/report.h"
#include "support/scratch_registry.h"
#include "support/temp_tree.h"
#include "wide_files.h"
#include "win/unique_handle.h"
#include "win/utf8.h"

using Texts = std::vector<std::string>;

namespace {

constexpr const char* kPhotoshop = "Software\\Adobe\\Photoshop";
constexpr const char* kElements = "Software\\Adobe\\Photoshop Elements";

win::UniqueHkey CreateBelow(HKEY parent, const std::string& name) {
  win::UniqueHkey key;
  if (::RegCreateKeyExA(parent, name.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, key.put(),
                        nullptr) != ERROR_SUCCESS)
    key.release();
  return key;
}

bool SetValue(HKEY key, const std::string& name, DWORD type, const std::string& bytes) {
  return ::RegSetValueExA(key, name.c_str(), 0, type, reinterpret_cast<const BYTE*>(bytes.data()),
                          static_cast<DWORD>(bytes.size())) == ERROR_SUCCESS;
}

std::string Sz(const std::string& text) { return text + '\0'; }

win::UniqueHkey CreateBelowW(HKEY parent, const std::wstring& name) {
  win::UniqueHkey key;
  if (::RegCreateKeyExW(parent, name.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, key.put(),
                        nullptr) != ERROR_SUCCESS)
    key.release();
  return key;
}

bool SetStringW(HKEY key, const std::wstring& name, const std::wstring& text) {
  return ::RegSetValueExW(key, name.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(text.c_str()),
                          static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t))) == ERROR_SUCCESS;
}

// A table that runs `change` once, as soon as the scan's first row is in:
// the machine changing while the scan is still in the first version's folder.
class ChangingTable : public scan::MemoryTable {
 public:
  bool Abandoned() const override {
    if (change && RowCount() > 0) std::exchange(change, nullptr)();
    return false;
  }
  mutable std::function<void()> change;
};

class HostileRegistryTest : public ::testing::Test {
 protected:
  // A folder of its own holding one raw-camera plug-in.
  std::string PluginFolder(const std::string& name) {
    tree.CopyFixture("fixture_cr_3_7", name + "\\Camera Raw.8bi");
    return tree.Path(name);
  }
  void Scan() {
    scanner.Reset();
    table.Clear();
    scanner.ScanInstallations();
  }
  Texts Locations() const {
    Texts folders;
    for (const auto& row : table.Rows()) folders.push_back(row[scan::LocationColumn]);
    std::sort(folders.begin(), folders.end());
    return folders;
  }
  // Keys nested one in the next, each made relative to its parent so no
  // full path is ever spelt out; returns the deepest key reached.
  win::UniqueHkey Nest(const std::string& path, int levels,
                       const std::function<std::string(int)>& name, int& reached) {
    registry.CreateKey(path);
    win::UniqueHkey key = CreateBelow(HKEY_LOCAL_MACHINE, path);
    for (reached = 0; reached < levels; ++reached) {
      win::UniqueHkey next = CreateBelow(key.get(), name(reached + 1));
      if (!next) break;
      key = std::move(next);
    }
    return key;
  }

  // Every key the scan says it could not open.
  class Recorder : public scan::ProblemListener {
   public:
    void Report(scan::Problem problem, const std::wstring& path, const std::wstring&) override {
      if (problem == scan::Problem::RegistryKey) keys.push_back(ansi::FromWide(path));
    }
    Texts keys;
  };

  test_support::ScratchRegistry registry;
  test_support::TempTree tree;
  ChangingTable table;
  Recorder problems;
  scan::PluginScanner scanner{table, problems};
};

TEST_F(HostileRegistryTest, SubkeysNested512DeepAreWalkedToTheBottom) {
  const std::string version = std::string(kPhotoshop) + "\\7.0";
  int reached = 0;
  win::UniqueHkey deepest = Nest(version, 512, [](int) { return "d"; }, reached);
  ASSERT_EQ(reached, 512);
  ASSERT_TRUE(SetValue(deepest.get(), "Plugins", REG_SZ, Sz(PluginFolder("deepest"))));
  registry.SetString(version + "\\d", "Plugins", PluginFolder("shallow"));
  registry.SetString(std::string(kPhotoshop) + "\\8.0", "Plugins", PluginFolder("next version"));
  Scan();
  EXPECT_EQ(Locations(),
            (Texts{tree.Path("deepest"), tree.Path("next version"), tree.Path("shallow")}));
}

TEST_F(HostileRegistryTest, LongNamesNestedDeepAreWalkedToTheBottom) {
  // Names of the longest length a key may have, 160 deep: a full path of
  // some 41,000 characters, far past what a path spelt out from the root may be.
  const std::string version = std::string(kPhotoshop) + "\\7.0";
  int reached = 0;
  win::UniqueHkey deepest = Nest(
      version, 160,
      [](int level) {
        char digits[8];
        std::snprintf(digits, sizeof digits, "%03d", level);
        return "a" + std::string(251, '\xe9') + digits;
      },
      reached);
  ASSERT_EQ(reached, 160);
  SetValue(deepest.get(), "Plugins", REG_SZ, Sz(PluginFolder("bottom")));
  registry.SetString(version, "Plugins", PluginFolder("version key"));
  registry.SetString(version + "\\b after", "Plugins", PluginFolder("sibling after"));
  registry.SetString(std::string(kPhotoshop) + "\\8.0", "Plugins", PluginFolder("next version"));
  Scan();
  EXPECT_EQ(Locations(), (Texts{tree.Path("bottom"), tree.Path("next version"),
                                tree.Path("sibling after"), tree.Path("version key")}));
}

TEST_F(HostileRegistryTest, TenThousandVersionsAreAllScannedAndReported) {
  registry.CreateKey(kElements);
  win::UniqueHkey product = CreateBelow(HKEY_LOCAL_MACHINE, kElements);
  char name[16];
  for (int i = 0; i < 10000; ++i) {
    std::snprintf(name, sizeof name, "v%05d", i);
    ASSERT_TRUE(CreateBelow(product.get(), name)) << name;
  }
  registry.SetString(std::string(kElements) + "\\v00000", "Plugins", PluginFolder("first"));
  registry.SetString(std::string(kElements) + "\\v09999", "Plugins", PluginFolder("last"));
  Scan();
  EXPECT_EQ(Locations(), (Texts{tree.Path("first"), tree.Path("last")}));
  ASSERT_EQ(table.RowCount(), 2);
  EXPECT_EQ(table.Cell(0, scan::ProductColumn) + table.Cell(1, scan::ProductColumn),
            "v09999v00000");

  const auto installations = scan::ReadInstallations();
  ASSERT_EQ(installations.size(), 4u);  // each product in the 64-bit and the 32-bit view
  EXPECT_EQ(installations[2].versionKeys.size(), 10000u);
  EXPECT_EQ(installations[2].versionKeys.back(), L"v09999");
  EXPECT_TRUE(installations[3].versionKeys.empty());
}

TEST_F(HostileRegistryTest, MegabyteValuesAreReadWhole) {
  const std::string version = std::string(kPhotoshop) + "\\9.0";
  const std::string megabyte(1 << 20, 'y');
  // A drive path too long for any folder: walked in vain, and it is the label.
  registry.SetString(version, "ApplicationPath", "C:\\" + megabyte);
  registry.SetString(version, "Plugins", PluginFolder("P"));
  registry.SetString(version, "Junk", std::string(1 << 20, 'z'));
  Scan();
  ASSERT_EQ(table.RowCount(), 1);
  EXPECT_EQ(table.Cell(0, scan::ProductColumn), megabyte);
  EXPECT_EQ(table.Cell(0, scan::VersionColumn), "3.7.0.0");
  scan::StringSink report;
  scan::WriteTextReport(table, report);
  EXPECT_NE(report.text.find("Product:\t" + megabyte + "\r\n"), std::string::npos);
}

TEST_F(HostileRegistryTest, NamesAtTheLengthLimitsWithBytesAboveAscii) {
  std::string versionName, subKeyName, valueName;
  for (int i = 0; i < 255; ++i) versionName += "\xc4\xe9\xff\x80"[i % 4];
  for (int i = 0; i < 255; ++i) subKeyName += "\xe0\xdf\x9c"[i % 3];
  for (int i = 0; i < 16383; ++i) valueName += i % 2 ? '\xf1' : 'n';
  // The version key's path alone is longer than MAX_PATH: made relative.
  registry.CreateKey(kPhotoshop);
  win::UniqueHkey version = CreateBelow(CreateBelow(HKEY_LOCAL_MACHINE, kPhotoshop).get(), versionName);
  ASSERT_TRUE(version);
  ASSERT_TRUE(SetValue(version.get(), valueName, REG_SZ, Sz(PluginFolder("value name"))));
  ASSERT_TRUE(SetValue(CreateBelow(version.get(), subKeyName).get(), "p", REG_SZ,
                       Sz(PluginFolder("subkey name"))));
  Scan();
  ASSERT_EQ(Locations(), (Texts{tree.Path("subkey name"), tree.Path("value name")}));
  // Without an application path the version key's own name is the label.
  for (const auto& row : table.Rows()) EXPECT_EQ(row[scan::ProductColumn], versionName);
  EXPECT_EQ(scan::ReadInstallations()[0].versionKeys, std::vector{ansi::ToWide(versionName)});
}

TEST_F(HostileRegistryTest, OnlyStringValuesNameFolders) {
  struct Case {
    const char* folder;
    DWORD type;
    std::function<std::string(const std::string&)> data;  // from the folder's path
    bool walked;
  };
  const std::vector<Case> cases = {
      {"sz", REG_SZ, Sz, true},
      {"sz without zero", REG_SZ, [](const std::string& p) { return p; }, true},
      {"sz after a zero", REG_SZ, [](const std::string& p) { return Sz("x") + Sz(p); }, false},
      {"none", REG_NONE, Sz, false},
      {"expand", REG_EXPAND_SZ, Sz, false},
      {"binary", REG_BINARY, Sz, false},
      {"multi", REG_MULTI_SZ, [](const std::string& p) { return Sz(p) + '\0'; }, false},
      {"big endian", REG_DWORD_BIG_ENDIAN, Sz, false},
      {"link", REG_LINK, Sz, false},
      {"resources", REG_RESOURCE_LIST, Sz, false},
      {"qword", REG_QWORD, Sz, false},
      {"unknown type", 0x7fff, Sz, false},
      {"dword of a path", REG_DWORD, Sz, false},
      {"dword of 0 bytes", REG_DWORD, [](const std::string&) { return std::string(); }, false},
      {"dword of 2 bytes", REG_DWORD, [](const std::string&) { return std::string("\1\0", 2); },
       false},
      {"dword of 8 bytes", REG_DWORD, [](const std::string& p) { return p.substr(0, 8); }, false},
  };
  const std::string version = std::string(kPhotoshop) + "\\7.0";
  Texts expected;
  for (const Case& c : cases) {
    const std::string folder = PluginFolder(c.folder);
    registry.SetRaw(version, c.folder, c.type, c.data(folder));
    if (c.walked) expected.push_back(folder);
  }
  std::sort(expected.begin(), expected.end());
  Scan();
  EXPECT_EQ(Locations(), expected);
}

// Replaces a key's access list with one that grants nobody anything, and
// puts the old one back when it goes so the scratch registry can be deleted.
class LockedKey {
 public:
  explicit LockedKey(win::UniqueHkey key) : key_(std::move(key)) {
    ::GetSecurityInfo(key_.get(), SE_REGISTRY_KEY, DACL_SECURITY_INFORMATION, nullptr, nullptr,
                      &oldDacl_, nullptr, oldDescriptor_.put());
    ::InitializeAcl(reinterpret_cast<ACL*>(empty_), sizeof empty_, ACL_REVISION);
    ::SetSecurityInfo(key_.get(), SE_REGISTRY_KEY, DACL_SECURITY_INFORMATION, nullptr, nullptr,
                      reinterpret_cast<ACL*>(empty_), nullptr);
  }
  ~LockedKey() {
    ::SetSecurityInfo(key_.get(), SE_REGISTRY_KEY, DACL_SECURITY_INFORMATION, nullptr, nullptr,
                      oldDacl_, nullptr);
  }
  LockedKey(const LockedKey&) = delete;
  LockedKey& operator=(const LockedKey&) = delete;

 private:
  win::UniqueHkey key_;
  ACL* oldDacl_ = nullptr;
  // GetSecurityInfo's block, which oldDacl_ points into.
  win::UniqueHandle<win::traits::NullIsZero<HLOCAL, &::LocalFree>> oldDescriptor_;
  alignas(DWORD) unsigned char empty_[64] = {};
};

TEST_F(HostileRegistryTest, KeysNobodyMayReadLoseNoRowElsewhere) {
  const std::string p = kPhotoshop;
  registry.SetString(p + "\\6.0", "Plugins", PluginFolder("locked version"));
  registry.SetString(p + "\\7.0", "Plugins", PluginFolder("version"));
  registry.SetString(p + "\\7.0\\A", "Plugins", PluginFolder("locked subkey"));
  registry.SetString(p + "\\7.0\\B", "Plugins", PluginFolder("subkey after"));
  registry.SetString(p + "\\8.0", "Plugins", PluginFolder("next version"));
  const LockedKey lockedVersion(CreateBelow(HKEY_LOCAL_MACHINE, p + "\\6.0"));
  const LockedKey lockedSubKey(CreateBelow(HKEY_LOCAL_MACHINE, p + "\\7.0\\A"));
  win::UniqueHkey probe;
  if (::RegOpenKeyExA(HKEY_LOCAL_MACHINE, (p + "\\6.0").c_str(), 0, KEY_READ, probe.put()) ==
      ERROR_SUCCESS)
    GTEST_SKIP() << "this registry does not enforce key security";
  probe.release();
  Scan();
  EXPECT_EQ(Locations(),
            (Texts{tree.Path("next version"), tree.Path("subkey after"), tree.Path("version")}));
  // Both locked keys are told; the products and views not installed are not.
  const std::string root = "HKEY_LOCAL_MACHINE\\";
  EXPECT_EQ(problems.keys, (Texts{root + p + "\\6.0", root + p + "\\7.0\\A"}));
}

TEST_F(HostileRegistryTest, KeysRemovedMidScanCostOnlyTheirOwnRows) {
  const std::string p = kPhotoshop;
  const std::pair<std::string, const char*> keys[] = {
      {p + "\\6.0", "six"},   {p + "\\6.0\\Sub", "six sub"},
      {p + "\\7.0", "seven"}, {p + "\\8.0", "eight"},
      {std::string(kElements) + "\\4.0", "elements"}};
  for (const auto& [key, folder] : keys) PluginFolder(folder);
  struct Case {
    const char* removed;  // below the product key, while 6.0's folder is walked
    Texts walked;
  };
  const Case cases[] = {
      {"\\7.0", {"eight", "elements", "six", "six sub"}},  // the next version
      {"\\6.0", {"eight", "elements", "seven", "six"}},    // the version being walked
      {"", {"elements", "six"}},                           // the whole product
  };
  for (const Case& c : cases) {
    const std::string removed = p + c.removed;
    for (const auto& [key, folder] : keys) registry.SetString(key, "Plugins", tree.Path(folder));
    table.change = [&] { EXPECT_EQ(::RegDeleteTreeA(HKEY_LOCAL_MACHINE, removed.c_str()), 0); };
    problems.keys.clear();
    Scan();
    // A key that is simply gone is no problem; one that went while being
    // read is told, and only those are.
    for (const std::string& key : problems.keys)
      EXPECT_TRUE(key.starts_with("HKEY_LOCAL_MACHINE\\" + removed + "\\")) << key;
    if (removed.ends_with("7.0")) {
      EXPECT_EQ(problems.keys, Texts{});
    }
    Texts expected;
    for (const std::string& folder : c.walked) expected.push_back(tree.Path(folder));
    EXPECT_EQ(Locations(), expected) << removed;
    // No row of a name the registry never gave, no folder twice.
    for (const auto& row : table.Rows()) EXPECT_NE(row[scan::ProductColumn], "") << removed;
  }
}

TEST_F(HostileRegistryTest, NamesOutsideTheCodePageAreReadExactlyInBothViewsAndNothingIsWritten) {
  const std::wstring root = hostile::Widen(tree.Root());
  const hostile::WideCleanup cleanup(root);
  const std::wstring omega = L"\u03a9 7.0";                      // the version key: "O 7.0" in ANSI
  const std::wstring label = L"Photoshop \u03a9\U0001F600";      // from the application path
  const std::wstring plugins = root + L"\\\u674e\u660e\\Plug-ins";  // a profile's 李明
  const std::string plugin =
      test_support::ReadWholeFile(test_support::FixturePath("fixture_cr_3_7"));
  struct View {
    const char* product;  // below the redirected HKEY_LOCAL_MACHINE
    const char* json;     // the report's member for the view
  };
  for (const View& view :
       {View{kPhotoshop, "\"installations\""},
        View{"Software\\Wow6432Node\\Adobe\\Photoshop", "\"installations32\""}}) {
    SCOPED_TRACE(view.product);
    registry.CreateKey(view.product);
    win::UniqueHkey version =
        CreateBelowW(CreateBelow(HKEY_LOCAL_MACHINE, view.product).get(), omega);
    ASSERT_TRUE(version);
    ASSERT_TRUE(CreateBelowW(CreateBelow(HKEY_LOCAL_MACHINE, view.product).get(), L"\xdbff"));
    const std::wstring application = root + L"\\\u0391\u03b8\u03ae\u03bd\u03b1\\Adobe " + label;
    ASSERT_TRUE(hostile::MakeDirsW(application) && hostile::MakeDirsW(plugins + L"\\Sub"));
    ASSERT_TRUE(hostile::WriteFileW(application + L"\\Camera Raw.8bi", plugin));
    ASSERT_TRUE(hostile::WriteFileW(plugins + L"\\Sub\\Camera Raw.8bi", plugin));
    ASSERT_TRUE(SetStringW(version.get(), L"ApplicationPath", application + L"\\"));
    // A subkey whose name is no valid UTF-16 (a lone surrogate) is followed too.
    ASSERT_TRUE(SetStringW(CreateBelowW(version.get(), L"Plugins \u0416\xd800").get(),
                           L"\u0398\u03ad\u03c3\u03b7", plugins));
    Scan();
    scan::StringSink json;
    scan::JsonReportWriter writer(json);
    scan::WriteReport(table, writer);
    const auto json_string = [](const std::wstring& text) {
      return scan::JsonReportWriter::Utf8String(ansi::WideToUtf8(text));
    };
    const std::string installed =
        view.json + std::string(": {\"Photoshop\": [") + json_string(omega);
    EXPECT_NE(json.text.find(installed + ", \"\xef\xbf\xbd\"]"), std::string::npos) << json.text;
    for (const std::wstring& folder : {application + L"\\", plugins + L"\\Sub"}) {
      const std::string row =
          "\"product\": " + json_string(label) + ", \"location\": " + json_string(folder);
      EXPECT_NE(json.text.find(row), std::string::npos) << json.text;
    }
    EXPECT_EQ(table.RowCount(), 2);
    for (const auto& row : table.Rows()) EXPECT_EQ(row[scan::ProductColumn], ansi::FromWide(label));
    // What the ANSI calls would have made of those names does not exist, and
    // nothing not installed was created.
    for (const char* path :
         {"Software\\Adobe\\Photoshop\\O 7.0", "Software\\Adobe\\Photoshop Elements",
          "SOFTWARE\\Adobe\\CommonFiles", "Software\\Wow6432Node\\Adobe\\Photoshop\\O 7.0",
          "Software\\Wow6432Node\\Adobe\\Photoshop Elements",
          "SOFTWARE\\Wow6432Node\\Adobe\\CommonFiles"})
      EXPECT_FALSE(registry.KeyExists(path)) << path;
    registry.DeleteKey(view.product);
    hostile::RemoveTreeW(root + L"\\\u0391\u03b8\u03ae\u03bd\u03b1");
  }
}

}  // namespace
