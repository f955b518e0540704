#pragma once
// The scan: finds every installed version of the products in both registry
// views, walks the plug-in folders their keys name (and the shared one of
// their view for newer versions), and writes each matching file as a row of
// a ResultTable.
// It knows nothing of windows; the main dialog, the console tool, the tests
// and the benchmark all drive this same object.
//
// The walk names files by the exact UTF-16 names the system returns and
// reaches them by the "\\?\" form of their paths, so no name and no path
// length is out of its reach. What the list, the report and VisitedFolders
// show is the ANSI text of those names, made in one place (ansi::FromWide).
#include <optional>
#include <string>
#include <vector>

#include "scan/folder_identity.h"
#include "scan/module_cells_cache.h"
#include "scan/registry_view.h"
#include "scan/repaint_pacer.h"
#include "scan/result_table.h"
#include "scan/scan_problems.h"
#include "scan/shared_folder.h"
#include "scan/visited_folders.h"

namespace scan {

class RegKeyCursor;

class PluginScanner {
 public:
  explicit PluginScanner(ResultTable& table) : table_(table), problems_(nobody_) {}
  PluginScanner(ResultTable& table, ProblemListener& problems)
      : table_(table), problems_(problems) {}

  // Expects an empty table and an empty VisitedFolders (see Reset).
  void ScanInstallations();
  // `program`: the architecture of the installation's program, which every
  // row found carries (empty: unknown).
  void WalkRegistryPaths(const std::string& label, RegKeyCursor& key,
                         const std::string& program = {});
  void WalkPluginFolder(const std::string& label, const std::string& folder,
                        const std::string& program = {});
  void AutoSizeColumns();

  // Forgets the folders walked and the modules read, ready for a rescan of
  // an emptied table.
  void Reset() {
    VisitedFolders.Clear();
    modules_.Clear();
  }

  static bool MatchesPluginName(const std::string& name, bool showAllPlugins);

  bool ShowAllPlugins = false;
  VisitedFolderList VisitedFolders;
  // Where a view's shared folder is looked for when its installer key names
  // none; tests point it into a folder of their own.
  CommonFilesLookup CommonFilesFolder = SystemCommonFiles;

 private:
  // One folder of the walk, three ways: the ANSI text the rows show, the
  // exact name the machine formats carry, and the form the file functions take.
  struct Folder {
    std::string text;
    std::wstring exact;
    std::wstring verbatim;
  };
  // A folder on the path of the walk in progress. Its identity is only
  // looked up once a link makes it worth knowing.
  struct Ancestor {
    const Folder* folder;
    std::optional<std::optional<FolderIdentity>> identity;
  };

  // Every version key of one product in one registry view.
  void ScanProduct(const std::string& product, RegistryView view);
  // Whose rows a walk finds: the Product label, and the architecture of
  // that installation's program.
  struct Owner {
    const std::string& label;
    const std::string& program;
  };
  void WalkFolder(const Owner& owner, const Folder& folder);
  void Walk(const Owner& owner, const Folder& folder);
  const Folder* OwnAncestor(const Folder& link);
  void AddRow(const std::string& text, const std::wstring& name, bool isFolder,
              const Owner& owner, const Folder& folder);

  NoListener nobody_;
  ResultTable& table_;
  ProblemListener& problems_;
  std::vector<Ancestor> ancestors_;
  ModuleCellsCache modules_;
  RepaintPacer repaint_;
};

}  // namespace scan
