#include "scan/version_resource.h"

#include <algorithm>
#include <cstdint>
#include <optional>

#include "win/unique_handle.h"

namespace scan {
namespace {

constexpr std::uint32_t kVersionType = 16;  // RT_VERSION
constexpr std::uint32_t kVersionName = 1;   // VS_VERSION_INFO
constexpr std::uint32_t kSubdirectory = 0x80000000;
constexpr std::uint32_t kLargestResource = 0xFFFF;  // its own length is a 16-bit field

using Outcome = VersionResource::Outcome;

// Reads pieces of a file at given offsets; a piece that does not lie wholly
// inside the file is not read.
class PieceReader {
 public:
  explicit PieceReader(const std::wstring& path)
      : file_(::CreateFileW(path.c_str(), GENERIC_READ,
                            FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                            OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr)) {
    LARGE_INTEGER size{};
    if (!file_ || !::GetFileSizeEx(file_.get(), &size)) {
      error_ = ::GetLastError();
      return;
    }
    size_ = static_cast<std::uint64_t>(size.QuadPart);
  }
  // 0 while the file is open and every read so far that lay inside it worked.
  DWORD Error() const { return error_; }

  bool Read(std::uint64_t offset, std::size_t length, void* into) {
    if (error_ || offset > size_ || length > size_ - offset) return false;
    LARGE_INTEGER at;
    at.QuadPart = static_cast<LONGLONG>(offset);
    DWORD got = 0;
    if (!::SetFilePointerEx(file_.get(), at, nullptr, FILE_BEGIN) ||
        !::ReadFile(file_.get(), into, static_cast<DWORD>(length), &got, nullptr)) {
      error_ = ::GetLastError();
      return false;
    }
    return got == length;
  }
  template <typename T>
  std::optional<T> Read(std::uint64_t offset) {
    T value;
    if (!Read(offset, sizeof value, &value)) return std::nullopt;
    return value;
  }

 private:
  win::UniqueFile file_;
  std::uint64_t size_ = 0;
  DWORD error_ = 0;
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
std::optional<std::vector<IMAGE_RESOURCE_DIRECTORY_ENTRY>> Entries(PieceReader& file,
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

const IMAGE_RESOURCE_DIRECTORY_ENTRY* FindId(const std::vector<IMAGE_RESOURCE_DIRECTORY_ENTRY>& entries,
                                             std::uint32_t id) {
  for (const auto& entry : entries)
    if (entry.Name == id) return &entry;
  return nullptr;
}

VersionResource Refused(const wchar_t* damage) {
  VersionResource result;
  result.outcome = Outcome::Damaged;
  result.damage = damage;
  return result;
}

VersionResource Read(PieceReader& file) {
  VersionResource result;
  const auto dos = file.Read<IMAGE_DOS_HEADER>(0);
  if (!dos || dos->e_magic != IMAGE_DOS_SIGNATURE) return result;  // NotPe
  const std::uint64_t nt = static_cast<std::uint32_t>(dos->e_lfanew);
  const auto signature = file.Read<DWORD>(nt);
  if (!signature || *signature != IMAGE_NT_SIGNATURE) return result;  // NE, DOS, ...: NotPe

  // From here the file says it is a PE module, so whatever does not add up
  // is damage.
  const std::uint64_t optional = nt + sizeof(DWORD) + sizeof(IMAGE_FILE_HEADER);
  const auto header = file.Read<IMAGE_FILE_HEADER>(nt + sizeof(DWORD));
  const auto magic = file.Read<WORD>(optional);
  if (!header || !magic) return Refused(L"headers cut short");
  std::uint64_t directories = 0, countAt = 0;
  if (*magic == IMAGE_NT_OPTIONAL_HDR64_MAGIC) {
    directories = optional + offsetof(IMAGE_OPTIONAL_HEADER64, DataDirectory);
    countAt = optional + offsetof(IMAGE_OPTIONAL_HEADER64, NumberOfRvaAndSizes);
  } else if (*magic == IMAGE_NT_OPTIONAL_HDR32_MAGIC) {
    directories = optional + offsetof(IMAGE_OPTIONAL_HEADER32, DataDirectory);
    countAt = optional + offsetof(IMAGE_OPTIONAL_HEADER32, NumberOfRvaAndSizes);
  } else {
    return Refused(L"unknown optional header");
  }
  const auto count = file.Read<DWORD>(countAt);
  if (!count) return Refused(L"headers cut short");
  result.outcome = Outcome::Absent;
  if (*count <= IMAGE_DIRECTORY_ENTRY_RESOURCE) return result;
  const auto resources = file.Read<IMAGE_DATA_DIRECTORY>(
      directories + IMAGE_DIRECTORY_ENTRY_RESOURCE * sizeof(IMAGE_DATA_DIRECTORY));
  if (!resources) return Refused(L"headers cut short");
  if (resources->VirtualAddress == 0) return result;

  std::vector<IMAGE_SECTION_HEADER> sections(header->NumberOfSections);
  if (!sections.empty() && !file.Read(optional + header->SizeOfOptionalHeader,
                                      sections.size() * sizeof sections[0], sections.data()))
    return Refused(L"section table cut short");

  // Type, name, language: the resource the system would read.
  const auto root = FileOffset(sections, resources->VirtualAddress, sizeof(IMAGE_RESOURCE_DIRECTORY));
  if (!root) return Refused(L"resources lie outside the file");
  const auto types = Entries(file, *root);
  if (!types) return Refused(L"resource directory cut short");
  const auto* type = FindId(*types, kVersionType);
  if (!type) return result;
  if (!(type->OffsetToData & kSubdirectory)) return Refused(L"resource directory malformed");
  const auto names = Entries(file, *root + (type->OffsetToData & ~kSubdirectory));
  if (!names) return Refused(L"resource directory cut short");
  const auto* name = FindId(*names, kVersionName);
  if (!name) return result;
  if (!(name->OffsetToData & kSubdirectory)) return Refused(L"resource directory malformed");
  const auto languages = Entries(file, *root + (name->OffsetToData & ~kSubdirectory));
  if (!languages) return Refused(L"resource directory cut short");
  if (languages->empty()) return result;
  const auto* language = FindId(*languages, MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_US));
  if (!language) language = FindId(*languages, LANG_NEUTRAL);
  if (!language) language = &languages->front();
  if (language->OffsetToData & kSubdirectory) return Refused(L"resource directory malformed");

  const auto data = file.Read<IMAGE_RESOURCE_DATA_ENTRY>(*root + language->OffsetToData);
  if (!data) return Refused(L"resource directory cut short");
  if (data->Size == 0) return Refused(L"version resource is empty");
  const auto at = FileOffset(sections, data->OffsetToData, data->Size);
  if (!at) return Refused(L"version resource lies outside the file");
  result.bytes.resize(std::min<std::uint32_t>(data->Size, kLargestResource));
  if (!file.Read(*at, result.bytes.size(), result.bytes.data()))
    return Refused(L"version resource lies outside the file");
  result.outcome = Outcome::Read;
  return result;
}

}  // namespace

VersionResource ReadVersionResource(const std::wstring& path) {
  PieceReader file(path);
  VersionResource result = Read(file);
  // A read that failed for the system's reasons, not the file's, is no damage.
  if (file.Error()) {
    result = {};
    result.outcome = Outcome::Unreadable;
    result.error = file.Error();
  }
  return result;
}

}  // namespace scan
