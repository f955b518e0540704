#include "scratch_hklm.h"

#include <cstdio>

#include "win/trust_settings.h"
#include "win/unique_handle.h"

namespace bench {
namespace {
void SetValue(const std::string& key, const std::string& name, DWORD type, const void* data,
              DWORD size) {
  win::UniqueHkey opened;
  if (::RegCreateKeyExA(HKEY_LOCAL_MACHINE, key.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                        opened.put(), nullptr) != ERROR_SUCCESS) {
    opened.release();
    return;
  }
  ::RegSetValueExA(opened.get(), name.c_str(), 0, type, static_cast<const BYTE*>(data), size);
}
}  // namespace

ScratchHklm::ScratchHklm() {
  char name[96];
  std::snprintf(name, sizeof name, "Software\\VarnockBench\\scratch-%lu", ::GetCurrentProcessId());
  path_ = name;
  ::RegDeleteTreeA(HKEY_CURRENT_USER, path_.c_str());
  if (::RegCreateKeyExA(HKEY_CURRENT_USER, path_.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                        scratch_.put(), nullptr) != ERROR_SUCCESS) {
    scratch_.release();
    return;
  }
  win::CopyTrustSettings(scratch_.get());
  // Opened before the redirection, which would hide it.
  if (::RegOpenKeyExA(HKEY_LOCAL_MACHINE, "SOFTWARE", 0, KEY_ALL_ACCESS, prefixSoftware_.put()) !=
      ERROR_SUCCESS)
    prefixSoftware_.release();
  redirected_ = ::RegOverridePredefKey(HKEY_LOCAL_MACHINE, scratch_.get()) == ERROR_SUCCESS;
  // As on every 64-bit machine: without it Wine would show the 32-bit view
  // the same keys as the 64-bit one, and the scan would walk them twice.
  win::UniqueHkey wow;
  if (::RegCreateKeyExA(scratch_.get(), "SOFTWARE\\Wow6432Node", 0, nullptr, 0, KEY_ALL_ACCESS,
                        nullptr, wow.put(), nullptr) != ERROR_SUCCESS)
    wow.release();
}

ScratchHklm::~ScratchHklm() {
  if (shared_) ::RegDeleteTreeA(prefixSoftware_.get(), "Adobe");
  ::RegOverridePredefKey(HKEY_LOCAL_MACHINE, nullptr);
  scratch_.reset();
  ::RegDeleteTreeA(HKEY_CURRENT_USER, path_.c_str());
}

void ScratchHklm::SetString(const std::string& key, const std::string& name,
                            const std::string& value) {
  SetValue(key, name, REG_SZ, value.c_str(), static_cast<DWORD>(value.size() + 1));
}

void ScratchHklm::SetDword(const std::string& key, const std::string& name, DWORD value) {
  SetValue(key, name, REG_DWORD, &value, sizeof value);
}

void ScratchHklm::DeleteKey(const std::string& key) {
  ::RegDeleteTreeA(scratch_.get(), key.c_str());
}

bool ScratchHklm::ShareWithPrefix() {
  if (!prefixSoftware_) return false;
  shared_ = true;
  ::RegDeleteTreeA(prefixSoftware_.get(), "Adobe");
  win::UniqueHkey from, to;
  if (::RegOpenKeyExA(scratch_.get(), "SOFTWARE\\Adobe", 0, KEY_READ, from.put()) !=
      ERROR_SUCCESS) {
    from.release();
    return true;  // no machine: nothing to copy
  }
  if (::RegCreateKeyExA(prefixSoftware_.get(), "Adobe", 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                        to.put(), nullptr) != ERROR_SUCCESS) {
    to.release();
    return false;
  }
  return ::RegCopyTreeA(from.get(), nullptr, to.get()) == ERROR_SUCCESS;
}

}  // namespace bench
