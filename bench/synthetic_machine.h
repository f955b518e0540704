#pragma once
// A machine sized like real installations: several versions of both
// products, each with thousands of plug-in folders and tens of thousands of
// files, a shared plug-ins folder that the newer versions also walk, a few
// dozen raw-camera plug-ins and well over a thousand other plug-in files, all
// copies of the fixture DLLs. The folders are laid out once and kept for the
// next run; the registry lives in a scratch key for this run only.
#include <string>
#include <vector>

namespace bench {

class ScratchHklm;

struct TreeShape {
  int folders = 0;         // below the tree's root, all levels
  int filesPerFolder = 0;  // plain files in each leaf folder
  int rawPlugins = 0;      // "Camera Raw.8bi", one per folder
  int otherPlugins = 0;    // ".8bf" and ".8bi" plug-ins for "Show All of My Plugins"
};

// One folder walk of the scan: the text it starts from and the files in it
// whose version the scan reads.
struct Walk {
  std::string root;
  std::vector<std::string> raw;
  std::vector<std::string> other;
};

struct TreeCount {
  int folders = 0;
  int files = 0;
};

// Lays out the tree below `root` unless a stamp says it is there already,
// and returns the walk that starts at `walkRoot` (the same folder, as the
// registry spells it).
// The plug-ins are copies of the given fixture DLLs, taken in turn.
Walk LayOutTree(const std::string& root, const std::string& walkRoot, const TreeShape& shape,
                const std::vector<std::string>& rawFixtures,
                const std::vector<std::string>& otherFixtures, TreeCount& count);

struct MachineShape {
  TreeShape perVersion;
  TreeShape shared;
};

// The versions written to the (scratch) registry and the walks a full scan
// makes over them, the shared folder once per version that sees it.
std::vector<Walk> LayOutMachine(ScratchHklm& registry, const std::string& where,
                                const MachineShape& shape, const std::string& fixtureDir,
                                TreeCount& count);

}  // namespace bench
