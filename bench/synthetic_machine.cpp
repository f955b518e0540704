#include "synthetic_machine.h"

#include <windows.h>

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "scratch_hklm.h"
#include "win/ansi.h"
#include "win/unique_handle.h"

namespace bench {
namespace {

bool Exists(const std::string& path) {
  return ::GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

void MakeEmpty(const std::string& path) {
  win::UniqueFile file(::CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                     FILE_ATTRIBUTE_NORMAL, nullptr));
}

std::string Number(const char* format, int n) {
  char text[32];
  std::snprintf(text, sizeof text, format, n);
  return text;
}

std::string Stamp(const TreeShape& s) {
  return ".layout-" + std::to_string(s.folders) + "-" + std::to_string(s.filesPerFolder) + "-" +
         std::to_string(s.rawPlugins) + "-" + std::to_string(s.otherPlugins);
}

// Which of `count` items falls in leaf `leaf` of `leaves`: spread evenly.
bool Holds(int leaf, int leaves, int item, int count) {
  return count > 0 && static_cast<long long>(item) * leaves / count == leaf;
}

struct VersionEntry {
  const char* product;
  const char* key;
  const char* folder;
  bool seesShared;
};
// Photoshop from 9.0 and Elements from 4.0 on also walk the shared folder.
constexpr VersionEntry kVersions[] = {
    {"Photoshop", "8.0", "Adobe Photoshop CS", false},
    {"Photoshop", "9.0", "Adobe Photoshop CS2", true},
    {"Photoshop", "10.0", "Adobe Photoshop CS3", true},
    {"Photoshop Elements", "4.0", "Adobe Photoshop Elements 4.0", true},
};

}  // namespace

Walk LayOutTree(const std::string& root, const std::string& walkRoot, const TreeShape& shape,
                const std::vector<std::string>& rawFixtures,
                const std::vector<std::string>& otherFixtures, TreeCount& count) {
  const bool laidOut = Exists(ansi::JoinPath(root, Stamp(shape)));
  if (!laidOut) ::CreateDirectoryA(root.c_str(), nullptr);
  // Groups of leaf folders, about as many groups as leaves in each.
  const int groups = std::max(1, static_cast<int>(std::sqrt(static_cast<double>(shape.folders))));
  const int leaves = std::max(1, shape.folders - groups);
  Walk walk{walkRoot, {}, {}};
  int raw = 0, other = 0;
  for (int leaf = 0; leaf < leaves; ++leaf) {
    const std::string group = Number("Group %03d", leaf % groups);
    const std::string relative = group + "\\" + Number("Set %05d", leaf);
    const std::string folder = ansi::JoinPath(root, relative);
    const std::string walkFolder = ansi::JoinPath(walkRoot, relative);
    if (!laidOut) {
      if (leaf < groups) ::CreateDirectoryA(ansi::JoinPath(root, group).c_str(), nullptr);
      ::CreateDirectoryA(folder.c_str(), nullptr);
      for (int file = 0; file < shape.filesPerFolder; ++file)
        MakeEmpty(ansi::JoinPath(folder, Number("resource %03d.dat", file)));
    }
    count.files += shape.filesPerFolder;
    auto plugin = [&](const std::string& name, const std::vector<std::string>& fixtures,
                      std::vector<std::string>& into, int n) {
      if (!laidOut)
        ::CopyFileA(fixtures[n % fixtures.size()].c_str(), ansi::JoinPath(folder, name).c_str(),
                    FALSE);
      into.push_back(ansi::JoinPath(walkFolder, name));
      ++count.files;
    };
    if (Holds(leaf, leaves, raw, shape.rawPlugins))
      plugin("Camera Raw.8bi", rawFixtures, walk.raw, raw++);
    for (; Holds(leaf, leaves, other, shape.otherPlugins); ++other)
      plugin(Number(other % 3 ? "Filter %04d.8bf" : "Format %04d.8bi", other), otherFixtures,
             walk.other, other);
  }
  count.folders += groups + leaves;
  if (!laidOut) MakeEmpty(ansi::JoinPath(root, Stamp(shape)));
  return walk;
}

std::vector<Walk> LayOutMachine(ScratchHklm& registry, const std::string& where,
                                const MachineShape& shape, const std::string& fixtureDir,
                                TreeCount& count) {
  const std::vector<std::string> raw = {
      fixtureDir + "\\fixture_cr_3_7.dll", fixtureDir + "\\fixture_cr_4_6.dll",
      fixtureDir + "\\fixture_cr_9_1.dll", fixtureDir + "\\fixture_cr_16.dll"};
  const std::vector<std::string> other = {fixtureDir + "\\fixture_filter_1_2.dll",
                                          fixtureDir + "\\fixture_nikon_2.dll",
                                          fixtureDir + "\\fixture_german.dll"};
  ::CreateDirectoryA(where.c_str(), nullptr);
  std::vector<Walk> walks;
  for (const VersionEntry& v : kVersions) {
    const std::string app = ansi::JoinPath(where, v.folder);
    ::CreateDirectoryA(app.c_str(), nullptr);
    // The application path ends in "\", as installers write it; a second
    // value names its plug-in folder again, which the walk has seen by then.
    const std::string walkRoot = app + "\\";
    const std::string key = std::string("Software\\Adobe\\") + v.product + "\\" + v.key;
    registry.SetString(key, "ApplicationPath", walkRoot);
    registry.SetString(key, "PluginPath", walkRoot + "Plug-Ins");
    registry.SetString(key + "\\Registration", "Serial", "1045-0000-0000-0000");
    registry.SetDword(key + "\\Settings", "Launches", 42);
    Walk walk = LayOutTree(ansi::JoinPath(app, "Plug-Ins"), walkRoot + "Plug-Ins",
                           shape.perVersion, raw, other, count);
    walk.root = walkRoot;
    walks.push_back(std::move(walk));
  }
  const std::string common = ansi::JoinPath(where, "Common Files");
  ::CreateDirectoryA(common.c_str(), nullptr);
  registry.SetString("SOFTWARE\\Adobe\\CommonFiles\\Adobe\\installer", "Path", common + "\\");
  const Walk shared = LayOutTree(ansi::JoinPath(common, "Plug-ins"), common + "\\Plug-ins",
                                 shape.shared, raw, other, count);
  for (const VersionEntry& v : kVersions)
    if (v.seesShared) walks.push_back(shared);
  return walks;
}

}  // namespace bench
