#pragma once
// The scan: finds every installed version of the products in both registry
// views, walks the plug-in folders their keys name (and the shared one of
// their view for newer versions), and writes each matching file as a row of
// a sink (scan/row_sink.h), each built once, whole, with its id.
// It knows nothing of windows; the main dialog, the console tool, the tests
// and the benchmark all drive this same object.
//
// The registry is read and the walk names files by the exact UTF-16 names
// the system returns, and reaches them by the "\\?\" form of their paths,
// so no name and no path length is out of its reach. What the list, the
// report and VisitedFolders show is the ANSI text of those names, made in
// one place (ansi::FromWide); the machine formats carry the exact ones.
//
// Both walks keep their pending keys and folders on the heap, not on the
// thread's stack: how deep a tree goes costs memory, never a stack overflow.
#include <optional>
#include <string>
#include <vector>

#include "scan/module_cells_cache.h"
#include "scan/native_architecture.h"
#include "scan/registry_view.h"
#include "scan/repaint_pacer.h"
#include "scan/row_sink.h"
#include "scan/scan_problems.h"
#include "scan/shared_folder.h"
#include "scan/signature_pass.h"
#include "scan/visited_folders.h"

namespace scan {

class RegKeyCursor;

class PluginScanner {
 public:
  explicit PluginScanner(RowSink& rows) : rows_(rows), problems_(nobody_) {}
  PluginScanner(RowSink& rows, ProblemListener& problems) : rows_(rows), problems_(problems) {}

  // Expects an empty sink and an empty VisitedFolders (see Reset).
  void ScanInstallations();
  // `program`: the architecture of the installation's program, which every
  // row found carries (empty: unknown).
  void WalkRegistryPaths(const std::wstring& label, RegKeyCursor& key,
                         const std::string& program = {});
  void WalkPluginFolder(const std::wstring& label, const std::wstring& folder,
                        const std::string& program = {});
  // The same for texts in the ANSI code page.
  void WalkPluginFolder(const std::string& label, const std::string& folder,
                        const std::string& program = {});
  void AutoSizeColumns();

  // Forgets the folders walked, the modules read and the rows' files, ready
  // for a rescan of an emptied sink.
  void Reset() {
    VisitedFolders.Clear();
    modules_.Clear();
    files_.clear();
  }

  // The file behind every row found so far, with the row's id, for the
  // signature pass.
  const std::vector<RowFile>& RowFiles() const { return files_; }

  static bool MatchesPluginName(const std::string& name, bool showAllPlugins);

  bool ShowAllPlugins = false;
  VisitedFolderList VisitedFolders;
  // Where a view's shared folder is looked for when its installer key names
  // none; tests point it into a folder of their own.
  CommonFilesLookup CommonFilesFolder = SystemCommonFiles;
  // The machine's processor, which decides with a program's which plug-ins
  // it loads; tests pretend to be another machine.
  std::string MachineArchitecture = NativeArchitecture();

 private:
  // One folder of the walk, three ways: the ANSI text the rows show, the
  // exact name the machine formats carry, and the form the file functions take.
  struct Folder {
    std::string text;
    std::wstring exact;
    std::wstring verbatim;
  };

  // Every version key of one product in one registry view.
  void ScanProduct(const std::string& product, RegistryView view);
  // Whose rows a walk finds: the Product label, and the architecture of
  // that installation's program.
  struct Owner {
    const std::string& label;  // ANSI
    const std::wstring& exactLabel;
    const std::string& program;
  };
  // Walks the tree below `folder`, depth-first; `folder` ends where it began.
  void WalkFolder(const Owner& owner, Folder& folder);
  // Whether `folder` is walked: not yet walked for this owner, and listed.
  bool Visit(const Owner& owner, const Folder& folder);
  void AddRow(const std::string& text, const std::wstring& name, bool isFolder,
              const Owner& owner, const Folder& folder);

  NoListener nobody_;
  RowSink& rows_;
  std::vector<RowFile> files_;
  std::size_t rowsFound_ = 0;  // the next row's id
  ProblemListener& problems_;
  ModuleCellsCache modules_;
  RepaintPacer repaint_;
};

}  // namespace scan
