#pragma once
// One open registry key below a root, walked depth-first with Descend and
// Ascend. Names, paths and values are the registry's own UTF-16 text, so a
// name the ANSI code page cannot hold (or one that is not even valid UTF-16)
// is still found and followed.
//
// Keys are only ever opened, for reading, in either registry view: the scan
// creates no key and writes no value, and leaves the machine as it found it.
// A failed open leaves a cursor without a key, which has no names and ends
// any loop at once; it is told to a ProblemListener when one is given,
// unless the key is simply not there.
//
// A key's names are read all at once, before any of them is walked, and
// checked against the key's change notification (key_listing.h): a key
// added or removed by an installer during the scan then makes no other name
// come twice or go missing. Any error ends a key's listing with what was
// read so far, and a listing that kept changing for too long is kept as far
// as it could be trusted; both are told, only a listing's plain end is not.
//
// Descend opens the subkey relative to the key open now and keeps that key
// open beneath it, so Ascend needs no reopen. Spelling the whole path out
// from the root would fail past MAX_PATH characters under Wine, and a key
// that cannot be opened (too deep, gone, or nobody may read it) would leave
// the cursor with no way back up: every key after it would go unscanned.
#include <windows.h>

#include <string>
#include <string_view>
#include <vector>

#include "scan/registry_view.h"
#include "scan/scan_problems.h"
#include "win/unique_handle.h"

namespace scan {

class RegKeyCursor {
 public:
  enum Access : DWORD { ReadAccess = 1, WriteAccess = 2 };

  RegKeyCursor(HKEY root, std::wstring_view path, DWORD flags,
               RegistryView view = RegistryView::Native64, ProblemListener* problems = nullptr);
  // A path in the ANSI code page, as the program's own key paths are.
  RegKeyCursor(HKEY root, std::string_view path, DWORD flags,
               RegistryView view = RegistryView::Native64, ProblemListener* problems = nullptr);
  ~RegKeyCursor();
  RegKeyCursor(const RegKeyCursor&) = delete;
  RegKeyCursor& operator=(const RegKeyCursor&) = delete;

  void Open(HKEY root, std::wstring_view path, DWORD flags,
            RegistryView view = RegistryView::Native64);
  void Close();

  // 1 when the open key has at least one value (or subkey), else 0.
  int HasValues() const;
  int HasSubKeys() const;
  // Every value (subkey) name of the open key, in the registry's order; an
  // unnamed default value that is set comes as an empty name.
  std::vector<std::wstring> ValueNames() const;
  std::vector<std::wstring> SubKeyNames() const;

  // Moves to the named subkey; the cursor is then without a key if it could
  // not be opened (IsOpen), until the matching Ascend. Returns how the open
  // went (ERROR_INVALID_HANDLE below a cursor without a key).
  LONG Descend(std::wstring_view name);
  void Ascend();

  // Text of a REG_SZ value, or a REG_DWORD as signed decimal; the default
  // (empty when none is given) for anything else. An empty name reads the
  // key's unnamed default value.
  std::wstring QueryValue(std::wstring_view name, const wchar_t* defaultText = nullptr) const;

  bool IsOpen() const { return KeyHandle.valid(); }
  const std::wstring& GetBasePath() const { return BasePath; }
  const std::wstring& GetCurrentPath() const { return CurrentPath; }
  RegistryView GetView() const { return View; }

  static REGSAM AccessMask(DWORD flags);

 private:
  enum class Kind { Values, SubKeys };
  // Opens path below parent in this cursor's view and with its access.
  LONG OpenKey(HKEY parent, const std::wstring& path, win::UniqueHkey& key) const;
  // Tells the listener of a failure at the key named by CurrentPath, unless
  // it is that the key is not there. ERROR_SUCCESS: `what` says it all.
  void TellFailure(LONG error, std::wstring_view what = {}) const;
  int HasNames(Kind kind) const;
  std::vector<std::wstring> Names(Kind kind) const;

  // A key Descend went down from, and how long CurrentPath was there.
  struct Level {
    win::UniqueHkey key;
    std::size_t pathLength;
  };

  HKEY RootKey = nullptr;
  std::wstring BasePath;
  win::UniqueHkey KeyHandle;
  std::wstring CurrentPath;
  DWORD AccessFlags = 0;
  RegistryView View = RegistryView::Native64;
  std::vector<Level> Parents;  // one per Descend not yet undone
  ProblemListener* Problems = nullptr;
};

}  // namespace scan
