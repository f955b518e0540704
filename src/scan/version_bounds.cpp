#include "scan/version_bounds.h"

#include <windows.h>

#include <algorithm>
#include <cstdint>
#include <optional>
#include <vector>

#include "win/unique_handle.h"

namespace scan {
namespace {

constexpr std::uint32_t kVersionType = 16;  // RT_VERSION
constexpr std::uint32_t kSubdirectory = 0x80000000;

// Reads pieces of a file at given offsets; a piece that does not lie wholly
// inside the file is not read.
class PieceReader {
 public:
  explicit PieceReader(const std::string& path)
      : file_(::CreateFileA(path.c_str(), GENERIC_READ,
                            FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                            OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr)) {
    LARGE_INTEGER size{};
    if (file_ && ::GetFileSizeEx(file_.get(), &size)) size_ = static_cast<std::uint64_t>(size.QuadPart);
  }
  std::uint64_t Size() const { return size_; }

  bool Read(std::uint64_t offset, std::size_t length, void* into) const {
    if (!file_ || offset > size_ || length > size_ - offset) return false;
    LARGE_INTEGER at;
    at.QuadPart = static_cast<LONGLONG>(offset);
    DWORD got = 0;
    return ::SetFilePointerEx(file_.get(), at, nullptr, FILE_BEGIN) &&
           ::ReadFile(file_.get(), into, static_cast<DWORD>(length), &got, nullptr) &&
           got == length;
  }
  template <typename T>
  std::optional<T> Read(std::uint64_t offset) const {
    T value;
    if (!Read(offset, sizeof value, &value)) return std::nullopt;
    return value;
  }

 private:
  win::UniqueFile file_;
  std::uint64_t size_ = 0;
};

// The file offset where an RVA's bytes lie, when `length` bytes from there are
// all raw data of one section and inside what the loader maps of it.
std::optional<std::uint64_t> FileOffset(const std::vector<IMAGE_SECTION_HEADER>& sections,
                                        std::uint32_t rva, std::uint64_t length) {
  for (const IMAGE_SECTION_HEADER& s : sections) {
    if (rva < s.VirtualAddress) continue;
    const std::uint64_t into = rva - s.VirtualAddress;
    const std::uint64_t mapped = s.Misc.VirtualSize
                                     ? std::min<std::uint64_t>(s.Misc.VirtualSize, s.SizeOfRawData)
                                     : s.SizeOfRawData;
    if (into < mapped && length <= mapped - into) return std::uint64_t{s.PointerToRawData} + into;
  }
  return std::nullopt;
}

// The entries of a resource directory, or nothing when it cannot be read.
std::optional<std::vector<IMAGE_RESOURCE_DIRECTORY_ENTRY>> Entries(const PieceReader& file,
                                                                   std::uint64_t at) {
  const auto directory = file.Read<IMAGE_RESOURCE_DIRECTORY>(at);
  if (!directory) return std::nullopt;
  std::vector<IMAGE_RESOURCE_DIRECTORY_ENTRY> entries(
      std::size_t{directory->NumberOfNamedEntries} + directory->NumberOfIdEntries);
  if (!entries.empty() &&
      !file.Read(at + sizeof *directory, entries.size() * sizeof entries[0], entries.data()))
    return std::nullopt;
  return entries;
}

}  // namespace

VersionBounds CheckVersionBounds(const std::string& path) {
  const PieceReader file(path);
  const auto dos = file.Read<IMAGE_DOS_HEADER>(0);
  if (!dos || dos->e_magic != IMAGE_DOS_SIGNATURE) return VersionBounds::NotPe;
  const std::uint64_t nt = static_cast<std::uint32_t>(dos->e_lfanew);
  const auto signature = file.Read<DWORD>(nt);
  const auto header = file.Read<IMAGE_FILE_HEADER>(nt + sizeof(DWORD));
  const auto magic = file.Read<WORD>(nt + sizeof(DWORD) + sizeof(IMAGE_FILE_HEADER));
  if (!signature || *signature != IMAGE_NT_SIGNATURE || !header || !magic) return VersionBounds::NotPe;

  // The resource entry of the data directories, in either optional header.
  const std::uint64_t optional = nt + sizeof(DWORD) + sizeof(IMAGE_FILE_HEADER);
  std::uint64_t directories = 0, count = 0;
  if (*magic == IMAGE_NT_OPTIONAL_HDR64_MAGIC) {
    directories = optional + offsetof(IMAGE_OPTIONAL_HEADER64, DataDirectory);
    count = file.Read<DWORD>(optional + offsetof(IMAGE_OPTIONAL_HEADER64, NumberOfRvaAndSizes)).value_or(0);
  } else if (*magic == IMAGE_NT_OPTIONAL_HDR32_MAGIC) {
    directories = optional + offsetof(IMAGE_OPTIONAL_HEADER32, DataDirectory);
    count = file.Read<DWORD>(optional + offsetof(IMAGE_OPTIONAL_HEADER32, NumberOfRvaAndSizes)).value_or(0);
  } else {
    return VersionBounds::NotPe;
  }
  if (count <= IMAGE_DIRECTORY_ENTRY_RESOURCE) return VersionBounds::Absent;
  const auto resources = file.Read<IMAGE_DATA_DIRECTORY>(
      directories + IMAGE_DIRECTORY_ENTRY_RESOURCE * sizeof(IMAGE_DATA_DIRECTORY));
  if (!resources) return VersionBounds::Outside;
  if (resources->VirtualAddress == 0) return VersionBounds::Absent;

  std::vector<IMAGE_SECTION_HEADER> sections(header->NumberOfSections);
  if (!sections.empty() && !file.Read(optional + header->SizeOfOptionalHeader,
                                      sections.size() * sizeof sections[0], sections.data()))
    return VersionBounds::Outside;

  // Root, type, name, language: every version resource the system might pick.
  const auto root = FileOffset(sections, resources->VirtualAddress, sizeof(IMAGE_RESOURCE_DIRECTORY));
  if (!root) return VersionBounds::Outside;
  const auto types = Entries(file, *root);
  if (!types) return VersionBounds::Outside;
  bool found = false;
  for (const auto& type : *types) {
    if (type.Name != kVersionType) continue;
    found = true;
    if (!(type.OffsetToData & kSubdirectory)) return VersionBounds::Outside;
    const auto names = Entries(file, *root + (type.OffsetToData & ~kSubdirectory));
    if (!names) return VersionBounds::Outside;
    for (const auto& name : *names) {
      if (!(name.OffsetToData & kSubdirectory)) return VersionBounds::Outside;
      const auto languages = Entries(file, *root + (name.OffsetToData & ~kSubdirectory));
      if (!languages) return VersionBounds::Outside;
      for (const auto& language : *languages) {
        if (language.OffsetToData & kSubdirectory) return VersionBounds::Outside;
        const auto data = file.Read<IMAGE_RESOURCE_DATA_ENTRY>(*root + language.OffsetToData);
        if (!data || !FileOffset(sections, data->OffsetToData, data->Size))
          return VersionBounds::Outside;
      }
    }
  }
  return found ? VersionBounds::Inside : VersionBounds::Absent;
}

}  // namespace scan
