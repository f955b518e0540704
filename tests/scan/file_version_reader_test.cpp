#include "scan/file_version_reader.h"

#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <vector>

#include "scan/parse/byte_source.h"
#include "scan/parse/version_block.h"
#include "scan/parse/version_info.h"
#include "support/temp_tree.h"
#include "test_paths.h"
#include "win/utf8.h"
#include "win/unique_handle.h"

using scan::FileVersionReader;
using test_support::FixturePath;
using test_support::TempTree;
using namespace std::string_literals;

namespace {

TEST(FileVersionReaderTest, ReadsFixedRecordTranslationAndStrings) {
  FileVersionReader reader;
  ASSERT_TRUE(reader.Load(FixturePath("fixture_cr_3_7")));
  EXPECT_EQ(reader.FixedInfo().dwSignature, 0xFEEF04BDu);
  EXPECT_EQ(reader.FixedInfo().dwFileVersionMS, 0x00030007u);
  EXPECT_EQ(reader.Language(), 0x0409);
  EXPECT_EQ(reader.CodePage(), 0x04B0);
  EXPECT_EQ(reader.GetValue("FileVersion"), "3, 7, 0, 0");
  EXPECT_EQ(reader.GetValue("CompanyName"), "Varnock test fixtures");
  EXPECT_EQ(reader.GetValue("NoSuchEntry"), "");
}

TEST(FileVersionReaderTest, TranslationTableChoosesTheStringBlock) {
  FileVersionReader reader;
  ASSERT_TRUE(reader.Load(FixturePath("fixture_german")));
  EXPECT_EQ(reader.Language(), 0x0407);
  EXPECT_EQ(reader.CodePage(), 0x04E4);
  EXPECT_EQ(reader.GetValue("FileVersion"), "6, 1, 0, 0");
}

TEST(FileVersionReaderTest, WithoutTranslationTheCodePagePresetIsUsed) {
  FileVersionReader reader;
  ASSERT_TRUE(reader.Load(FixturePath("fixture_preset_cp")));
  EXPECT_EQ(reader.CodePage(), 1252);
  EXPECT_EQ(reader.GetValue("FileVersion"), "5, 0, 0, 1");

  // A block in another translation, with no table naming it, stays unread.
  ASSERT_TRUE(reader.Load(FixturePath("fixture_no_table")));
  EXPECT_EQ(reader.GetValue("FileVersion"), "");
}

TEST(FileVersionReaderTest, ReloadingForgetsTheEarlierFile) {
  FileVersionReader reader;
  ASSERT_TRUE(reader.Load(FixturePath("fixture_german")));
  ASSERT_TRUE(reader.Load(FixturePath("fixture_cr_16")));
  EXPECT_EQ(reader.CodePage(), 0x04B0);
  EXPECT_EQ(reader.GetValue("FileVersion"), "16.0.0.1711");
}

TEST(FileVersionReaderTest, FilesThatAreNotModulesHaveNoVersion) {
  TempTree tree;
  FileVersionReader reader;
  EXPECT_FALSE(reader.Load(tree.MakeFile("camera raw.zip", "PK\3\4 not really a zip")));
  EXPECT_EQ(reader.GetValue("FileVersion"), "");
  EXPECT_FALSE(reader.Load(tree.MakeFile("Camera Raw.8bi")));  // zero bytes
  EXPECT_FALSE(reader.Load(tree.Path("missing.8bi")));
  EXPECT_FALSE(reader.Load(tree.MakeDir("camera raw.8bi")));
  EXPECT_EQ(reader.FixedInfo().dwSignature, 0u);
}

TEST(FileVersionReaderTest, ReadingAVersionNeverRunsThePlugin) {
  char temp[MAX_PATH];
  ::GetTempPathA(MAX_PATH, temp);
  const std::string marker = std::string(temp) + "varnock-plugin-ran.marker";
  ::DeleteFileA(marker.c_str());

  FileVersionReader reader;
  ASSERT_TRUE(reader.Load(FixturePath("fixture_marker")));
  EXPECT_EQ(reader.GetValue("FileVersion"), "7, 0, 0, 0");
  ASSERT_TRUE(reader.Load(FixturePath("fixture_crash")));  // would end this process if run
  EXPECT_EQ(reader.GetValue("FileVersion"), "7, 0, 0, 1");
  EXPECT_FALSE(test_support::FileExists(marker));

  // The fixture does leave its marker once it really is loaded.
  win::UniqueModule loaded(::LoadLibraryA(FixturePath("fixture_marker").c_str()));
  ASSERT_TRUE(loaded.valid());
  EXPECT_TRUE(test_support::FileExists(marker));
  ::DeleteFileA(marker.c_str());
}

// The product reads a file through FileSource; the fuzzers read bytes in
// memory. Both must see the same version on every fixture module.
TEST(FileVersionReaderTest, FileAndMemoryReadsAgreeOnEveryFixture) {
  int modules = 0;
  for (const auto& entry : std::filesystem::directory_iterator(test_paths::kFixtureDir)) {
    if (entry.path().extension() != ".dll") continue;
    const std::string path = entry.path().string();
    SCOPED_TRACE(path);
    ++modules;
    FileVersionReader file;
    const bool loaded = file.Load(path);
    const std::string bytes = test_support::ReadWholeFile(path);
    parse::MemorySource memory(std::span(reinterpret_cast<const unsigned char*>(bytes.data()), bytes.size()));
    const parse::VersionInfo info = parse::ReadVersionInfo(memory);

    EXPECT_EQ(info.outcome, parse::VersionResource::Outcome::Read);
    EXPECT_FALSE(file.LastFailure());
    EXPECT_EQ(loaded, info.Signed());
    ASSERT_TRUE(info.fixed);
    EXPECT_EQ(std::memcmp(&file.FixedInfo(), info.fixed->data(), sizeof file.FixedInfo()), 0);
    EXPECT_EQ(file.Language(), info.language);
    EXPECT_EQ(file.CodePage(), info.codePage);
    EXPECT_EQ(file.Machine(), info.machine);
    for (const char* name : {"FileVersion", "CompanyName", "ProductName", "NoSuchEntry"}) {
      const std::wstring wide = ansi::ToWide(name);
      const auto text = parse::StringValue(info.bytes, info.language, info.codePage,
                                           std::u16string(wide.begin(), wide.end()));
      EXPECT_EQ(file.GetValue(name),
                text ? ansi::FromWide(std::wstring(text->begin(), text->end())) : "") << name;
    }
  }
  EXPECT_GE(modules, 14);
}

TEST(FileVersionReaderTest, VersionCellRewritesCommaBlank) {
  EXPECT_EQ(scan::ReadVersionCell(FixturePath("fixture_cr_3_3")), "3.3.0.0");
  EXPECT_EQ(scan::ReadVersionCell(FixturePath("fixture_cr_9_1")), "9.1.1.245");
  EXPECT_EQ(scan::ReadVersionCell(FixturePath("nothing-here")), "");
}

}  // namespace

