#include "device_name.h"

#include <string>

namespace {

std::wstring UpperAscii(std::wstring_view text) {
  std::wstring upper(text);
  for (wchar_t& c : upper)
    if (c >= L'a' && c <= L'z') c = static_cast<wchar_t>(c - L'a' + L'A');
  return upper;
}

}  // namespace

DeviceName ReservedDeviceName(std::wstring_view path) {
  if (path.starts_with(L"\\\\?\\")) return DeviceName::kNone;
  std::wstring_view name = path.substr(path.find_last_of(L"\\/") + 1);
  // A drive-relative "C:nul" names the device as well.
  if (name.size() >= 2 && name[1] == L':') name.remove_prefix(2);
  // The name is what comes before an extension or a colon, without the
  // trailing blanks the system drops.
  name = name.substr(0, name.find_first_of(L".:"));
  while (name.ends_with(L' ')) name.remove_suffix(1);
  const std::wstring upper = UpperAscii(name);
  if (upper == L"NUL") return DeviceName::kNull;
  if (upper == L"CON") return DeviceName::kConsole;
  if (upper == L"PRN" || upper == L"AUX") return DeviceName::kOther;
  if (upper.size() == 4 && (upper.starts_with(L"COM") || upper.starts_with(L"LPT")) &&
      upper[3] >= L'1' && upper[3] <= L'9')
    return DeviceName::kOther;
  return DeviceName::kNone;
}
