#pragma once
// The least any scan of the same machine must do: list the same folders and
// have the system read the same files' version resources, through the same
// wide calls and "\\?\" paths as the scan. The scan's times are given as
// ratios to these.
#include <string>

namespace bench {

// Every folder below `folder`, recursively, as the scan lists them.
void ListTree(const std::string& folder);
// GetFileVersionInfoSizeW, GetFileVersionInfoW and the three queries the
// scan makes (root, translation, FileVersion).
void ReadVersionResource(const std::string& path);
// WinVerifyTrust alone on the file, as the signature check calls it (the
// same flags, the "\\?\" path, its state closed), without the header read
// or the chain policy around it.
void VerifyTrust(const std::string& path);

}  // namespace bench
