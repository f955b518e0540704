#pragma once
// HKEY_LOCAL_MACHINE redirected to a fresh key below HKEY_CURRENT_USER for
// the benchmark's lifetime; the key and all it holds go with it. The
// machine's own keys are touched only when the scratch machine is shared
// with a program that cannot be redirected (the console tool): then the
// prefix's HKLM\SOFTWARE\Adobe is replaced by the scratch one, and deleted
// with the scratch key.
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
  // The scratch SOFTWARE\Adobe, as it stands now, copied over the prefix's
  // own (whatever that held goes), for programs started unredirected.
  bool ShareWithPrefix();

 private:
  std::string path_;
  win::UniqueHkey scratch_;
  win::UniqueHkey prefixSoftware_;  // the prefix's own HKLM\SOFTWARE
  bool shared_ = false;
  bool redirected_ = false;
};

}  // namespace bench
