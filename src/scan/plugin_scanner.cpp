#include "scan/plugin_scanner.h"

#include <windows.h>

#include "scan/file_version_reader.h"
#include "scan/products.h"
#include "scan/reg_key_cursor.h"
#include "win/ansi.h"
#include "win/unique_handle.h"

namespace scan {

namespace {
// Brackets a scan's rows, also when the scan is left by an exception.
class RowBurst {
 public:
  explicit RowBurst(ResultTable& table) : table_(table) { table_.BeginRows(); }
  ~RowBurst() { table_.EndRows(); }
  RowBurst(const RowBurst&) = delete;
  RowBurst& operator=(const RowBurst&) = delete;

 private:
  ResultTable& table_;
};
}  // namespace

void PluginScanner::ScanInstallations() {
  repaint_.Restart();
  const RowBurst burst(table_);
  for (const char* const* product = ProductTable; *product; ++product) {
    const std::string name = *product;
    RegKeyCursor key(HKEY_LOCAL_MACHINE, ProductKeyPath(name), RegKeyCursor::ReadAccess);
    for (int cursor = key.HasSubKeys(); cursor != 0 && !table_.Abandoned();) {
      const std::string version = key.NextSubKeyName(cursor);
      key.Descend(version);
      std::string applicationPath = key.QueryValue("ApplicationPath", "");
      if (applicationPath.empty()) applicationPath = key.QueryValue("", version.c_str());
      const std::string label = ProductLabel(applicationPath);
      WalkRegistryPaths(label, key);
      key.Ascend();

      if (UsesSharedPlugins(name, version)) {
        RegKeyCursor installer(HKEY_LOCAL_MACHINE, kInstallerKeyPath, RegKeyCursor::ReadAccess);
        const std::string shared = installer.QueryValue("Path", "");
        // Without a path there is no shared folder; "Plug-ins" alone would
        // name whatever lies in the current directory.
        if (!shared.empty()) WalkPluginFolder(label, shared + "Plug-ins");
      }
    }
  }
  AutoSizeColumns();
}  // the burst's end shows the rows found since the last paced repaint

void PluginScanner::WalkRegistryPaths(const std::string& label, RegKeyCursor& key) {
  for (int cursor = key.HasValues(); cursor != 0 && !table_.Abandoned();) {
    const std::string value = key.QueryValue(key.NextValueName(cursor), "<none>");
    if (ansi::Contains(value, ":\\")) WalkPluginFolder(label, value);
  }
  for (int cursor = key.HasSubKeys(); cursor != 0 && !table_.Abandoned();) {
    const std::string subKey = key.NextSubKeyName(cursor);
    if (ansi::Compare(subKey, "Applicationpath") == 0) continue;
    key.Descend(subKey);
    WalkRegistryPaths(label, key);
    key.Ascend();
  }
}

void PluginScanner::AutoSizeColumns() {
  for (int column = 0, count = table_.ColumnCount(); column < count; ++column)
    table_.AutoSizeColumn(column);
}

bool PluginScanner::MatchesPluginName(const std::string& name, bool showAllPlugins) {
  const std::string lower = ansi::ToLower(name);
  return (showAllPlugins && ansi::Contains(lower, ".8b")) || lower == "camera raw.8bi" ||
         lower == "camera raw.zip" || lower == "nikon.8bi";
}

void PluginScanner::WalkPluginFolder(const std::string& label, const std::string& folder) {
  if (!VisitedFolders.Add(VisitedFolderList::KeyFor(label, folder))) return;
  ancestors_.push_back({folder, std::nullopt});
  Walk(label, folder);
  ancestors_.pop_back();
}

void PluginScanner::Walk(const std::string& label, const std::string& folder) {
  WIN32_FIND_DATAA entry;
  win::UniqueFind search(::FindFirstFileA((folder + "\\*.*").c_str(), &entry));
  if (!search) return;
  do {
    if (table_.Abandoned()) return;
    const std::string name = entry.cFileName;
    if (name == "." || name == "..") continue;
    const std::string path = ansi::JoinPath(folder, name);
    const DWORD attributes = entry.dwFileAttributes;
    if (attributes & FILE_ATTRIBUTE_DIRECTORY) {
      // A link back to a folder still being walked would repeat the same
      // plug-ins under ever longer paths; anything else is walked.
      if (!(attributes & FILE_ATTRIBUTE_REPARSE_POINT) || !IsOwnAncestor(path))
        WalkPluginFolder(label, path);
    }
    if (MatchesPluginName(name, ShowAllPlugins)) AddRow(name, path, label, folder);
  } while (::FindNextFileA(search.get(), &entry));
}

bool PluginScanner::IsOwnAncestor(const std::string& linkPath) {
  const std::optional<FolderIdentity> target = IdentifyFolder(linkPath);
  if (!target) return false;
  for (Ancestor& ancestor : ancestors_) {
    if (!ancestor.identity) ancestor.identity = IdentifyFolder(ancestor.path);
    if (*ancestor.identity == target) return true;
  }
  return false;
}

void PluginScanner::AddRow(const std::string& name, const std::string& path,
                           const std::string& label, const std::string& folder) {
  const int row = table_.InsertRow(name);
  table_.SetCell(row, VersionColumn, ReadVersionCell(path));
  table_.SetCell(row, ProductColumn, label);
  table_.SetCell(row, LocationColumn, folder);
  if (repaint_.Due()) {
    const auto start = RepaintPacer::Clock::now();
    table_.Repaint();
    repaint_.Painted(start, RepaintPacer::Clock::now());
  }
}

}  // namespace scan
