#include "scan/reg_key_cursor.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <span>
#include <vector>

#include "scan/parse/registry_value.h"
#include "win/ansi.h"
#include "win/error_text.h"
#include "win/utf8.h"

namespace scan {
namespace {

// Names are at most 255 characters for keys and 16383 for values; in a
// double-byte code page that may take twice as many bytes, so a name that does
// not fit is read again with room to spare. The first read offers room for any
// key name rather than asking the key for its longest: Wine answers that
// question by looking at every subkey, which made a walk over many subkeys
// quadratic.
constexpr DWORD kFirstNameBytes = 256;
constexpr DWORD kMaxNameBytes = 2 * 16384;

LONG EnumName(HKEY key, bool values, DWORD index, char* buffer, DWORD& size) {
  return values ? ::RegEnumValueA(key, index, buffer, &size, nullptr, nullptr, nullptr, nullptr)
                : ::RegEnumKeyExA(key, index, buffer, &size, nullptr, nullptr, nullptr, nullptr);
}

}  // namespace

RegKeyCursor::RegKeyCursor(HKEY root, const std::string& path, DWORD flags, RegistryView view,
                           ProblemListener* problems)
    : Problems(problems) {
  Open(root, path, flags, view);
}

RegKeyCursor::~RegKeyCursor() { Close(); }

REGSAM RegKeyCursor::AccessMask(DWORD flags) {
  REGSAM mask = 0;
  if (flags & ReadAccess) mask |= KEY_READ;
  if (flags & WriteAccess) mask |= KEY_WRITE | KEY_CREATE_LINK;
  return mask;
}

LONG RegKeyCursor::OpenKey(HKEY parent, const std::string& path, win::UniqueHkey& key) const {
  const REGSAM mask = AccessMask(AccessFlags) | ViewFlag(View);
  LONG r = View == RegistryView::Wow32
               ? ::RegOpenKeyExA(parent, path.c_str(), 0, mask, key.put())
               : ::RegCreateKeyExA(parent, path.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE, mask,
                                   nullptr, key.put(), nullptr);
  if (r != ERROR_SUCCESS) key.release();  // the call wrote nothing we own
  return r;
}

void RegKeyCursor::TellFailure(LONG error, HKEY parent, const std::string& path) const {
  if (!Problems || error == ERROR_FILE_NOT_FOUND) return;
  // Where the process may not create keys, create-or-open is denied for a key
  // that is not there as well: for a user without those rights, every product
  // not installed. Only a plain open tells the two apart.
  if (error == ERROR_ACCESS_DENIED && View != RegistryView::Wow32) {
    win::UniqueHkey probe;
    const LONG opened =
        ::RegOpenKeyExA(parent, path.c_str(), 0, KEY_READ | ViewFlag(View), probe.put());
    if (opened != ERROR_SUCCESS) probe.release();  // the call wrote nothing we own
    if (opened == ERROR_FILE_NOT_FOUND) return;
  }
  const char* root = RootKey == HKEY_LOCAL_MACHINE  ? "HKEY_LOCAL_MACHINE\\"
                     : RootKey == HKEY_CURRENT_USER ? "HKEY_CURRENT_USER\\"
                                                    : "";
  std::wstring reason = win::ErrorText(static_cast<DWORD>(error));
  if (View == RegistryView::Wow32) reason += L", 32-bit view";
  Problems->Report(Problem::RegistryKey, ansi::ToWide(root + CurrentPath), reason);
}

void RegKeyCursor::Open(HKEY root, const std::string& path, DWORD flags, RegistryView view) {
  Parents.clear();
  RootKey = root;
  BasePath = path;
  CurrentPath = BasePath;
  AccessFlags = flags;
  View = view;
  if (const LONG r = OpenKey(RootKey, BasePath, KeyHandle); r != ERROR_SUCCESS) {
    TellFailure(r, RootKey, BasePath);
    RootKey = nullptr;
    BasePath.clear();
    CurrentPath.clear();
    AccessFlags = 0;
  }
}

void RegKeyCursor::Close() {
  Parents.clear();
  KeyHandle.reset();
}

int RegKeyCursor::HasNames(Kind kind) const {
  if (!KeyHandle) return 0;
  const bool values = kind == Kind::Values;
  // A name too long for the buffer still shows that there is one.
  char buffer[kFirstNameBytes];
  DWORD size = kFirstNameBytes;
  LONG r = EnumName(KeyHandle.get(), values, 0, buffer, size);
  return r != ERROR_NO_MORE_ITEMS ? 1 : 0;
}

std::string RegKeyCursor::NextName(Kind kind, int& cursor) const {
  if (!KeyHandle || cursor <= 0) {
    cursor = 0;
    return {};
  }
  const bool values = kind == Kind::Values;
  const DWORD index = static_cast<DWORD>(cursor);
  DWORD capacity = kFirstNameBytes;
  std::vector<char> buffer(capacity);
  std::string name;
  for (;;) {
    DWORD size = capacity;
    LONG r = EnumName(KeyHandle.get(), values, index - 1, buffer.data(), size);
    if (r == ERROR_SUCCESS) {
      name.assign(buffer.data(), strnlen(buffer.data(), capacity));
      break;
    }
    if (r != ERROR_MORE_DATA || capacity >= kMaxNameBytes) break;  // no name: hand out ""
    capacity = std::min<DWORD>(kMaxNameBytes, capacity * 2 + 256);
    buffer.assign(capacity, '\0');
  }
  // Only whether the next index exists matters here, not its name.
  DWORD probeSize = capacity;
  LONG probe = EnumName(KeyHandle.get(), values, index, buffer.data(), probeSize);
  cursor = probe == ERROR_NO_MORE_ITEMS ? 0 : cursor + 1;
  return name;
}

int RegKeyCursor::HasValues() const { return HasNames(Kind::Values); }
int RegKeyCursor::HasSubKeys() const { return HasNames(Kind::SubKeys); }
std::string RegKeyCursor::NextValueName(int& cursor) const { return NextName(Kind::Values, cursor); }
std::string RegKeyCursor::NextSubKeyName(int& cursor) const {
  return NextName(Kind::SubKeys, cursor);
}

void RegKeyCursor::Descend(const std::string& name) {
  win::UniqueHkey child;
  const LONG r = KeyHandle ? OpenKey(KeyHandle.get(), name, child) : ERROR_SUCCESS;
  Parents.push_back({std::move(KeyHandle), CurrentPath.size()});
  CurrentPath += '\\';
  CurrentPath += name;
  if (r != ERROR_SUCCESS) TellFailure(r, Parents.back().key.get(), name);
  KeyHandle = std::move(child);
}

void RegKeyCursor::Ascend() {
  if (Parents.empty()) return;  // at BasePath, which it never goes above
  KeyHandle = std::move(Parents.back().key);
  CurrentPath.resize(Parents.back().pathLength);
  Parents.pop_back();
}

void RegKeyCursor::QueryValue(const std::string& name, std::string& result,
                              const char* defaultText) const {
  result = defaultText ? defaultText : "";
  if (!KeyHandle) return;
  DWORD type = 0;
  DWORD size = 0;
  ::RegQueryValueExA(KeyHandle.get(), name.c_str(), nullptr, &type, nullptr, &size);
  if (size <= result.size()) size = static_cast<DWORD>(result.size());
  // One byte more than offered, zeroed, so text stored without its NUL ends
  // with its data.
  std::vector<unsigned char> buffer(size + 1, 0);
  DWORD got = size;
  if (::RegQueryValueExA(KeyHandle.get(), name.c_str(), nullptr, nullptr, buffer.data(), &got) !=
      ERROR_SUCCESS)
    return;
  got = std::min(got, size);
  if (auto text = parse::RegistryValueText(type, std::span(buffer.data(), got)))
    result = std::move(*text);
}

std::string RegKeyCursor::QueryValue(const std::string& name, const char* defaultText) const {
  std::string result;
  QueryValue(name, result, defaultText);
  return result;
}

}  // namespace scan
