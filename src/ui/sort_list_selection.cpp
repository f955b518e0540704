// The selection, focus and mark of a SortListCtrl, carried by row id
// whenever rows move: taken before the first row of a slice moves, put
// back at ShowAdded, a bounded part per turn when that is long.
#include "ui/sort_list_ctrl.h"

#include <algorithm>
#include <iterator>

namespace ui {
namespace {
using Clock = std::chrono::steady_clock;

int Ask(HWND list, UINT message, WPARAM wParam = 0, LPARAM lParam = 0) {
  return static_cast<int>(::SendMessageW(list, message, wParam, lParam));
}
}  // namespace

// The user's (or another process's) choice holds over a put-back still
// under way: the rows it touched are left as it set them.
void SortListCtrl::UserChanged(int from, int to, UINT oldState, UINT newState) {
  knownValid_ = false;
  if (!PuttingBack() || !((oldState ^ newState) & LVIS_SELECTED)) return;
  if (from < 0) {  // every row
    pending_.clear();
    pendingNext_ = 0;
    return;
  }
  const auto first = pending_.begin() + static_cast<std::ptrdiff_t>(pendingNext_);
  const auto low = std::lower_bound(first, pending_.end(), std::pair{from, false});
  const auto high = std::lower_bound(low, pending_.end(), std::pair{to + 1, false});
  pending_.erase(low, high);
}

SortListCtrl::Carried SortListCtrl::Capture() const {
  Carried carried;
  if (shown_ == 0) return carried;
  const HWND list = Handle();
  const int selected = Ask(list, LVM_GETSELECTEDCOUNT);
  if (knownValid_ && static_cast<int>(knownIds_.size()) == selected) {
    carried.ids = knownIds_;
  } else if (selected == shown_) {
    for (int row = 0; row < shown_; ++row) carried.ids.push_back(table_->Id(row));
  } else {
    for (int row = -1; static_cast<int>(carried.ids.size()) < selected;) {
      row = Ask(list, LVM_GETNEXTITEM, static_cast<WPARAM>(row), MAKELPARAM(LVNI_SELECTED, 0));
      if (row < 0) break;
      carried.ids.push_back(table_->Id(row));
    }
  }
  for (int id : carried.ids) carried.rows.push_back(table_->RowOfId(id));
  std::sort(carried.rows.begin(), carried.rows.end());
  carried.focusRow = Ask(list, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), MAKELPARAM(LVNI_FOCUSED, 0));
  carried.markRow = Ask(list, LVM_GETSELECTIONMARK);
  carried.focus = table_->Id(carried.focusRow);
  carried.mark = table_->Id(carried.markRow);
  return carried;
}

// The rows whose state changes get a message each; when fewer rows change
// by starting from all selected (or none), that is done with one message.
void SortListCtrl::PutBack(const Carried& carried) {
  const auto start = Clock::now();
  std::vector<int> now;
  now.reserve(carried.ids.size());
  for (int id : carried.ids)
    if (const int row = table_->RowOfId(id); row >= 0) now.push_back(row);
  std::sort(now.begin(), now.end());
  std::vector<int> changed;
  std::set_symmetric_difference(carried.rows.begin(), carried.rows.end(), now.begin(), now.end(),
                                std::back_inserter(changed));
  const int focus = table_->RowOfId(carried.focus), mark = table_->RowOfId(carried.mark);
  quiet_ = true;
  struct Loud {
    bool& quiet;
    ~Loud() { quiet = false; }
  } loud{quiet_};
  const std::size_t fromAll = 1 + (shown_ - now.size()), fromNone = 1 + now.size();
  if (changed.size() > std::min(fromAll, fromNone)) {
    const bool all = fromAll <= fromNone;
    SetState(-1, LVIS_SELECTED, all ? LVIS_SELECTED : 0);
    changed.clear();
    std::size_t next = 0;
    for (int row = 0; row < shown_; ++row) {
      const bool selected = next < now.size() && now[next] == row;
      next += selected;
      if (selected != all) changed.push_back(row);
    }
  }
  if (focus != carried.focusRow && focus >= 0) SetState(focus, LVIS_FOCUSED, LVIS_FOCUSED);
  if (mark != carried.markRow) ::SendMessageW(Handle(), LVM_SETSELECTIONMARK, 0, mark);
  knownIds_ = carried.ids;
  knownValid_ = true;
  pending_.clear();
  pendingNext_ = 0;
  for (int row : changed) pending_.emplace_back(row, std::binary_search(now.begin(), now.end(), row));
  ApplyPending(start + kPutBackTurn);
}

// Up to `until` or a bounded count of rows, whichever comes first: under
// Wine each row's message raises a notification.
void SortListCtrl::ApplyPending(Clock::time_point until) {
  quiet_ = true;
  struct Loud {
    bool& quiet;
    ~Loud() { quiet = false; }
  } loud{quiet_};
  for (int sent = 0; PuttingBack() && sent < kPutBackRows; ++sent) {
    if (sent % 8 == 0 && sent > 0 && Clock::now() >= until) break;
    const auto [row, selected] = pending_[pendingNext_++];
    SetState(row, LVIS_SELECTED, selected ? LVIS_SELECTED : 0);
  }
  if (!PuttingBack()) {
    pending_.clear();
    pendingNext_ = 0;
  }
}

void SortListCtrl::FinishPutBack() {
  while (PuttingBack()) ApplyPending(Clock::time_point::max());
}

void SortListCtrl::SetState(int row, UINT mask, UINT state) {
  LVITEMW item{};
  item.stateMask = mask;
  item.state = state;
  ::SendMessageW(Handle(), LVM_SETITEMSTATE, static_cast<WPARAM>(row),
                 reinterpret_cast<LPARAM>(&item));
}

}  // namespace ui
