// Windows on Arm's module kinds, and damaged load configurations that leave
// a module as its header says, beside programs of each kind on x64 and Arm
// machines: the Architecture cell and whether the program loads the file.
#include <gtest/gtest.h>

#include <string>

#include "scan/memory_table.h"
#include "scan/plugin_scanner.h"
#include "scan/program_architecture.h"
#include "support/temp_tree.h"
#include "win/utf8.h"

namespace {

struct Kind {
  const char* fixture;
  const char* text;
  const char* loadedBy;  // '+' for each program below that loads it
};
constexpr Kind kModules[] = {
    {"fixture_cr_3_7", "x64", "-++-+"},   {"kind-arm64", "ARM64", "---+-"},
    {"kind-arm64ec", "ARM64EC", "--+-+"}, {"kind-arm64x", "ARM64X", "--+++"},
    {"kind-short", "x64", "-++-+"},       {"kind-outside", "ARM64", "---+-"},
    {"kind-no-chpe", "ARM64", "---+-"},   {"fixture_hybrid", "x64", "-++-+"},  // as linked
};
constexpr Kind kPrograms[] = {  // the machine in place of loadedBy
    {"kind-x86", "x86", "x64"},         {"fixture_cr_3_7", "x64", "x64"},
    {"fixture_cr_3_7", "x64", "arm64"}, {"kind-arm64", "ARM64", "arm64"},
    {"kind-arm64ec", "ARM64EC", "arm64"}};

TEST(ModuleKindsTest, CellAndLoadForEveryProgramOnEachMachine) {
  test_support::TempTree tree;
  for (int m = 0; m < static_cast<int>(std::size(kModules)); ++m)
    tree.CopyFixture(kModules[m].fixture, "P\\" + std::to_string(m) + ".8bi");
  for (std::size_t p = 0; p < std::size(kPrograms); ++p) {
    SCOPED_TRACE(std::string(kPrograms[p].text) + " on " + kPrograms[p].loadedBy);
    tree.CopyFixture(kPrograms[p].fixture, std::to_string(p) + "\\Photoshop.exe");
    const std::string program =
        scan::ProgramArchitecture("Photoshop", ansi::ToWide(tree.Path(std::to_string(p))));
    EXPECT_EQ(program, kPrograms[p].text);
    scan::MemoryTable table;
    scan::PluginScanner scanner(table);
    scanner.ShowAllPlugins = true;
    scanner.MachineArchitecture = kPrograms[p].loadedBy;
    scanner.WalkPluginFolder("Photoshop", tree.Path("P"), program);
    ASSERT_EQ(table.RowCount(), static_cast<int>(std::size(kModules)));
    for (int row = 0; row < table.RowCount(); ++row) {  // "0.8bi" onwards, in order
      const Kind& module = kModules[row];
      const bool loads = module.loadedBy[p] == '+';
      EXPECT_EQ(table.Cell(row, scan::ArchitectureColumn),
                module.text + (loads ? "" : " (program: " + program + ")")) << module.fixture;
      EXPECT_EQ(table.RowArchitectures(row).programCanLoad, loads) << module.fixture;
    }
  }
}

}  // namespace
