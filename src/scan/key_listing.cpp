#include "scan/key_listing.h"

#include <algorithm>
#include <optional>
#include <unordered_set>

#include "win/unique_handle.h"

namespace scan {
namespace {

// The longest name a counted UTF-16 string holds, with room for its NUL.
constexpr std::size_t kLongestName = 32768;
// Names read between two checks for a change: doubled after each round
// that saw none, cut after each that saw one.
constexpr DWORD kFirstBatch = 64;
constexpr DWORD kLongestBatch = 4096;
// Rounds in a row that find the key changed before a listing stops waiting
// for a quiet moment, and (with no name taken at all) before it stops
// asking the marker for more than one read.
constexpr int kPatience = 32;
constexpr int kRoundsWithoutProgress = 2000;
// Reads of the marker that must agree around a name taken without a quiet
// moment.
constexpr int kProofs = 3;
// A value listing is read whole this often at most.
constexpr int kValueRounds = 8;
// How far from its last place a subkey is looked for first.
constexpr long long kNear = 3;

// Reads one name by index, in a buffer sized from the key's longest name
// and grown whenever a name does not fit: Wine takes key names past 255.
class NameReader {
 public:
  NameReader(HKEY key, NameKind kind) : key_(key), values_(kind == NameKind::Values) {
    DWORD longest = 0;
    ::RegQueryInfoKeyW(key, nullptr, nullptr, nullptr, nullptr, values_ ? nullptr : &longest,
                       nullptr, nullptr, values_ ? &longest : nullptr, nullptr, nullptr, nullptr);
    buffer_.resize(std::clamp<std::size_t>(std::size_t{longest} + 1, 256, kLongestName));
  }

  LONG Read(DWORD index, std::wstring& name) {
    for (;;) {
      DWORD size = static_cast<DWORD>(buffer_.size());
      const LONG r = values_ ? ::RegEnumValueW(key_, index, buffer_.data(), &size, nullptr, nullptr,
                                               nullptr, nullptr)
                             : ::RegEnumKeyExW(key_, index, buffer_.data(), &size, nullptr, nullptr,
                                               nullptr, nullptr);
      if (r == ERROR_MORE_DATA && buffer_.size() < kLongestName) {
        buffer_.resize(std::min(buffer_.size() * 2, kLongestName));
        continue;  // the same index again, with more room
      }
      if (r == ERROR_SUCCESS)
        name.assign(buffer_.data(), std::min<std::size_t>(size, buffer_.size()));
      return r;
    }
  }

  DWORD SubKeyCount() const {
    DWORD count = 0;
    ::RegQueryInfoKeyW(key_, nullptr, nullptr, nullptr, &count, nullptr, nullptr, nullptr, nullptr,
                       nullptr, nullptr, nullptr);
    return count;
  }

 private:
  HKEY key_;
  bool values_;
  std::vector<wchar_t> buffer_;
};

// Tells whether the key's names changed since it was last armed. A key that
// cannot be watched always reads as unchanged: it is listed as before.
class ChangeWatch {
 public:
  ChangeWatch(HKEY key, NameKind kind)
      : key_(key),
        filter_(kind == NameKind::Values ? REG_NOTIFY_CHANGE_LAST_SET : REG_NOTIFY_CHANGE_NAME),
        event_(::CreateEventW(nullptr, FALSE, FALSE, nullptr)) {
    Arm();
  }
  // After a change is seen: a watch stays armed until its first change.
  void Arm() {
    armed_ = event_ &&
             ::RegNotifyChangeKeyValue(key_, FALSE, filter_, event_.get(), TRUE) == ERROR_SUCCESS;
  }
  // Tells each change once: the event resets as it is seen.
  bool Changed() const { return armed_ && ::WaitForSingleObject(event_.get(), 0) == WAIT_OBJECT_0; }

 private:
  HKEY key_;
  DWORD filter_;
  win::UniqueKernelHandle event_;
  bool armed_ = false;
};

std::wstring Lower(const std::wstring& text) {
  std::wstring lower(text.size(), L'\0');
  if (!text.empty())
    ::LCMapStringEx(LOCALE_NAME_INVARIANT, LCMAP_LOWERCASE, text.data(),
                    static_cast<int>(text.size()), lower.data(), static_cast<int>(lower.size()),
                    nullptr, nullptr, 0);
  return lower;
}

// Whether a sorts after b as the registry orders subkeys: case-insensitively
// unit by unit, the shorter first. Windows folds to upper case and Wine to
// lower, which put "_" and letters in different orders; after in either
// counts as after, so a search for a place never passes a name it has not
// listed (it may stop short, and then reads a few listed names again).
bool SortsAfter(const std::wstring& a, const std::wstring& b) {
  if (::CompareStringOrdinal(a.data(), static_cast<int>(a.size()), b.data(),
                             static_cast<int>(b.size()), TRUE) == CSTR_GREATER_THAN)
    return true;
  return Lower(a) > Lower(b);
}

// The subkey listing in progress. `marker` is the last name it trusted:
// every subkey there all along that sorts up to it is listed, and `next` is
// the index just after it when it was last seen.
class SubKeyListing {
 public:
  explicit SubKeyListing(HKEY key)
      : reader_(key, NameKind::SubKeys), watch_(key, NameKind::SubKeys) {}

