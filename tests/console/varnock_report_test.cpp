#include <gtest/gtest.h>

#include <windows.h>

#include <aclapi.h>

#include "support/child_process.h"
#include "win/unique_handle.h"

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

// A version key whose name holds CR LF and a tab, with a subkey nobody may
// read: the --verbose line keeps its three fields and the text report gains
// no line. Written to the prefix's own machine, and removed again.
TEST(VarnockReportTool, NamesWithTabsAndLineEndsKeepLinesWhole) {
  const std::string product = "Software\\Adobe\\Photoshop";
  const std::string version = product + "\\9.7\r\nFAKE\tLINE";
  win::UniqueHkey productKey, locked;
  DWORD created = 0;
  ASSERT_EQ(::RegCreateKeyExA(HKEY_LOCAL_MACHINE, product.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS,
                              nullptr, productKey.put(), &created), 0);
  ASSERT_EQ(::RegCreateKeyExA(HKEY_LOCAL_MACHINE, (version + "\\Locked").c_str(), 0, nullptr, 0,
                              KEY_ALL_ACCESS, nullptr, locked.put(), nullptr), 0);
  ACL* oldDacl = nullptr;
  PSECURITY_DESCRIPTOR oldDescriptor = nullptr;
  ::GetSecurityInfo(locked.get(), SE_REGISTRY_KEY, DACL_SECURITY_INFORMATION, nullptr, nullptr,
                    &oldDacl, nullptr, &oldDescriptor);
  alignas(DWORD) unsigned char empty[64] = {};
  ::InitializeAcl(reinterpret_cast<ACL*>(empty), sizeof empty, ACL_REVISION);
  ::SetSecurityInfo(locked.get(), SE_REGISTRY_KEY, DACL_SECURITY_INFORMATION, nullptr, nullptr,
                    reinterpret_cast<ACL*>(empty), nullptr);
  win::UniqueHkey probe;
  const bool enforced = ::RegOpenKeyExA(HKEY_LOCAL_MACHINE, (version + "\\Locked").c_str(), 0,
                                        KEY_READ, probe.put()) != ERROR_SUCCESS;
  if (!enforced) probe.release();
  const auto result = RunChild(kTool + " --verbose");
  ::SetSecurityInfo(locked.get(), SE_REGISTRY_KEY, DACL_SECURITY_INFORMATION, nullptr, nullptr,
                    oldDacl, nullptr);
  ::LocalFree(oldDescriptor);
  locked.reset();
  ::RegDeleteTreeA(HKEY_LOCAL_MACHINE, (created == REG_CREATED_NEW_KEY ? product : version).c_str());

  EXPECT_NE(result.out.find("\r\nPhotoshop 9.7\\r\\nFAKE\\tLINE\r\n---"), std::string::npos)
      << result.out;
  if (!enforced) GTEST_SKIP() << "this registry does not enforce key security";
  ASSERT_EQ(result.err.find("\r\n"), result.err.size() - 2) << result.err;
  const std::string line = result.err.substr(0, result.err.size() - 2);
  const std::size_t first = line.find('\t'), second = line.find('\t', first + 1);
  ASSERT_NE(second, std::string::npos) << line;
  EXPECT_EQ(line.find('\t', second + 1), std::string::npos) << line;
  EXPECT_EQ(line.substr(0, first + 1), "cannot open registry key\t");
  EXPECT_EQ(line.substr(first + 1, second - first - 1),
            "HKEY_LOCAL_MACHINE\\Software\\Adobe\\Photoshop\\9.7\\r\\nFAKE\\tLINE\\Locked");
}

}  // namespace
