#pragma once
// The scan: finds every installed version of the products in both registry
// views, walks the plug-in folders their keys name (and the shared one of
// their view for newer versions), and writes each matching file as a row of
// a ResultTable.
// It knows nothing of windows; the main dialog, the console tool, the tests
// and the benchmark all drive this same object.
#include <optional>
#include <string>
#include <vector>

#include "scan/folder_identity.h"
#include "scan/registry_view.h"
#include "scan/repaint_pacer.h"
#include "scan/result_table.h"
#include "scan/shared_folder.h"
#include "scan/visited_folders.h"

namespace scan {

class RegKeyCursor;

class PluginScanner {
 public:
  explicit PluginScanner(ResultTable& table) : table_(table) {}

  // Expects an empty table and an empty VisitedFolders (see Reset).
  void ScanInstallations();
  void WalkRegistryPaths(const std::string& label, RegKeyCursor& key);
  void WalkPluginFolder(const std::string& label, const std::string& folder);
  void AutoSizeColumns();

  // Forgets the folders walked, ready for a rescan of an emptied table.
  void Reset() { VisitedFolders.Clear(); }

  static bool MatchesPluginName(const std::string& name, bool showAllPlugins);

  bool ShowAllPlugins = false;
  VisitedFolderList VisitedFolders;
  // Where a view's shared folder is looked for when its installer key names
  // none; tests point it into a folder of their own.
  CommonFilesLookup CommonFilesFolder = SystemCommonFiles;

 private:
  // A folder on the path of the walk in progress. Its identity is only
  // looked up once a link makes it worth knowing.
  struct Ancestor {
    std::string path;
    std::optional<std::optional<FolderIdentity>> identity;
  };

  // Every version key of one product in one registry view.
  void ScanProduct(const std::string& product, RegistryView view);
  void Walk(const std::string& label, const std::string& folder);
  bool IsOwnAncestor(const std::string& linkPath);
  void AddRow(const std::string& name, const std::string& path, const std::string& label,
              const std::string& folder);

  ResultTable& table_;
  std::vector<Ancestor> ancestors_;
  RepaintPacer repaint_;
};

}  // namespace scan
