#pragma once
// One open registry key below a root, walked depth-first with Descend and
// Ascend. Enumeration positions belong to the caller, one integer per loop:
// 0 means done, n means the next name is at index n - 1. That lets a single
// cursor serve nested loops at several depths.
//
// Keys of the 64-bit registry view are opened create-or-open, so a missing
// key is left behind empty where the process may create it; keys of the
// 32-bit view are only opened, never created. A failed open leaves a cursor
// without a key, which answers 0 to HasValues/HasSubKeys and ends any loop
// at once; it is told to a ProblemListener when one is given, unless the key
// is simply not there.
//
// Descend opens the subkey relative to the key open now and keeps that key
// open beneath it, so Ascend needs no reopen. Spelling the whole path out
// from the root would fail past MAX_PATH characters under Wine, and a key
// that cannot be opened (too deep, or nobody may read it) would leave the
// cursor with no way back up: every key after it would go unscanned.
#include <windows.h>

#include <string>
#include <vector>

#include "scan/registry_view.h"
#include "scan/scan_problems.h"
#include "win/unique_handle.h"

namespace scan {

class RegKeyCursor {
 public:
  enum Access : DWORD { ReadAccess = 1, WriteAccess = 2 };

  RegKeyCursor(HKEY root, const std::string& path, DWORD flags,
               RegistryView view = RegistryView::Native64, ProblemListener* problems = nullptr);
  ~RegKeyCursor();
  RegKeyCursor(const RegKeyCursor&) = delete;
  RegKeyCursor& operator=(const RegKeyCursor&) = delete;

  void Open(HKEY root, const std::string& path, DWORD flags,
            RegistryView view = RegistryView::Native64);
  void Close();

  int HasValues() const;
  std::string NextValueName(int& cursor) const;
  int HasSubKeys() const;
  std::string NextSubKeyName(int& cursor) const;

  void Descend(const std::string& name);
  void Ascend();

  // Text of a REG_SZ value, or a REG_DWORD as signed decimal; the default
  // (empty when none is given) for anything else. An empty name reads the
  // key's unnamed default value.
  void QueryValue(const std::string& name, std::string& result,
                  const char* defaultText = nullptr) const;
  std::string QueryValue(const std::string& name, const char* defaultText = nullptr) const;

  bool IsOpen() const { return KeyHandle.valid(); }
  const std::string& GetBasePath() const { return BasePath; }
  const std::string& GetCurrentPath() const { return CurrentPath; }
  RegistryView GetView() const { return View; }

  static REGSAM AccessMask(DWORD flags);

 private:
  enum class Kind { Values, SubKeys };
  // Opens path below parent in this cursor's view and with its access.
  LONG OpenKey(HKEY parent, const std::string& path, win::UniqueHkey& key) const;
  // Tells the listener of a failed open of `path` below `parent`, the key
  // now at CurrentPath, unless the key is not there.
  void TellFailure(LONG error, HKEY parent, const std::string& path) const;
  int HasNames(Kind kind) const;
  std::string NextName(Kind kind, int& cursor) const;

  // A key Descend went down from, and how long CurrentPath was there.
  struct Level {
    win::UniqueHkey key;
    std::size_t pathLength;
  };

  HKEY RootKey = nullptr;
  std::string BasePath;
  win::UniqueHkey KeyHandle;
  std::string CurrentPath;
  DWORD AccessFlags = 0;
  RegistryView View = RegistryView::Native64;
  std::vector<Level> Parents;  // one per Descend not yet undone
  ProblemListener* Problems = nullptr;
};

}  // namespace scan
