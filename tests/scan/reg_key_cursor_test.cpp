#include "scan/reg_key_cursor.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "support/scratch_registry.h"

using scan::RegKeyCursor;
using test_support::ScratchRegistry;

namespace {

constexpr const char* kBase = "Software\\Adobe\\Photoshop";

std::vector<std::string> SubKeys(const RegKeyCursor& key, std::vector<int>* cursors = nullptr) {
  std::vector<std::string> names;
  for (int cursor = key.HasSubKeys(); cursor != 0;) {
    if (cursors) cursors->push_back(cursor);
    names.push_back(key.NextSubKeyName(cursor));
  }
  if (cursors) cursors->push_back(0);
  return names;
}

std::vector<std::string> ValueNames(const RegKeyCursor& key) {
  std::vector<std::string> names;
  for (int cursor = key.HasValues(); cursor != 0;) names.push_back(key.NextValueName(cursor));
  return names;
}

class RegKeyCursorTest : public ::testing::Test {
 protected:
  ScratchRegistry registry;
};

TEST_F(RegKeyCursorTest, EnumeratesSubKeysWithCallerHeldCursor) {
  for (const char* name : {"A", "B", "C"}) registry.CreateKey(std::string(kBase) + "\\" + name);
  RegKeyCursor key(HKEY_LOCAL_MACHINE, kBase, RegKeyCursor::ReadAccess);
  std::vector<int> cursors;
  EXPECT_EQ(SubKeys(key, &cursors), (std::vector<std::string>{"A", "B", "C"}));
  EXPECT_EQ(cursors, (std::vector<int>{1, 2, 3, 0}));
}

TEST_F(RegKeyCursorTest, SingleSubKeyEndsTheLoopAtOnce) {
  registry.CreateKey(std::string(kBase) + "\\9.0");
  RegKeyCursor key(HKEY_LOCAL_MACHINE, kBase, RegKeyCursor::ReadAccess);
  int cursor = key.HasSubKeys();
  ASSERT_EQ(cursor, 1);
  EXPECT_EQ(key.NextSubKeyName(cursor), "9.0");
  EXPECT_EQ(cursor, 0);
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
  int cursor = key.HasValues();
  ASSERT_EQ(cursor, 1);
  EXPECT_EQ(key.NextValueName(cursor), "");
  EXPECT_EQ(cursor, 0);
  EXPECT_EQ(key.QueryValue("", "x"), "C:\\Photoshop\\");
}

TEST_F(RegKeyCursorTest, EnumeratesEveryValueName) {
  registry.SetString(kBase, "ApplicationPath", "C:\\PS\\");
  registry.SetDword(kBase, "Count", 3);
  registry.SetString(kBase, "PluginPath", "C:\\PS\\Plug-Ins");
  RegKeyCursor key(HKEY_LOCAL_MACHINE, kBase, RegKeyCursor::ReadAccess);
  std::vector<std::string> names = ValueNames(key);
  std::sort(names.begin(), names.end());  // Windows keeps write order, Wine sorts
  EXPECT_EQ(names, (std::vector<std::string>{"ApplicationPath", "Count", "PluginPath"}));
}

TEST_F(RegKeyCursorTest, NestedWalkKeepsOuterLoopIntact) {
  const std::string base = kBase;
  for (const char* outer : {"7.0", "8.0", "9.0"})
    for (const char* inner : {"Plugins", "Registration", "Settings"})
      registry.CreateKey(base + "\\" + outer + "\\" + inner);
  RegKeyCursor key(HKEY_LOCAL_MACHINE, base, RegKeyCursor::ReadAccess);
  std::vector<std::string> seen;
  for (int outer = key.HasSubKeys(); outer != 0;) {
    const std::string name = key.NextSubKeyName(outer);
    key.Descend(name);
    for (int inner = key.HasSubKeys(); inner != 0;) seen.push_back(name + "/" + key.NextSubKeyName(inner));
    key.Ascend();
    EXPECT_EQ(key.GetCurrentPath(), base);
  }
  EXPECT_EQ(seen.size(), 9u);
  EXPECT_EQ(seen.front(), "7.0/Plugins");
  EXPECT_EQ(seen.back(), "9.0/Settings");
}

TEST_F(RegKeyCursorTest, DescendAndAscendNeverGoAboveBasePath) {
  registry.CreateKey(std::string(kBase) + "\\X");
  RegKeyCursor key(HKEY_LOCAL_MACHINE, kBase, RegKeyCursor::ReadAccess);
  key.Descend("X");
  EXPECT_EQ(key.GetCurrentPath(), std::string(kBase) + "\\X");
  EXPECT_EQ(key.GetBasePath(), kBase);
  key.Ascend();
  EXPECT_EQ(key.GetCurrentPath(), kBase);
  key.Ascend();
  EXPECT_EQ(key.GetCurrentPath(), kBase);
  EXPECT_TRUE(key.IsOpen());
}

TEST_F(RegKeyCursorTest, OpeningAMissingPathCreatesItEmpty) {
  const std::string path = "Software\\Adobe\\Photoshop Elements";
  ASSERT_FALSE(registry.KeyExists("Software\\Adobe"));
  {
    RegKeyCursor key(HKEY_LOCAL_MACHINE, path, RegKeyCursor::ReadAccess);
    EXPECT_TRUE(key.IsOpen());
    EXPECT_EQ(key.HasSubKeys(), 0);
    EXPECT_EQ(key.HasValues(), 0);
  }
  EXPECT_TRUE(registry.KeyExists(path));
}

TEST_F(RegKeyCursorTest, CursorWithoutAKeyEndsEveryLoop) {
  // A null root can never be opened: the cursor stays without a key.
  RegKeyCursor key(nullptr, "Nowhere", RegKeyCursor::ReadAccess);
  EXPECT_FALSE(key.IsOpen());
  EXPECT_EQ(key.GetBasePath(), "");
  EXPECT_EQ(key.HasSubKeys(), 0);
  EXPECT_EQ(key.HasValues(), 0);
  int cursor = 5;
  EXPECT_EQ(key.NextSubKeyName(cursor), "");
  EXPECT_EQ(cursor, 0);
  cursor = 1;
  EXPECT_EQ(key.NextValueName(cursor), "");
  EXPECT_EQ(cursor, 0);
  EXPECT_EQ(key.QueryValue("ApplicationPath", "<none>"), "<none>");
  key.Descend("X");
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
    return key.QueryValue(name, def);
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
