#pragma once
// A private stand-in for HKEY_LOCAL_MACHINE (or, when asked, for
// HKEY_CURRENT_USER). While it lives, the process's key is redirected to a
// fresh key below the real HKEY_CURRENT_USER;
// on destruction the redirection is lifted and the key deleted with all it
// holds. Tests never touch the machine's own keys. Like a 64-bit machine it
// has a 32-bit registry view: keys written below "SOFTWARE\Wow6432Node" are
// what KEY_WOW64_32KEY reads.
#include <windows.h>

#include <string>
#include <string_view>

#include "win/unique_handle.h"

namespace test_support {

class ScratchRegistry {
 public:
  explicit ScratchRegistry(HKEY redirected = HKEY_LOCAL_MACHINE);
  ~ScratchRegistry();
  ScratchRegistry(const ScratchRegistry&) = delete;
  ScratchRegistry& operator=(const ScratchRegistry&) = delete;

  // Paths are relative to the redirected key.
  void CreateKey(const std::string& path);
  void SetString(const std::string& path, const std::string& name, const std::string& value);
  void SetDword(const std::string& path, const std::string& name, DWORD value);
  void SetRaw(const std::string& path, const std::string& name, DWORD type,
              std::string_view bytes);
  bool KeyExists(const std::string& path) const;
  void DeleteKey(const std::string& path);

  const std::string& ScratchPath() const { return scratchPath_; }

 private:
  HKEY redirected_;
  std::string scratchPath_;
  win::UniqueHkey scratch_;
};

}  // namespace test_support
