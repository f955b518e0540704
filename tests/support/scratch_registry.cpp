#include "support/scratch_registry.h"

#include <gtest/gtest.h>

#include <cstdio>

#include "win/trust_settings.h"
#include "win/unique_handle.h"

namespace test_support {
namespace {
win::UniqueHkey CreateUnderHklm(const std::string& path) {
  win::UniqueHkey key;
  LONG r = ::RegCreateKeyExA(HKEY_LOCAL_MACHINE, path.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS,
                             nullptr, key.put(), nullptr);
  EXPECT_EQ(r, ERROR_SUCCESS) << path;
  return key;
}
}  // namespace

ScratchRegistry::ScratchRegistry() {
  char name[96];
  std::snprintf(name, sizeof name, "Software\\VarnockTests\\scratch-%lu-%lu",
                ::GetCurrentProcessId(), ::GetTickCount());
  scratchPath_ = name;
  LONG r = ::RegCreateKeyExA(HKEY_CURRENT_USER, scratchPath_.c_str(), 0, nullptr, 0,
                             KEY_ALL_ACCESS, nullptr, scratch_.put(), nullptr);
  if (r != ERROR_SUCCESS) {
    ADD_FAILURE() << "cannot create the scratch key";
    return;
  }
  win::CopyTrustSettings(scratch_.get());
  r = ::RegOverridePredefKey(HKEY_LOCAL_MACHINE, scratch_.get());
  if (r != ERROR_SUCCESS) ADD_FAILURE() << "RegOverridePredefKey failed: " << r;
  // As on every 64-bit machine. Wine redirects the 32-bit view only below a
  // key that has this child; without it both views would be the same keys.
  CreateKey("SOFTWARE\\Wow6432Node");
}

ScratchRegistry::~ScratchRegistry() {
  ::RegOverridePredefKey(HKEY_LOCAL_MACHINE, nullptr);
  scratch_.reset();
  ::RegDeleteTreeA(HKEY_CURRENT_USER, scratchPath_.c_str());
}

void ScratchRegistry::CreateKey(const std::string& path) { CreateUnderHklm(path); }

void ScratchRegistry::SetRaw(const std::string& path, const std::string& name, DWORD type,
                             std::string_view bytes) {
  win::UniqueHkey key = CreateUnderHklm(path);
  LONG r = ::RegSetValueExA(key.get(), name.c_str(), 0, type,
                            reinterpret_cast<const BYTE*>(bytes.data()),
                            static_cast<DWORD>(bytes.size()));
  EXPECT_EQ(r, ERROR_SUCCESS) << path << " " << name;
}

void ScratchRegistry::SetString(const std::string& path, const std::string& name,
                                const std::string& value) {
  SetRaw(path, name, REG_SZ, std::string_view(value.c_str(), value.size() + 1));
}

void ScratchRegistry::SetDword(const std::string& path, const std::string& name, DWORD value) {
  SetRaw(path, name, REG_DWORD,
         std::string_view(reinterpret_cast<const char*>(&value), sizeof value));
}

bool ScratchRegistry::KeyExists(const std::string& path) const {
  win::UniqueHkey key;
  return ::RegOpenKeyExA(HKEY_LOCAL_MACHINE, path.c_str(), 0, KEY_READ, key.put()) ==
         ERROR_SUCCESS;
}

void ScratchRegistry::DeleteKey(const std::string& path) {
  ::RegDeleteTreeA(HKEY_LOCAL_MACHINE, path.c_str());
  ::RegDeleteKeyA(HKEY_LOCAL_MACHINE, path.c_str());
}

}  // namespace test_support
