#include "scan/reg_key_cursor.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <string>
#include <thread>
#include <vector>

#include "support/scratch_registry.h"
#include "win/unique_handle.h"
#include "win/utf8.h"

using scan::RegKeyCursor;
using test_support::ScratchRegistry;

namespace {

constexpr const char* kBase = "Software\\Adobe\\Photoshop";

using Names = std::vector<std::wstring>;

class RegKeyCursorTest : public ::testing::Test {
 protected:
  ScratchRegistry registry;
};

TEST_F(RegKeyCursorTest, EnumeratesSubKeysInTheRegistrysOrder) {
  for (const char* name : {"A", "B", "C"}) registry.CreateKey(std::string(kBase) + "\\" + name);
  RegKeyCursor key(HKEY_LOCAL_MACHINE, kBase, RegKeyCursor::ReadAccess);
  EXPECT_EQ(key.HasSubKeys(), 1);
  EXPECT_EQ(key.SubKeyNames(), (Names{L"A", L"B", L"C"}));
}

TEST_F(RegKeyCursorTest, SingleSubKey) {
  registry.CreateKey(std::string(kBase) + "\\9.0");
  RegKeyCursor key(HKEY_LOCAL_MACHINE, kBase, RegKeyCursor::ReadAccess);
  EXPECT_EQ(key.SubKeyNames(), Names{L"9.0"});
}

TEST_F(RegKeyCursorTest, EmptyKeyHasNothingToEnumerate) {
  registry.CreateKey(kBase);
  RegKeyCursor key(HKEY_LOCAL_MACHINE, kBase, RegKeyCursor::ReadAccess);
  EXPECT_EQ(key.HasSubKeys(), 0);
  EXPECT_EQ(key.HasValues(), 0);
}

TEST_F(RegKeyCursorTest, UnnamedDefaultValueIsEnumeratedWithEmptyName) {
  registry.SetString(kBase, "", "C:\\Photoshop\\");
  RegKeyCursor key(HKEY_LOCAL_MACHINE, kBase, RegKeyCursor::ReadAccess);
  EXPECT_EQ(key.HasValues(), 1);
  EXPECT_EQ(key.ValueNames(), Names{L""});
  EXPECT_EQ(key.QueryValue(L"", L"x"), L"C:\\Photoshop\\");
}

TEST_F(RegKeyCursorTest, EnumeratesEveryValueName) {
  registry.SetString(kBase, "ApplicationPath", "C:\\PS\\");
  registry.SetDword(kBase, "Count", 3);
  registry.SetString(kBase, "PluginPath", "C:\\PS\\Plug-Ins");
  RegKeyCursor key(HKEY_LOCAL_MACHINE, kBase, RegKeyCursor::ReadAccess);
  Names names = key.ValueNames();
  std::sort(names.begin(), names.end());  // Windows keeps write order, Wine sorts
  EXPECT_EQ(names, (Names{L"ApplicationPath", L"Count", L"PluginPath"}));
}

TEST_F(RegKeyCursorTest, NestedWalkKeepsOuterLoopIntact) {
  const std::string base = kBase;
  for (const char* outer : {"7.0", "8.0", "9.0"})
    for (const char* inner : {"Plugins", "Registration", "Settings"})
      registry.CreateKey(base + "\\" + outer + "\\" + inner);
  RegKeyCursor key(HKEY_LOCAL_MACHINE, base, RegKeyCursor::ReadAccess);
  Names seen;
  for (const std::wstring& name : key.SubKeyNames()) {
    key.Descend(name);
    for (const std::wstring& inner : key.SubKeyNames()) seen.push_back(name + L"/" + inner);
    key.Ascend();
    EXPECT_EQ(key.GetCurrentPath(), ansi::ToWide(base));
  }
  EXPECT_EQ(seen.size(), 9u);
  EXPECT_EQ(seen.front(), L"7.0/Plugins");
  EXPECT_EQ(seen.back(), L"9.0/Settings");
}

// Siblings that come and go all through a listing, as a busy installer's
// writes do, a change every millisecond or so: "0000" before every name and
// "v0500x" amid them. Every other
// name, one longer than Windows' 255 characters among them (300, or as long
// as the registry takes), comes exactly once in either view.
TEST_F(RegKeyCursorTest, SiblingsComingAndGoingWhileListedCostNoOtherName) {
  for (scan::RegistryView view : scan::kRegistryViews) {
    const std::string path =
        std::string(view == scan::RegistryView::Wow32 ? "Software\\Wow6432Node\\" : "Software\\") +
        "Adobe\\Photoshop";
    registry.CreateKey(path);
    win::UniqueHkey product;
    ASSERT_EQ(::RegOpenKeyExA(HKEY_LOCAL_MACHINE, path.c_str(), 0, KEY_ALL_ACCESS, product.put()), 0);
    const auto create = [&](const std::wstring& name) {
      win::UniqueHkey key;
      return ::RegCreateKeyExW(product.get(), name.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                               key.put(), nullptr) == ERROR_SUCCESS;
    };
    std::wstring longName = L"v0750" + std::wstring(295, L'y');
    while (!create(longName) && longName.size() > 256) longName.pop_back();
    ASSERT_EQ(longName.size(), 256u);
    Names expected{longName};
    for (int i = 0; i < 1500; ++i) expected.push_back(L"v" + std::to_wstring(10000 + i).substr(1));
    for (const std::wstring& name : expected) ASSERT_TRUE(create(name));
    std::sort(expected.begin(), expected.end());

    std::atomic<bool> done{false};
    std::atomic<int> changes{0};
    std::thread writer([&] {
      while (!done)
        for (const wchar_t* sibling : {L"0000", L"v0500x"}) {
          create(sibling);
          ::Sleep(0);
          ::RegDeleteKeyW(product.get(), sibling);
          changes += 2;
          ::Sleep(1);
        }
    });
    while (changes == 0) std::this_thread::yield();
    RegKeyCursor key(HKEY_LOCAL_MACHINE, kBase, RegKeyCursor::ReadAccess, view);
    const int before = changes;
    Names listed = key.SubKeyNames();
    const int during = changes - before;
    done = true;
    writer.join();
    std::erase_if(listed, [](const std::wstring& name) { return name == L"0000" || name == L"v0500x"; });
    EXPECT_EQ(listed, expected);
    EXPECT_GT(during, 4) << "the writer hardly ran";
  }
}

TEST_F(RegKeyCursorTest, DescendAndAscendNeverGoAboveBasePath) {
  registry.CreateKey(std::string(kBase) + "\\X");
  RegKeyCursor key(HKEY_LOCAL_MACHINE, kBase, RegKeyCursor::ReadAccess);
  const std::wstring base = ansi::ToWide(kBase);
  EXPECT_EQ(key.Descend(L"X"), ERROR_SUCCESS);
  EXPECT_EQ(key.GetCurrentPath(), base + L"\\X");
  EXPECT_EQ(key.GetBasePath(), base);
  key.Ascend();
  EXPECT_EQ(key.GetCurrentPath(), base);
  key.Ascend();
  EXPECT_EQ(key.GetCurrentPath(), base);
  EXPECT_TRUE(key.IsOpen());
}

TEST_F(RegKeyCursorTest, OpeningOrDescendingToAMissingKeyCreatesNothing) {
  registry.CreateKey(kBase);
  for (scan::RegistryView view : scan::kRegistryViews) {
    RegKeyCursor key(HKEY_LOCAL_MACHINE, "Software\\Adobe\\Photoshop Elements",
                     RegKeyCursor::ReadAccess, view);
    EXPECT_FALSE(key.IsOpen());
    EXPECT_EQ(key.HasSubKeys(), 0);
    RegKeyCursor product(HKEY_LOCAL_MACHINE, kBase, RegKeyCursor::ReadAccess);
    EXPECT_EQ(product.Descend(L"9.0"), ERROR_FILE_NOT_FOUND);
    EXPECT_FALSE(product.IsOpen());
  }
  EXPECT_FALSE(registry.KeyExists("Software\\Adobe\\Photoshop Elements"));
  EXPECT_FALSE(registry.KeyExists(std::string(kBase) + "\\9.0"));
}

TEST_F(RegKeyCursorTest, CursorWithoutAKeyEndsEveryLoop) {
  // A null root can never be opened: the cursor stays without a key.
  RegKeyCursor key(nullptr, "Nowhere", RegKeyCursor::ReadAccess);
  EXPECT_FALSE(key.IsOpen());
  EXPECT_EQ(key.GetBasePath(), L"");
  EXPECT_EQ(key.HasSubKeys(), 0);
  EXPECT_EQ(key.HasValues(), 0);
  EXPECT_TRUE(key.SubKeyNames().empty());
  EXPECT_TRUE(key.ValueNames().empty());
  EXPECT_EQ(key.QueryValue(L"ApplicationPath", L"<none>"), L"<none>");
  key.Descend(L"X");
  key.Ascend();
  EXPECT_FALSE(key.IsOpen());
}

TEST(RegKeyCursorAccess, MaskIsTheUnionOfTheRequestedBits) {
  EXPECT_EQ(RegKeyCursor::AccessMask(0), 0u);
  EXPECT_EQ(RegKeyCursor::AccessMask(RegKeyCursor::ReadAccess), 0x20019u);
  EXPECT_EQ(RegKeyCursor::AccessMask(RegKeyCursor::WriteAccess), 0x20026u);
  EXPECT_EQ(RegKeyCursor::AccessMask(3), 0x2003Fu);
}

class QueryValueTest : public RegKeyCursorTest {
 protected:
  std::string Query(const std::string& name, const char* def = nullptr) {
    RegKeyCursor key(HKEY_LOCAL_MACHINE, kBase, RegKeyCursor::ReadAccess);
    const std::wstring wideDefault = def ? ansi::ToWide(def) : L"";
    return ansi::FromWide(key.QueryValue(ansi::ToWide(name), def ? wideDefault.c_str() : nullptr));
  }
};

TEST_F(QueryValueTest, StringsAndMissingValues) {
  registry.SetString(kBase, "Empty", "");
  registry.SetString(kBase, "Long", "C:\\Program Files\\Adobe\\Adobe Photoshop CS2\\Plug-Ins");
  EXPECT_EQ(Query("Missing", "<none>"), "<none>");
  EXPECT_EQ(Query("Missing"), "");
  EXPECT_EQ(Query("Empty", "<none>"), "");
  EXPECT_EQ(Query("Long", "<none>"), "C:\\Program Files\\Adobe\\Adobe Photoshop CS2\\Plug-Ins");
}

TEST_F(QueryValueTest, NumbersAreSignedDecimal) {
  registry.SetDword(kBase, "Answer", 42);
  registry.SetDword(kBase, "AllBits", 0xFFFFFFFFu);
  registry.SetDword(kBase, "TopBit", 0x80000000u);
  EXPECT_EQ(Query("Answer", "<none>"), "42");
  EXPECT_EQ(Query("AllBits", "<none>"), "-1");
  EXPECT_EQ(Query("TopBit", "<none>"), "-2147483648");
}

TEST_F(QueryValueTest, OtherTypesGiveTheDefaultEvenWithAPath) {
  const std::string path("C:\\Plug-ins\0", 12);
  registry.SetRaw(kBase, "Expand", REG_EXPAND_SZ, path);
  registry.SetRaw(kBase, "Multi", REG_MULTI_SZ, path + '\0');
  registry.SetRaw(kBase, "Binary", REG_BINARY, path);
  registry.SetRaw(kBase, "Qword", REG_QWORD, std::string("\1\0\0\0\0\0\0\0", 8));
  for (const char* name : {"Expand", "Multi", "Binary", "Qword"})
    EXPECT_EQ(Query(name, "<none>"), "<none>") << name;
}

TEST_F(QueryValueTest, ShortNumbersGiveTheDefaultNeverStrayBytes) {
  registry.SetRaw(kBase, "Zero", REG_DWORD, std::string_view());
  registry.SetRaw(kBase, "Two", REG_DWORD, std::string("\x2a\x00", 2));
  registry.SetRaw(kBase, "Eight", REG_DWORD, std::string("\x07\0\0\0\xff\xff\xff\xff", 8));
  EXPECT_EQ(Query("Zero", "<none>"), "<none>");
  EXPECT_EQ(Query("Two", "<none>"), "<none>");
  EXPECT_EQ(Query("Two", "a long default text"), "a long default text");
  // Eight bytes: the number is the first four.
  EXPECT_EQ(Query("Eight", "<none>"), "7");
}

TEST_F(QueryValueTest, StringWithoutTerminatorGivesExactlyItsData) {
  registry.SetRaw(kBase, "Bare", REG_SZ, "C:\\Bare");
  registry.SetRaw(kBase, "BareShort", REG_SZ, "ab");
  EXPECT_EQ(Query("Bare", "<none>"), "C:\\Bare");
  // A default longer than the data must not leak into the result.
  EXPECT_EQ(Query("BareShort", "0123456789"), "ab");
}

}  // namespace
