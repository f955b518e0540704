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

std::string ProductLabel(const std::string& applicationPath) {
  std::string text = applicationPath;
  while (ansi::EndsWithBackslash(text)) text.pop_back();
  std::size_t last = ansi::FindLastBackslash(text);
  if (last != std::string::npos) text.erase(0, last + 1);
  return ansi::ReplaceAll(text, "Adobe ", "");
}

bool UsesSharedPlugins(const std::string& product, const std::string& versionKey) {
  const double version = ansi::ToDouble(versionKey);
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