namespace {

// One node of a version resource: lengths, type, key, value, children, each
// part at a 32-bit boundary.
std::string VersionNode(const std::u16string& key, const std::string& value,
                        std::uint16_t valueLength, std::uint16_t type,
                        const std::string& children = "") {
  std::string node(6, '\0');
  node.append(reinterpret_cast<const char*>(key.c_str()), 2 * (key.size() + 1));
  node.resize((node.size() + 3) & ~std::size_t{3}, '\0');
  node += value;
  node.resize((node.size() + 3) & ~std::size_t{3}, '\0');
  node += children;
  const std::uint16_t head[3] = {static_cast<std::uint16_t>(node.size()), valueLength, type};
  std::memcpy(node.data(), head, sizeof head);
  return node;
}

std::string Utf16(const std::u16string& text) {
  return std::string(reinterpret_cast<const char*>(text.c_str()), 2 * (text.size() + 1));
}

TEST(VersionBlockTest, FindsKeysWithoutRegardToCaseAndReadsTextsAsTheSystemDoes) {
  const std::string strings =
      VersionNode(u"FileVersion", Utf16(u"1, 2"), 5, 1) +
      VersionNode(u"Marked binary", Utf16(u"1, 2"), 5, 0) +
      VersionNode(u"No NUL", "x\0y\0"s, 2, 1);
  const std::string block = VersionNode(
      u"VS_VERSION_INFO", std::string(52, '\x7f'), 52, 0,
      VersionNode(u"StringFileInfo", "", 0, 1, VersionNode(u"040904B0", "", 0, 1, strings)));
  const std::vector<unsigned char> bytes(block.begin(), block.end());
  const parse::VersionBlock version(bytes);
  ASSERT_TRUE(version.Valid());
  EXPECT_EQ(version.Value(u"")->size(), 52u);
  EXPECT_EQ(version.Text(u"StringFileInfo\\040904b0\\fileversion"), u"1, 2");
  EXPECT_EQ(version.Text(u"StringFileInfo\\040904b0\\Marked binary"), u"1, 2");
  EXPECT_EQ(version.Text(u"StringFileInfo\\040904b0\\No NUL"), u"xy");
  EXPECT_EQ(version.Text(u"StringFileInfo\\040904e4\\FileVersion"), std::nullopt);

  // Units are loaded as little-endian wherever the bytes lie, odd addresses too.
  std::vector<unsigned char> shifted(1 + bytes.size());
  std::copy(bytes.begin(), bytes.end(), shifted.begin() + 1);
  EXPECT_EQ(parse::VersionBlock(std::span(shifted).subspan(1)).Text(u"StringFileInfo\\040904b0\\FileVersion"),
            u"1, 2");

  // A root claiming more than there is, or named otherwise, is no resource.
  const std::vector<unsigned char> cut(bytes.begin(), bytes.end() - 4);
  EXPECT_FALSE(parse::VersionBlock(cut).Valid());
  const std::string other = VersionNode(u"VS_VERSION_INFX", "", 0, 0);
  EXPECT_FALSE(parse::VersionBlock(std::vector<unsigned char>(other.begin(), other.end())).Valid());
}

}  // namespace
