#pragma once
// What a process holds, measured the way the platform allows. Under Wine the
// handle count and GetGuiResources are stubs that answer 0, so kernel handles
// are counted by probing the handle table and GDI objects by reading the
// shared GDI handle table the PEB points to; USER objects are counted as the
// windows of the process. Each figure says whether it could be measured.
#include <cstddef>

namespace hostile {

struct Usage {
  long handles = -1;      // -1: not measurable here
  long gdiObjects = -1;
  long userObjects = -1;  // GetGuiResources where it works, else windows
  long threads = -1;      // of this process, from a thread snapshot
  std::size_t memoryBytes = 0;  // PagefileUsage: committed private memory
};

Usage MeasureUsage();
long CountThreads();  // the cheap part alone

}  // namespace hostile
