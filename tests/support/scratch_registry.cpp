#include "support/scratch_registry.h"

#include <gtest/gtest.h>

#include <cstdio>

#include "win/trust_settings.h"
#include "win/unique_handle.h"

namespace test_support {
namespace {
win::UniqueHkey CreateUnder(HKEY root, const std::string& path) {
  win::UniqueHkey key;
  LONG r = ::RegCreateKeyExA(root, path.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                             key.put(), nullptr);
  EXPECT_EQ(r, ERROR_SUCCESS) << path;
  return key;
}
}  // namespace

ScratchRegistry::ScratchRegistry(HKEY redirected) : redirected_(redirected) {
  static unsigned made = 0;  // two in the same tick are two keys
  char name[96];
  std::snprintf(name, sizeof name, "Software\\VarnockTests\\scratch-%lu-%lu-%u",
                ::GetCurrentProcessId(), ::GetTickCount(), ++made);
  scratchPath_ = name;
  LONG r = ::RegCreateKeyExA(HKEY_CURRENT_USER, scratchPath_.c_str(), 0, nullptr, 0,
                             KEY_ALL_ACCESS, nullptr, scratch_.put(), nullptr);
  if (r != ERROR_SUCCESS) {
    ADD_FAILURE() << "cannot create the scratch key";
    return;
  }
  if (redirected_ == HKEY_LOCAL_MACHINE) win::CopyTrustSettings(scratch_.get());
  r = ::RegOverridePredefKey(redirected_, scratch_.get());
  if (r != ERROR_SUCCESS) ADD_FAILURE() << "RegOverridePredefKey failed: " << r;
  if (redirected_ != HKEY_LOCAL_MACHINE) return;
  // As on every 64-bit machine. Wine redirects the 32-bit view only below a
  // key that has this child; without it both views would be the same keys.
  CreateKey("SOFTWARE\\Wow6432Node");
}

ScratchRegistry::~ScratchRegistry() {
  ::RegOverridePredefKey(redirected_, nullptr);
  scratch_.reset();
  ::RegDeleteTreeA(HKEY_CURRENT_USER, scratchPath_.c_str());
}

void ScratchRegistry::CreateKey(const std::string& path) { CreateUnder(redirected_, path); }

void ScratchRegistry::SetRaw(const std::string& path, const std::string& name, DWORD type,
                             std::string_view bytes) {
  win::UniqueHkey key = CreateUnder(redirected_, path);
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
  return ::RegOpenKeyExA(redirected_, path.c_str(), 0, KEY_READ, key.put()) ==
         ERROR_SUCCESS;
}

void ScratchRegistry::DeleteKey(const std::string& path) {
  ::RegDeleteTreeA(redirected_, path.c_str());
  ::RegDeleteKeyA(redirected_, path.c_str());
}

}  // namespace test_support
