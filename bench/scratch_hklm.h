#pragma once
// HKEY_LOCAL_MACHINE redirected to a fresh key below HKEY_CURRENT_USER for
// the benchmark's lifetime; the key and all it holds go with it. The
// machine's own keys are never touched.
#include <windows.h>

#include <string>

#include "win/unique_handle.h"

namespace bench {

class ScratchHklm {
 public:
  ScratchHklm();
  ~ScratchHklm();
  ScratchHklm(const ScratchHklm&) = delete;
  ScratchHklm& operator=(const ScratchHklm&) = delete;

  bool Ready() const { return redirected_; }
  // The key below HKEY_CURRENT_USER that stands in for HKEY_LOCAL_MACHINE.
  const std::string& Path() const { return path_; }
  // Below the redirected HKEY_LOCAL_MACHINE; keys on the path are created.
  void SetString(const std::string& key, const std::string& name, const std::string& value);
  void SetDword(const std::string& key, const std::string& name, DWORD value);
  // Below the redirected HKEY_LOCAL_MACHINE, with all it holds.
  void DeleteKey(const std::string& key);

 private:
  std::string path_;
  win::UniqueHkey scratch_;
  bool redirected_ = false;
};

}  // namespace bench
