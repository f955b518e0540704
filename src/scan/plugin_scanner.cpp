#include "scan/plugin_scanner.h"

#include <windows.h>

#include <optional>
#include <utility>
#include <vector>

#include "scan/architecture.h"
#include "scan/folder_identity.h"
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
// Shows a scan's last rows, also when the scan is left by an exception.
class FlushAtEnd {
 public:
  explicit FlushAtEnd(RowSink& rows) : rows_(rows) {}
  ~FlushAtEnd() { rows_.Flush(); }
  FlushAtEnd(const FlushAtEnd&) = delete;
  FlushAtEnd& operator=(const FlushAtEnd&) = delete;

 private:
  RowSink& rows_;
};
}  // namespace

void PluginScanner::ScanInstallations() {
  modules_.Clear();  // a new scan reads every module anew
  files_.clear();
  rowsFound_ = 0;
  repaint_.Restart();
  const FlushAtEnd flush(rows_);
  for (const ProductView& each : ProductViews()) ScanProduct(each.product, each.view);
  AutoSizeColumns();
}  // the flush shows the rows found since the last paced one

void PluginScanner::ScanProduct(const std::string& product, RegistryView view) {
  RegKeyCursor key(HKEY_LOCAL_MACHINE, ProductKeyPath(product), RegKeyCursor::ReadAccess, view,
                   &problems_);
  for (const std::wstring& version : key.SubKeyNames()) {
    if (rows_.Abandoned()) break;
    const LONG opened = key.Descend(version);
    if (opened == ERROR_FILE_NOT_FOUND || opened == ERROR_KEY_DELETED) {
      key.Ascend();  // uninstalled since its name was read: nothing of it is left to list
      continue;
    }
    std::wstring applicationPath = key.QueryValue(L"ApplicationPath", L"");
    if (applicationPath.empty()) applicationPath = key.QueryValue(L"", version.c_str());
    const std::wstring label = ProductLabel(applicationPath);
    const std::string program = ProgramArchitecture(product, applicationPath);
    WalkRegistryPaths(label, key, program);
    key.Ascend();

    if (UsesSharedPlugins(product, version)) {
      const std::wstring shared = SharedPluginsFolder(view, CommonFilesFolder, &problems_);
      if (!shared.empty()) WalkPluginFolder(label, shared, program);
    }
  }
}

void PluginScanner::WalkRegistryPaths(const std::wstring& label, RegKeyCursor& key,
                                      const std::string& program) {
  // The subkeys still to walk of each key from the one given down to the
  // one the cursor stands at.
  struct Pending {
    std::vector<std::wstring> subKeys;
    std::size_t next = 0;
  };
  std::vector<Pending> keys;
  const auto walkKey = [&] {
    for (const std::wstring& name : key.ValueNames()) {
      if (rows_.Abandoned()) break;
      const std::wstring value = key.QueryValue(name, L"<none>");
      if (value.find(L":\\") != std::wstring::npos) WalkPluginFolder(label, value, program);
    }
    keys.push_back({key.SubKeyNames()});  // one a Descend, so each is matched by one Ascend
  };
  walkKey();
  while (!rows_.Abandoned()) {
    Pending& at = keys.back();
    if (at.next == at.subKeys.size()) {
      if (keys.size() == 1) break;
      keys.pop_back();
      key.Ascend();
      continue;
    }
    const std::wstring subKey = std::move(at.subKeys[at.next++]);
    if (subKey == L"Applicationpath") continue;
    key.Descend(subKey);
    if (key.IsOpen())
      walkKey();
    else
      key.Ascend();
  }
  // The key goes back where it was given, also when the walk was cut short.
  for (; keys.size() > 1; keys.pop_back()) key.Ascend();
}

// The Signature column is the signature pass's to fill and size.
void PluginScanner::AutoSizeColumns() {
  for (int column = 0; column < kColumnCount; ++column)
    if (column != SignatureColumn) rows_.AutoSizeColumn(column);
}

bool PluginScanner::MatchesPluginName(const std::string& name, bool showAllPlugins) {
  const std::string lower = ansi::ToLower(name);
  return (showAllPlugins && ansi::Contains(lower, ".8b")) || lower == "camera raw.8bi" ||
         lower == "camera raw.zip" || lower == "nikon.8bi";
}

void PluginScanner::WalkPluginFolder(const std::wstring& label, const std::wstring& folder,
                                     const std::string& program) {
  const std::string text = ansi::FromWide(label);
  Folder walked{ansi::FromWide(folder), folder, win::VerbatimPath(folder)};
  WalkFolder(Owner{text, label, program}, walked);
}

void PluginScanner::WalkPluginFolder(const std::string& label, const std::string& folder,
                                     const std::string& program) {
  WalkPluginFolder(ansi::ToWide(label), ansi::ToWide(folder), program);
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

// A folder of the walk in progress: its open search at the entry it has
// come to, and how long each of the walk's path texts is while at it.
struct Level {
  win::UniqueFind search;
  WIN32_FIND_DATAW entry;
  std::size_t text, exact, verbatim;
  // Its identity is only looked up once a link makes it worth knowing.
  std::optional<std::optional<FolderIdentity>> identity;
  // The entry is a subfolder walked from here: its own row comes once the
  // walk below it has ended.
  bool below = false;
};
}  // namespace

