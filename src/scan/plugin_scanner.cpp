#include "scan/plugin_scanner.h"

#include <windows.h>

#include "scan/products.h"
#include "scan/program_architecture.h"
#include "scan/reg_key_cursor.h"
#include "win/ansi.h"
#include "win/error_text.h"
#include "win/long_path.h"
#include "win/unique_handle.h"
#include "win/utf8.h"

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
  modules_.Clear();  // a new scan reads every module anew
  repaint_.Restart();
  const RowBurst burst(table_);
  for (const ProductView& each : ProductViews()) ScanProduct(each.product, each.view);
  AutoSizeColumns();
}  // the burst's end shows the rows found since the last paced repaint

void PluginScanner::ScanProduct(const std::string& product, RegistryView view) {
  RegKeyCursor key(HKEY_LOCAL_MACHINE, ProductKeyPath(product), RegKeyCursor::ReadAccess, view,
                   &problems_);
  for (int cursor = key.HasSubKeys(); cursor != 0 && !table_.Abandoned();) {
    const std::string version = key.NextSubKeyName(cursor);
    key.Descend(version);
    std::string applicationPath = key.QueryValue("ApplicationPath", "");
    if (applicationPath.empty()) applicationPath = key.QueryValue("", version.c_str());
    const std::string label = ProductLabel(applicationPath);
    const std::string program = ProgramArchitecture(product, applicationPath);
    WalkRegistryPaths(label, key, program);
    key.Ascend();

    if (UsesSharedPlugins(product, version)) {
      const std::string shared = SharedPluginsFolder(view, CommonFilesFolder, &problems_);
      if (!shared.empty()) WalkPluginFolder(label, shared, program);
    }
  }
}

void PluginScanner::WalkRegistryPaths(const std::string& label, RegKeyCursor& key,
                                      const std::string& program) {
  for (int cursor = key.HasValues(); cursor != 0 && !table_.Abandoned();) {
    const std::string value = key.QueryValue(key.NextValueName(cursor), "<none>");
    if (ansi::Contains(value, ":\\")) WalkPluginFolder(label, value, program);
  }
  for (int cursor = key.HasSubKeys(); cursor != 0 && !table_.Abandoned();) {
    const std::string subKey = key.NextSubKeyName(cursor);
    if (ansi::Compare(subKey, "Applicationpath") == 0) continue;
    key.Descend(subKey);
    WalkRegistryPaths(label, key, program);
    key.Ascend();
  }
}

// The Signature column is the signature pass's to fill and size.
void PluginScanner::AutoSizeColumns() {
  for (int column = 0, count = table_.ColumnCount(); column < count; ++column)
    if (column != SignatureColumn) table_.AutoSizeColumn(column);
}

bool PluginScanner::MatchesPluginName(const std::string& name, bool showAllPlugins) {
  const std::string lower = ansi::ToLower(name);
  return (showAllPlugins && ansi::Contains(lower, ".8b")) || lower == "camera raw.8bi" ||
         lower == "camera raw.zip" || lower == "nikon.8bi";
}

void PluginScanner::WalkPluginFolder(const std::string& label, const std::string& folder,
                                     const std::string& program) {
  const std::wstring exact = ansi::ToWide(folder);
  WalkFolder(Owner{label, program}, Folder{folder, exact, win::VerbatimPath(exact)});
}

void PluginScanner::WalkFolder(const Owner& owner, const Folder& folder) {
  if (!VisitedFolders.Add(VisitedFolderList::KeyFor(owner.label, folder.text), folder.exact))
    return;
  ancestors_.push_back({&folder, std::nullopt});
  Walk(owner, folder);
  ancestors_.pop_back();
}

namespace {
// What a search reports for a folder that is not there: missing, a file, or
// a registry text that names no folder at all.
bool IsNotFound(DWORD error) {
  switch (error) {
    case ERROR_FILE_NOT_FOUND:
    case ERROR_PATH_NOT_FOUND:
    case ERROR_INVALID_DRIVE:
    case ERROR_INVALID_NAME:
    case ERROR_BAD_PATHNAME:
    case ERROR_DIRECTORY:
      return true;
    default:
      return false;
  }
}
}  // namespace

void PluginScanner::Walk(const Owner& owner, const Folder& folder) {
  WIN32_FIND_DATAW entry;
  win::UniqueFind search(::FindFirstFileW(win::JoinPath(folder.verbatim, L"*").c_str(), &entry));
  if (!search) {
    const DWORD error = ::GetLastError();
    if (!IsNotFound(error)) problems_.Report(Problem::Folder, folder.exact, win::ErrorText(error));
    return;
  }
  for (;;) {
    if (table_.Abandoned()) return;
    const std::wstring name = entry.cFileName;
    const DWORD attributes = entry.dwFileAttributes;
    if (name != L"." && name != L"..") {
      const std::string text = ansi::FromWide(name);
      const bool isFolder = attributes & FILE_ATTRIBUTE_DIRECTORY;
      if (isFolder) {
        const Folder child{ansi::JoinPath(folder.text, text), win::JoinPath(folder.exact, name),
                           win::JoinPath(folder.verbatim, name)};
        // A link back to a folder still being walked would repeat the same
        // plug-ins under ever longer paths; anything else is walked.
        const Folder* loop = attributes & FILE_ATTRIBUTE_REPARSE_POINT ? OwnAncestor(child) : nullptr;
        if (loop)
          problems_.Report(Problem::LinkLoop, child.exact, loop->exact);
        else
          WalkFolder(owner, child);
      }
      if (MatchesPluginName(text, ShowAllPlugins)) AddRow(text, name, isFolder, owner, folder);
    }
    if (!::FindNextFileW(search.get(), &entry)) break;
  }
  if (const DWORD error = ::GetLastError(); error != ERROR_NO_MORE_FILES)
    problems_.Report(Problem::Folder, folder.exact, L"listing cut short: " + win::ErrorText(error));
}

const PluginScanner::Folder* PluginScanner::OwnAncestor(const Folder& link) {
  const std::optional<FolderIdentity> target = IdentifyFolder(link.verbatim);
  if (!target) return nullptr;
  for (Ancestor& ancestor : ancestors_) {
    if (!ancestor.identity) ancestor.identity = IdentifyFolder(ancestor.folder->verbatim);
    if (*ancestor.identity == target) return ancestor.folder;
  }
  return nullptr;
}

void PluginScanner::AddRow(const std::string& text, const std::wstring& name, bool isFolder,
                           const Owner& owner, const Folder& folder) {
  const int row = table_.InsertRow(text);
  // A folder has no version resource; asking would only fail.
  std::string architecture;
  if (!isFolder) {
    const ModuleCells cells = modules_.Read(win::JoinPath(folder.verbatim, name),
                                            win::JoinPath(folder.exact, name), problems_);
    table_.SetCell(row, VersionColumn, cells.version);
    architecture = cells.architecture;
  }
  // A folder's row still names its installation's program.
  table_.SetArchitectures(row, architecture, owner.program);
  table_.SetCell(row, ProductColumn, owner.label);
  table_.SetCell(row, LocationColumn, folder.text);
  table_.SetExactNames(row, name, folder.exact);
  if (repaint_.Due()) {
    const auto start = RepaintPacer::Clock::now();
    table_.Repaint();
    repaint_.Painted(start, RepaintPacer::Clock::now());
  }
}

}  // namespace scan
