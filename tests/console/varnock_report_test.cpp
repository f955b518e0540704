#include <gtest/gtest.h>

#include "support/child_process.h"

using test_support::RunChild;
using test_support::ToolPath;

namespace {

const std::string kTool = "\"" + ToolPath("varnock-report.exe") + "\"";

TEST(VarnockReportTool, HelpGoesToStandardOutput) {
  auto result = RunChild(kTool + " --help");
  EXPECT_EQ(result.exitCode, 0);
  EXPECT_NE(result.out.find("Usage: varnock-report"), std::string::npos);
  EXPECT_EQ(result.out.find("\r\r"), std::string::npos);  // a text stream adds the CR
  EXPECT_EQ(result.err, "");
}

TEST(VarnockReportTool, UnknownOptionIsAnErrorWithUsage) {
  auto result = RunChild(kTool + " --frobnicate");
  EXPECT_EQ(result.exitCode, 2);
  EXPECT_EQ(result.out, "");
  EXPECT_NE(result.err.find("--frobnicate"), std::string::npos);
  EXPECT_NE(result.err.find("Usage: varnock-report"), std::string::npos);
}

TEST(VarnockReportTool, BadFormatIsAnErrorWithUsage) {
  for (const char* arguments : {" --format xml", " --format=", " --all --format", " --format Text"}) {
    auto result = RunChild(kTool + arguments);
    EXPECT_EQ(result.exitCode, 2) << arguments;
    EXPECT_EQ(result.out, "") << arguments;
    EXPECT_NE(result.err.find("Usage: varnock-report"), std::string::npos) << arguments;
    EXPECT_EQ(result.err.find("\r\r"), std::string::npos) << arguments;
  }
}

TEST(VarnockReportTool, ReportIsBinaryCrLf) {
  auto result = RunChild(kTool);
  EXPECT_EQ(result.exitCode, 0);
  ASSERT_GE(result.out.size(), 2u);
  EXPECT_EQ(result.out.substr(0, 2), "\r\n");
  EXPECT_EQ(result.out.find("\r\r"), std::string::npos);
  EXPECT_EQ(result.err, "");
}

}  // namespace
