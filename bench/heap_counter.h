#pragma once
// Bytes the program holds through operator new, and the most it held since
// the peak was last reset: the report's own memory, apart from the table's.
#include <cstddef>

namespace bench {

std::size_t HeapInUse();
std::size_t HeapPeak();
void ResetHeapPeak();  // the peak starts again from what is held now

}  // namespace bench