  KeyListing Run() {
    DWORD batch = kFirstBatch;
    std::vector<std::wstring> read;
    std::wstring name;
    bool pressing = false;  // no quiet moment came for a while
    bool hurried = false;   // none came for far too long
    for (int stalled = 0;;) {
      // A round: the marker still just before `next`, then the names after it.
      read.clear();
      LONG end = ERROR_SUCCESS;
      bool placed = !marker_;
      if (marker_) {
        end = reader_.Read(next_ - 1, name);
        placed = end == ERROR_SUCCESS && name == *marker_;
      }
      for (DWORD k = 0; placed && k < batch; ++k) {
        end = reader_.Read(next_ + k, name);
        if (end != ERROR_SUCCESS) break;
        read.push_back(name);
      }
      // A key that changes all the time leaves no quiet moment to trust: one
      // name is then taken when reads of it and of the marker at its place,
      // in turn, all agree. A sibling coming and going between every two of
      // them could still cost a name, so the listing is told as not whole.
      pressing = pressing || stalled >= kPatience;
      // Past all patience the marker's one read vouches alone, so that the
      // listing still ends, with what it could read.
      hurried = hurried || stalled >= kRoundsWithoutProgress;
      const bool pressed = pressing && placed && read.size() <= 1;
      for (int proof = hurried ? kProofs : 0; pressed && placed && proof < kProofs; ++proof) {
        if (marker_) placed = reader_.Read(next_ - 1, name) == ERROR_SUCCESS && name == *marker_;
        if (placed && (proof + 1 < kProofs || !marker_)) {
          const LONG r = reader_.Read(next_, name);
          placed =
              read.empty() ? r == ERROR_NO_MORE_ITEMS : r == ERROR_SUCCESS && name == read.front();
        }
      }
      if (pressed && placed && marker_ && !read.empty() && !SortsAfter(read.front(), *marker_))
        placed = false;
      if (end != ERROR_SUCCESS && end != ERROR_NO_MORE_ITEMS) {
        listing_.end = end;  // the key went, or cannot be read any more
        return std::move(listing_);
      }
      const bool changed = watch_.Changed();
      if (placed && (!changed || pressed)) {
        // Every read since the watch was armed saw the same names, or the
        // marker vouched for the one name read.
        if (changed) listing_.whole = false;
        for (std::wstring& each : read)
          if (seen_.insert(each).second) listing_.names.push_back(each);
        if (!read.empty()) {
          marker_ = read.back();
          next_ += static_cast<DWORD>(read.size());
        }
        if (end == ERROR_NO_MORE_ITEMS) return std::move(listing_);
        if (!changed) {
          batch = std::min(batch * 2, kLongestBatch);
          pressing = hurried = false;
        } else {
          watch_.Arm();
        }
        stalled = 0;
        continue;
      }
      ++stalled;
      Seek();
      if (changed) {
        // Armed only now, so that the next round's window is short.
        batch = std::max<DWORD>(1, batch / 4);
        watch_.Arm();
      }
    }
  }

 private:
  // Finds the marker again after a change: near its last place, else by
  // where its name sorts. A marker that went gives way to the nearest
  // listed name before its place, or to the start.
  void Seek() {
    if (!marker_) return;
    std::wstring name;
    const long long was = static_cast<long long>(next_) - 1;
    for (long long step = 0; step <= 2 * kNear; ++step) {
      const long long index = was + (step % 2 ? -(step + 1) / 2 : step / 2);
      if (index >= 0 && reader_.Read(static_cast<DWORD>(index), name) == ERROR_SUCCESS &&
          name == *marker_) {
        next_ = static_cast<DWORD>(index) + 1;
        return;
      }
    }
    DWORD low = 0, high = reader_.SubKeyCount();
    while (low < high) {
      const DWORD middle = low + (high - low) / 2;
      const LONG r = reader_.Read(middle, name);
      if (r == ERROR_SUCCESS && !SortsAfter(name, *marker_))
        low = middle + 1;
      else if (r == ERROR_SUCCESS || r == ERROR_NO_MORE_ITEMS)
        high = middle;
      else
        break;
    }
    for (DWORD index = low; index > 0; --index)
      if (reader_.Read(index - 1, name) == ERROR_SUCCESS && seen_.contains(name)) {
        marker_ = name;
        next_ = index;
        return;
      }
    marker_.reset();
    next_ = 0;
  }

  NameReader reader_;
  ChangeWatch watch_;
  KeyListing listing_;
  std::unordered_set<std::wstring> seen_;
  std::optional<std::wstring> marker_;
  DWORD next_ = 0;
};

// Values: read whole until a read sees no change; if none does, every name
// any read saw.
KeyListing ListValues(HKEY key) {
  NameReader reader(key, NameKind::Values);
  ChangeWatch watch(key, NameKind::Values);
  KeyListing listing;
  std::unordered_set<std::wstring> seen;
  std::vector<std::wstring> read;
  std::wstring name;
  for (int round = 1;; ++round) {
    read.clear();
    LONG end = ERROR_SUCCESS;
    for (DWORD index = 0; (end = reader.Read(index, name)) == ERROR_SUCCESS; ++index)
      read.push_back(name);
    const bool changed = watch.Changed();
    if (end == ERROR_NO_MORE_ITEMS && changed && round < kValueRounds) {
      for (std::wstring& each : read) seen.insert(std::move(each));
      watch.Arm();
      continue;
    }
    listing.end = end;
    listing.whole = !changed || end != ERROR_NO_MORE_ITEMS;
    std::unordered_set<std::wstring> listed;
    for (std::wstring& each : read)
      if (listed.insert(each).second) listing.names.push_back(std::move(each));
    if (!listing.whole)
      for (const std::wstring& each : seen)
        if (listed.insert(each).second) listing.names.push_back(each);
    return listing;
  }
}

}  // namespace

KeyListing ListNames(HKEY key, NameKind kind) {
  return kind == NameKind::Values ? ListValues(key) : SubKeyListing(key).Run();
}

}  // namespace scan
