// Both programs' version blocks, read from the built files by the
// program's own version reader: what Explorer's Details tab, inventory
// tools and signature checkers show.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "res/version.h"
#include "scan/file_version_reader.h"
#include "support/child_process.h"
#include "test_paths.h"

namespace {

TEST(VersionBlocks, BothProgramsNameProductVersionAndCompany) {
  struct Program {
    std::string path, description, internalName, originalName;
  };
  const std::vector<Program> programs = {
      {test_paths::kProgram, "Varnock MFC Application", "Varnock", "Varnock.EXE"},
      {test_support::ToolPath("varnock-report.exe"), "Varnock report", "varnock-report",
       "varnock-report.exe"},
  };
  constexpr unsigned kVersionMS = VARNOCK_VERSION_MAJOR << 16 | VARNOCK_VERSION_MINOR;
  constexpr unsigned kVersionLS = VARNOCK_VERSION_PATCH << 16 | VARNOCK_VERSION_TWEAK;
  for (const Program& program : programs) {
    SCOPED_TRACE(program.path);
    scan::FileVersionReader reader;
    ASSERT_TRUE(reader.Load(program.path));
    EXPECT_EQ(reader.FixedInfo().dwFileVersionMS, kVersionMS);
    EXPECT_EQ(reader.FixedInfo().dwFileVersionLS, kVersionLS);
    EXPECT_EQ(reader.FixedInfo().dwProductVersionMS, kVersionMS);
    EXPECT_EQ(reader.FixedInfo().dwProductVersionLS, kVersionLS);
    const std::vector<std::pair<const char*, std::string>> strings = {
        {"CompanyName", "Halberwick"},
        {"FileDescription", program.description},
        {"FileVersion", VARNOCK_VERSION_TEXT},
        {"InternalName", program.internalName},
        {"LegalCopyright", "Copyright (C) 2026 Halberwick"},
        {"OriginalFilename", program.originalName},
        {"ProductName", "Varnock Application"},
        {"ProductVersion", VARNOCK_VERSION_TEXT},
    };
    for (const auto& [name, expected] : strings) EXPECT_EQ(reader.GetValue(name), expected) << name;
  }
}

}  // namespace
