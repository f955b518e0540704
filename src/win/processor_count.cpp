#include "win/processor_count.h"

#include <windows.h>

namespace win {

// The processors of this process's group: the pools it sizes are small.
int ProcessorCount() {
  SYSTEM_INFO info{};
  ::GetSystemInfo(&info);
  return info.dwNumberOfProcessors > 0 ? static_cast<int>(info.dwNumberOfProcessors) : 1;
}

}  // namespace win
