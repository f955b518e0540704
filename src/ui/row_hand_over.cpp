#include "ui/row_hand_over.h"

#include <iterator>
#include <utility>

namespace ui {
namespace {
RowHandOver::RowGate& Gate() {
  static RowHandOver::RowGate gate;
  return gate;
}

template <typename T>
void MoveOnto(std::vector<T>& to, std::vector<T>& from) {
  std::move(from.begin(), from.end(), std::back_inserter(to));
  from.clear();
}
}  // namespace

RowHandOver::ScopedRowGate::ScopedRowGate(RowGate gate) : ScopedOverride(Gate(), std::move(gate)) {}

void RowHandOver::Begin(HWND window, UINT message) {
  gate_ = Gate();
  found_ = 0;
  fresh_ = Batch{};
  abandoned_.store(false, std::memory_order_relaxed);
  window_ = window;
  message_ = message;
  const win::Locked locked(lock_);
  queued_ = Batch{};
  posted_ = false;
}

RowHandOver::Batch RowHandOver::Take() {
  const win::Locked locked(lock_);
  posted_ = false;
  return std::exchange(queued_, Batch{});
}

void RowHandOver::AddRow(scan::ResultRow row) {
  if (gate_) gate_(*this, found_);
  ++found_;
  fresh_.rows.push_back(std::move(row));
}

void RowHandOver::HandOver(bool finished) {
  if (Abandoned()) return;  // nobody will take them
  const win::Locked locked(lock_);
  MoveOnto(queued_.rows, fresh_.rows);
  MoveOnto(queued_.cells, fresh_.cells);
  MoveOnto(queued_.sizedColumns, fresh_.sizedColumns);
  queued_.finished |= finished;
  // Posted, never sent: the worker must not wait on the window. A post that
  // fails is tried again at the next hand-over, and the window comes back by
  // itself meanwhile.
  if (!posted_ && (finished || !queued_.rows.empty() || !queued_.cells.empty()))
    posted_ = ::PostMessageA(window_, message_, 0, 0) != FALSE;
}

}  // namespace ui
