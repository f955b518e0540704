// The Architecture and Signature of every kind of module the scan may meet,
// as the console tool's --signatures and the window's pass give them.
#include <gtest/gtest.h>

#include <map>
#include <optional>
#include <string>

#include "scan/csv_report_writer.h"
#include "scan/json_report_writer.h"
#include "scan/memory_table.h"
#include "scan/plugin_scanner.h"
#include "scan/signature_pass.h"
#include "support/temp_tree.h"
#include "support/test_root.h"
#include "win/unique_handle.h"
#include "win/utf8.h"

namespace {

using Status = scan::SignatureCheck::Status;

class Problems : public scan::ProblemListener {
 public:
  void Report(scan::Problem problem, const std::wstring& path, const std::wstring&) override {
    seen[ansi::FromWide(path)] = problem;
  }
  std::map<std::string, scan::Problem> seen;
};

struct Case {
  const char* fixture;  // in the signed fixtures; nullptr: made by the test
  const char* name;
  const char* architecture;
  std::optional<Status> status;
  const char* text;
};

const Case kCases[] = {
    {"signed.dll", "Signed.8bi", "x64", Status::Signed, "Signed by Varnock Test Publisher"},
    {"expired.dll", "Expired.8bi", "x64", Status::Expired, "Expired: Varnock Expired Publisher"},
    {"untrusted.dll", "Untrusted.8bi", "x64", Status::Untrusted, "Untrusted: Varnock Stranger"},
    {"unsigned.dll", "Unsigned.8bi", "x64", Status::Unsigned, "Not signed"},
    {"changed-text.dll", "Changed.8bi", "x64", Status::Tampered, "Tampered"},
    {"broken-signature.dll", "Broken.8bi", "x64", Status::Tampered, "Tampered"},
    {"x86.dll", "Old.8bi", "x86", Status::Signed, "Signed by Varnock Test Publisher"},
    {"arm64.dll", "Arm.8bi", "ARM64", Status::Unsigned, "Not signed"},
    {"other-machine.dll", "Thumb.8bi", "0x01C4", Status::Unsigned, "Not signed"},
    {nullptr, "Readme.8bi", "", std::nullopt, ""},      // no module
    {nullptr, "Folder.8bi", "", std::nullopt, ""},      // a folder
    {"unsigned.dll", "Cut.8bi", "", std::nullopt, ""},  // cut inside its file header: no module
    {"signed.dll", "Held.8bi", "", Status::Unreadable, "Cannot check"},  // held unshared
};

TEST(Signatures, EveryKindOfModule) {
  ASSERT_TRUE(test_support::TrustTestRoot());
  test_support::TempTree tree;
  for (const Case& c : kCases) {
    const std::string target = "P\\" + std::string(c.name);
    const std::string module =
        c.fixture ? test_support::ReadWholeFile(test_support::SignedFixture(c.fixture)) : "";
    if (std::string(c.name) == "Cut.8bi")  // past the Machine field, short of the rest
      tree.MakeFile(target, module.substr(0, module.find(std::string("PE\0\0", 4)) + 14));
    else if (c.fixture)
      tree.MakeFile(target, module);
    else if (std::string(c.name) == "Folder.8bi")
      tree.MakeDir(target);
    else
      tree.MakeFile(target, "Not a module.\r\n");
  }
  const std::string held = tree.Path("P\\Held.8bi");
  const win::UniqueFile holder(::CreateFileA(held.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                                             0, nullptr));
  ASSERT_TRUE(holder);

  scan::MemoryTable table;
  Problems problems;
  scan::PluginScanner scanner(table, problems);
  scanner.ShowAllPlugins = true;
  scanner.WalkPluginFolder("Photoshop CS2", tree.Path("P"));
  scan::MemoryTable single = table;  // checked on one thread at the end
  scan::CheckSignatures(table, problems, scan::kMostCheckThreads, scan::CheckSignature);

  ASSERT_EQ(table.RowCount(), static_cast<int>(std::size(kCases)));
  for (const Case& c : kCases) {
    int row = 0;
    while (row < table.RowCount() && table.Cell(row, scan::FileColumn) != c.name) ++row;
    ASSERT_LT(row, table.RowCount()) << c.name;
    EXPECT_EQ(table.Cell(row, scan::ArchitectureColumn), c.architecture) << c.name;
    EXPECT_EQ(table.Cell(row, scan::SignatureColumn), c.text) << c.name;
    const auto check = table.Signature(row);
    EXPECT_EQ(check ? std::optional(check->status) : std::nullopt, c.status) << c.name;
  }
  EXPECT_EQ(problems.seen[held], scan::Problem::Signature);
  EXPECT_EQ(problems.seen.size(), 1u);  // the cut file is no damaged module either

  // The machine formats carry the status word and the signer's name apart.
  scan::StringSink json, csv;
  scan::JsonReportWriter jsonWriter(json, {}, true);
  scan::CsvReportWriter csvWriter(csv, true);
  scan::WriteReport(table, jsonWriter);
  scan::WriteReport(table, csvWriter);
  for (const char* expected :
       {"\"architecture\": \"x64\", \"program_architecture\": null, \"program_can_load\": null, "
        "\"signature\": {\"status\": \"signed\", \"signer\": \"Varnock Test Publisher\"}}",
        "\"architecture\": \"arm64\", \"program_architecture\": null, \"program_can_load\": null, "
        "\"signature\": {\"status\": \"unsigned\", \"signer\": null}}",
        "\"architecture\": null, \"program_architecture\": null, \"program_can_load\": null, "
        "\"signature\": null}",
        "\"architecture\": null, \"program_architecture\": null, \"program_can_load\": null, "
        "\"signature\": {\"status\": \"unreadable\", \"signer\": null}}"})
    EXPECT_NE(json.text.find(expected), std::string::npos) << expected;
  EXPECT_NE(csv.text.find(
                "File,Version,Product,Location,Architecture,Signature,Signer,Program architecture\r\n"),
            std::string::npos);
  EXPECT_NE(csv.text.find(",x64,expired,Varnock Expired Publisher,\r\n"), std::string::npos);
  // One thread gives the same report to the byte.
  scan::CheckSignatures(single, problems, 1, scan::CheckSignature);
  scan::StringSink texts[2];
  scan::TextReportWriter pooled(texts[0]), alone(texts[1]);
  scan::WriteReport(table, pooled);
  scan::WriteReport(single, alone);
  EXPECT_EQ(texts[0].text, texts[1].text);
}

}  // namespace
