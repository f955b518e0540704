#pragma once
// The end of the program once its window has gone, without waiting for work
// still in flight.
namespace win {

// Hands the clipboard's content over to the system for good, then ends the
// process at once: no destructor runs and no worker is joined.
[[noreturn]] void EndProcessNow(unsigned code);

}  // namespace win
