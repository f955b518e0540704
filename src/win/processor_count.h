#pragma once
// How many processors this process may run on, to size a pool of threads.

namespace win {

// At least 1.
int ProcessorCount();

}  // namespace win
