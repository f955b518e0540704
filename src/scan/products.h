#pragma once
// The products whose installations are looked for, and what their registry
// keys tell about each installed version.
#include <string>
#include <string_view>
#include <vector>

#include "scan/registry_view.h"

namespace scan {

// Null-terminated, in the order the scan and the report take them.
inline constexpr const char* ProductTable[] = {"Photoshop", "Photoshop Elements", nullptr};

// Each product in table order, in the 64-bit view and then in the 32-bit one:
// the order in which the scan walks them and the report lists them.
struct ProductView {
  std::string product;
  RegistryView view;
};
std::vector<ProductView> ProductViews();

inline constexpr const char* kInstallerKeyPath = "SOFTWARE\\Adobe\\CommonFiles\\Adobe\\installer";

std::string ProductKeyPath(const std::string& product);

// The Product column's text from an application path: its last component,
// trailing backslashes ignored, with every "Adobe " taken out. Made from the
// registry's exact text; the list's ANSI text is made from the label.
std::wstring ProductLabel(std::wstring_view applicationPath);

// Whether a version key of this product also has the shared plug-ins folder
// walked: Photoshop from 9.0 on, Photoshop Elements from 4.0 on, by the
// number atof reads from the key's exact name (a number is ASCII, so the
// first character beyond ASCII ends it as any other letter would).
bool UsesSharedPlugins(const std::string& product, std::wstring_view versionKey);

// The file name of the product's own program in its application folder,
// empty for a product not in the ProductTable.
std::wstring ProgramFileName(const std::string& product);

}  // namespace scan
