#pragma once
// The least any scan of the same machine must do: list the same folders with
// FindFirstFileA and read the same files' version resources. The scan's
// times are given as ratios to these.
#include <string>

namespace bench {

// Every folder below `folder`, recursively, as the scan lists them.
void ListTree(const std::string& folder);
// GetFileVersionInfoSizeA, GetFileVersionInfoA and the three queries the
// scan makes (root, translation, FileVersion).
void ReadVersionResource(const std::string& path);

}  // namespace bench
