#include "scan/reg_key_cursor.h"

#include <algorithm>
#include <span>

#include "scan/key_listing.h"
#include "scan/parse/registry_value.h"
#include "win/error_text.h"
#include "win/utf8.h"

namespace scan {
namespace {

// A value that keeps growing between the size query and the read.
constexpr int kValueReads = 3;

}  // namespace

RegKeyCursor::RegKeyCursor(HKEY root, std::wstring_view path, DWORD flags, RegistryView view,
                           ProblemListener* problems)
    : Problems(problems) {
  Open(root, path, flags, view);
}

RegKeyCursor::RegKeyCursor(HKEY root, std::string_view path, DWORD flags, RegistryView view,
                           ProblemListener* problems)
    : RegKeyCursor(root, std::wstring_view(ansi::ToWide(path)), flags, view, problems) {}

RegKeyCursor::~RegKeyCursor() { Close(); }

REGSAM RegKeyCursor::AccessMask(DWORD flags) {
  REGSAM mask = 0;
  if (flags & ReadAccess) mask |= KEY_READ;
  if (flags & WriteAccess) mask |= KEY_WRITE | KEY_CREATE_LINK;
  return mask;
}

LONG RegKeyCursor::OpenKey(HKEY parent, const std::wstring& path, win::UniqueHkey& key) const {
  const REGSAM mask = AccessMask(AccessFlags) | ViewFlag(View);
  const LONG r = ::RegOpenKeyExW(parent, path.c_str(), 0, mask, key.put());
  if (r != ERROR_SUCCESS) key.release();  // the call wrote nothing we own
  return r;
}

void RegKeyCursor::TellFailure(LONG error, std::wstring_view what) const {
  if (!Problems || error == ERROR_FILE_NOT_FOUND) return;
  const wchar_t* root = RootKey == HKEY_LOCAL_MACHINE  ? L"HKEY_LOCAL_MACHINE\\"
                        : RootKey == HKEY_CURRENT_USER ? L"HKEY_CURRENT_USER\\"
                                                       : L"";
  std::wstring reason(what);
  if (error != ERROR_SUCCESS) reason += win::ErrorText(static_cast<DWORD>(error));
  if (View == RegistryView::Wow32) reason += L", 32-bit view";
  Problems->Report(Problem::RegistryKey, root + CurrentPath, reason);
}

void RegKeyCursor::Open(HKEY root, std::wstring_view path, DWORD flags, RegistryView view) {
  Parents.clear();
  RootKey = root;
  BasePath = path;
  CurrentPath = BasePath;
  AccessFlags = flags;
  View = view;
  if (const LONG r = OpenKey(RootKey, BasePath, KeyHandle); r != ERROR_SUCCESS) {
    TellFailure(r);
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
  // A name too long for the buffer still shows that there is one.
  wchar_t buffer[256];
  DWORD size = 256;
  const HKEY key = KeyHandle.get();
  const LONG r =
      kind == Kind::Values
          ? ::RegEnumValueW(key, 0, buffer, &size, nullptr, nullptr, nullptr, nullptr)
          : ::RegEnumKeyExW(key, 0, buffer, &size, nullptr, nullptr, nullptr, nullptr);
  return r == ERROR_SUCCESS || r == ERROR_MORE_DATA ? 1 : 0;
}

std::vector<std::wstring> RegKeyCursor::Names(Kind kind) const {
  if (!KeyHandle) return {};
  KeyListing listing =
      ListNames(KeyHandle.get(), kind == Kind::Values ? NameKind::Values : NameKind::SubKeys);
  if (listing.end != ERROR_NO_MORE_ITEMS)
    TellFailure(listing.end, L"listing cut short: ");
  else if (!listing.whole)
    TellFailure(ERROR_SUCCESS, L"listing kept changing while read, so names may be missing");
  return std::move(listing.names);
}

int RegKeyCursor::HasValues() const { return HasNames(Kind::Values); }
int RegKeyCursor::HasSubKeys() const { return HasNames(Kind::SubKeys); }
std::vector<std::wstring> RegKeyCursor::ValueNames() const { return Names(Kind::Values); }
std::vector<std::wstring> RegKeyCursor::SubKeyNames() const { return Names(Kind::SubKeys); }

LONG RegKeyCursor::Descend(std::wstring_view name) {
  win::UniqueHkey child;
  const bool below = KeyHandle.valid();
  const LONG r = below ? OpenKey(KeyHandle.get(), std::wstring(name), child) : ERROR_INVALID_HANDLE;
  Parents.push_back({std::move(KeyHandle), CurrentPath.size()});
  CurrentPath += L'\\';
  CurrentPath += name;
  if (below && r != ERROR_SUCCESS) TellFailure(r);  // above it, the failure was told already
  KeyHandle = std::move(child);
  return r;
}

void RegKeyCursor::Ascend() {
  if (Parents.empty()) return;  // at BasePath, which it never goes above
  KeyHandle = std::move(Parents.back().key);
  CurrentPath.resize(Parents.back().pathLength);
  Parents.pop_back();
}

std::wstring RegKeyCursor::QueryValue(std::wstring_view name, const wchar_t* defaultText) const {
  std::wstring result = defaultText ? defaultText : L"";
  if (!KeyHandle) return result;
  const std::wstring valueName(name);
  for (int read = 0; read < kValueReads; ++read) {
    DWORD size = 0;
    if (::RegQueryValueExW(KeyHandle.get(), valueName.c_str(), nullptr, nullptr, nullptr, &size) !=
        ERROR_SUCCESS)
      return result;
    std::vector<unsigned char> buffer(size);
    DWORD type = 0;
    DWORD got = size;
    const LONG r = ::RegQueryValueExW(KeyHandle.get(), valueName.c_str(), nullptr, &type,
                                      buffer.data(), &got);
    if (r == ERROR_MORE_DATA) continue;  // it grew meanwhile
    if (r != ERROR_SUCCESS) return result;
    if (auto text = parse::RegistryValueText(type, std::span(buffer.data(), std::min(got, size))))
      result.assign(text->begin(), text->end());
    return result;
  }
  return result;
}

}  // namespace scan
