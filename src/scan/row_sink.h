#pragma once
// Where the scan and the signature pass write: sinks with no read side. The
// table (scan/memory_table.h) is one; the window's hand-over queue is the
// other. A sink of the pass is called from the pass's threads, so only a
// type that touches no window may be one: nothing that holds a window
// derives from SignatureSink, and the compiler refuses to hand it over.
#include <optional>

#include "scan/result_row.h"

namespace scan {

class RowSink {
 public:
  virtual ~RowSink() = default;
  virtual void AddRow(ResultRow row) = 0;
  // The rows so far may be shown; a no-op where nobody is looking.
  virtual void Flush() {}
  // The scan's end asks for a column as wide as its widest text.
  virtual void AutoSizeColumn(int /*column*/) {}
  // True once nobody wants the rest: the scan stops at its next key,
  // folder or file. Asked from the thread that runs the scan.
  virtual bool Abandoned() const { return false; }
};

class SignatureSink {
 public:
  virtual ~SignatureSink() = default;
  // The signature of the row with that id (nothing: no module).
  virtual void SetSignature(int id, const std::optional<SignatureCheck>& check) = 0;
  virtual void Flush() {}
  virtual void AutoSizeColumn(int /*column*/) {}
  virtual bool Abandoned() const { return false; }
};

}  // namespace scan
