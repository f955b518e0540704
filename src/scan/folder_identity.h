#pragma once
// Which folder a path really is, after links and junctions: the volume and
// the file index. Two paths with the same identity are the same folder.
#include <cstdint>
#include <optional>
#include <string>

namespace scan {

struct FolderIdentity {
  std::uint32_t volume = 0;
  std::uint64_t index = 0;
  bool operator==(const FolderIdentity&) const = default;
};

// `path` as the wide file functions take it (the walk's "\\?\" form).
std::optional<FolderIdentity> IdentifyFolder(const std::wstring& path);

}  // namespace scan
