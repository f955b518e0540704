#pragma once
// --output FILE: the report goes to a temporary file beside FILE, which is
// flushed to disk and then moved over FILE in one step. Whoever reads FILE
// sees the old file or the whole new one, never a part, however the write
// ends (a full disk, a dropped share, a killed process). Until the move the
// temporary file is marked for deletion, so the system removes it when the
// process ends without a move, killed or not.
#include <windows.h>

#include <string>
#include <string_view>

#include "scan/report.h"
#include "win/unique_handle.h"

class AtomicFileSink : public scan::ByteSink {
 public:
  // Creates the temporary file; Error() tells whether that worked.
  explicit AtomicFileSink(const std::wstring& path);
  // Removes the temporary file unless Commit() has moved it.
  ~AtomicFileSink() override;
  AtomicFileSink(const AtomicFileSink&) = delete;
  AtomicFileSink& operator=(const AtomicFileSink&) = delete;

  void Write(std::string_view bytes) override;
  // Writes what is buffered, flushes, closes and moves the temporary file
  // over the target. Returns the first error on the way, 0 when all went well.
  DWORD Commit();
  DWORD Error() const { return error_; }

 private:
  void Drain();
  bool MarkForDeletion(bool deleteOnClose);
  bool MoveOverTarget();

  std::wstring target_;
  std::wstring temporary_;  // empty once moved or never created
  win::UniqueFile file_;
  std::string buffer_;
  DWORD error_ = 0;
};