bool PluginScanner::Visit(const Owner& owner, const Folder& folder) {
  return VisitedFolders.Add(VisitedFolderList::KeyFor(owner.label, folder.text), folder.exact,
                            owner.exactLabel);
}

// Depth-first, each folder's entries in the file system's order, and a
// subfolder walked before its own row: the order the rows always came in.
void PluginScanner::WalkFolder(const Owner& owner, Folder& folder) {
  if (!Visit(owner, folder)) return;
  std::vector<Level> levels;
  // Starts listing the folder `folder` names now; false when nothing can be.
  const auto enter = [&] {
    Level level{};
    const std::wstring pattern = win::JoinPath(folder.verbatim, L"*");
    level.search.reset(::FindFirstFileW(pattern.c_str(), &level.entry));
    if (!level.search) {
      const DWORD error = ::GetLastError();
      if (!IsNotFound(error))
        problems_.Report(Problem::Folder, folder.exact, win::ErrorText(error));
      return false;
    }
    level.text = folder.text.size();
    level.exact = folder.exact.size();
    level.verbatim = folder.verbatim.size();
    levels.push_back(std::move(level));
    return true;
  };
  const auto backTo = [&](const Level& level) {
    folder.text.resize(level.text);
    folder.exact.resize(level.exact);
    folder.verbatim.resize(level.verbatim);
  };
  // A link back to a folder still being walked would repeat the same
  // plug-ins under ever longer paths; anything else is walked.
  const auto ownAncestor = [&]() -> const Level* {
    const std::optional<FolderIdentity> target = IdentifyFolder(folder.verbatim);
    if (!target) return nullptr;
    for (Level& ancestor : levels) {
      if (!ancestor.identity)
        ancestor.identity = IdentifyFolder(folder.verbatim.substr(0, ancestor.verbatim));
      if (*ancestor.identity == target) return &ancestor;
    }
    return nullptr;
  };

  if (!enter()) return;
  while (!levels.empty()) {
    if (rows_.Abandoned()) {
      backTo(levels.front());
      return;
    }
    Level& level = levels.back();
    const std::wstring name = level.entry.cFileName;
    const DWORD attributes = level.entry.dwFileAttributes;
    const bool isFolder = attributes & FILE_ATTRIBUTE_DIRECTORY;
    const bool walkedBelow = std::exchange(level.below, false);
    if (name != L"." && name != L"..") {
      const std::string text = ansi::FromWide(name);
      if (isFolder && !walkedBelow) {
        folder.text = ansi::JoinPath(folder.text, text);
        folder.exact = win::JoinPath(folder.exact, name);
        folder.verbatim = win::JoinPath(folder.verbatim, name);
        const Level* loop = attributes & FILE_ATTRIBUTE_REPARSE_POINT ? ownAncestor() : nullptr;
        if (loop)
          problems_.Report(Problem::LinkLoop, folder.exact, folder.exact.substr(0, loop->exact));
        const std::size_t depth = levels.size();
        if (!loop && Visit(owner, folder) && enter()) {
          levels[depth - 1].below = true;
          continue;  // into the subfolder; this entry's own row comes on the way back
        }
        backTo(levels.back());
      }
      if (MatchesPluginName(text, ShowAllPlugins)) AddRow(text, name, isFolder, owner, folder);
    }
    // The next entry, or back up to the folder above once this one is done.
    Level& current = levels.back();
    if (::FindNextFileW(current.search.get(), &current.entry)) continue;
    if (const DWORD error = ::GetLastError(); error != ERROR_NO_MORE_FILES)
      problems_.Report(Problem::Folder, folder.exact,
                       L"listing cut short: " + win::ErrorText(error));
    levels.pop_back();
    if (!levels.empty()) backTo(levels.back());
  }
}

void PluginScanner::AddRow(const std::string& text, const std::wstring& name, bool isFolder,
                           const Owner& owner, const Folder& folder) {
  ResultRow row;
  row.id = static_cast<int>(rowsFound_++);
  row.cells[FileColumn] = text;
  // A folder has no version resource; asking would only fail.
  if (!isFolder) {
    const ModuleCells cells = modules_.Read(win::JoinPath(folder.verbatim, name),
                                            win::JoinPath(folder.exact, name), problems_);
    row.cells[VersionColumn] = cells.version;
    row.architectures.plugin = cells.architecture;
  }
  // A folder's row still names its installation's program.
  row.architectures.program = owner.program;
  row.architectures.programCanLoad =
      ProgramCanLoad(row.architectures.plugin, owner.program, MachineArchitecture);
  row.cells[ArchitectureColumn] = ArchitectureCell(row.architectures.plugin, owner.program,
                                                   row.architectures.programCanLoad);
  row.cells[ProductColumn] = owner.label;
  row.cells[LocationColumn] = folder.text;
  row.exactFile = name;
  row.exactLocation = folder.exact;
  row.exactProduct = owner.exactLabel.empty() ? ansi::ToWide(owner.label) : owner.exactLabel;
  row.exactKnown = true;
  // A row with an Architecture is a module the scan has read already.
  files_.push_back({row.id, win::JoinPath(folder.exact, name), !row.cells[ArchitectureColumn].empty()});
  rows_.AddRow(std::move(row));
  if (repaint_.Due()) {
    const auto start = RepaintPacer::Clock::now();
    rows_.Flush();
    repaint_.Painted(start, RepaintPacer::Clock::now());
  }
}

}  // namespace scan
