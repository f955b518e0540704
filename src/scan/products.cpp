#include "scan/products.h"

#include "win/ansi.h"

namespace scan {

std::vector<ProductView> ProductViews() {
  std::vector<ProductView> pairs;
  for (const char* const* product = ProductTable; *product; ++product)
    for (RegistryView view : kRegistryViews) pairs.push_back({*product, view});
  return pairs;
}

std::string ProductKeyPath(const std::string& product) {
  return "Software\\Adobe\\" + product;
}

std::wstring ProductLabel(std::wstring_view applicationPath) {
  std::wstring_view text = applicationPath;
  while (text.ends_with(L'\\')) text.remove_suffix(1);
  if (const std::size_t last = text.rfind(L'\\'); last != std::wstring_view::npos)
    text.remove_prefix(last + 1);
  std::wstring label;
  constexpr std::wstring_view kAdobe = L"Adobe ";
  // Each "Adobe " goes where it stands; what joins up after a removal stays.
  for (std::size_t at = 0; at < text.size();) {
    if (text.substr(at).starts_with(kAdobe)) {
      at += kAdobe.size();
    } else {
      label += text[at++];
    }
  }
  return label;
}

bool UsesSharedPlugins(const std::string& product, std::wstring_view versionKey) {
  std::string number;
  for (wchar_t c : versionKey) {
    if (c >= 0x80) break;
    number += static_cast<char>(c);
  }
  const double version = ansi::ToDouble(number);
  if (ansi::Compare(product, "Photoshop") == 0) return version >= 9.0;
  if (ansi::Compare(product, "Photoshop Elements") == 0) return version >= 4.0;
  return false;
}

std::wstring ProgramFileName(const std::string& product) {
  if (ansi::Compare(product, "Photoshop") == 0) return L"Photoshop.exe";
  if (ansi::Compare(product, "Photoshop Elements") == 0) return L"PhotoshopElementsEditor.exe";
  return {};
}

}  // namespace scan
