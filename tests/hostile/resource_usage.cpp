#include "resource_usage.h"

#include <windows.h>
#include <psapi.h>
#include <tlhelp32.h>
#include <winternl.h>

#include <cstdint>

#include "win/unique_handle.h"

namespace hostile {
namespace {

long ProbeHandles() {
  // Wine hands out kernel handles as small multiples of four.
  long count = 0;
  for (std::uintptr_t value = 4; value < 0x20000; value += 4) {
    DWORD flags = 0;
    count += ::GetHandleInformation(reinterpret_cast<HANDLE>(value), &flags) != FALSE;
  }
  return count;
}

// One entry of the GDI handle table the PEB points to (x64 layout).
struct GdiHandleEntry {
  std::uint64_t object;
  std::uint32_t owner;  // process id in the low half
  std::uint16_t unique;
  std::uint8_t type;
  std::uint8_t flags;
  std::uint64_t user;
};
static_assert(sizeof(GdiHandleEntry) == 24);

long CountGdiTable() {
  PROCESS_BASIC_INFORMATION basic{};
  if (::NtQueryInformationProcess(::GetCurrentProcess(), ProcessBasicInformation, &basic,
                                  sizeof basic, nullptr) != 0)
    return -1;
  const auto* peb = reinterpret_cast<const unsigned char*>(basic.PebBaseAddress);
  const auto* table = *reinterpret_cast<GdiHandleEntry* const*>(peb + 0xF8);
  if (!table) return -1;
  const std::uint16_t self = static_cast<std::uint16_t>(::GetCurrentProcessId());
  long count = 0;
  for (std::size_t i = 0; i < 0x10000; ++i)
    // Wine keeps the table per process and leaves the owner 0; Windows shares
    // it and names the owning process.
    count += table[i].type != 0 && (static_cast<std::uint16_t>(table[i].owner) == self ||
                                    table[i].owner == 0);
  return count;
}

// Trusts the table only when ten new brushes show up in it as ten.
long CountGdiObjects() {
  const long before = CountGdiTable();
  if (before < 0) return -1;
  long with = 0;
  {
    win::UniqueBrush brushes[10];
    for (auto& brush : brushes) brush.reset(::CreateSolidBrush(RGB(1, 2, 3)));
    with = CountGdiTable();
  }
  return with == before + 10 && CountGdiTable() == before ? before : -1;
}

BOOL CALLBACK CountWindow(HWND window, LPARAM count) {
  ++*reinterpret_cast<long*>(count);
  ::EnumChildWindows(window, CountWindow, count);
  return TRUE;
}

long CountWindows() {
  long count = 0;
  ::EnumThreadWindows(::GetCurrentThreadId(), CountWindow, reinterpret_cast<LPARAM>(&count));
  return count;
}

}  // namespace

long CountThreads() {
  const win::UniqueFile snapshot(::CreateToolhelp32Snapshot(TH32CS_SNAPTHREAD, 0));
  if (!snapshot) return -1;
  THREADENTRY32 entry{};
  entry.dwSize = sizeof entry;
  long count = 0;
  for (BOOL more = ::Thread32First(snapshot.get(), &entry); more;
       more = ::Thread32Next(snapshot.get(), &entry))
    count += entry.th32OwnerProcessID == ::GetCurrentProcessId();
  return count;
}

Usage MeasureUsage() {
  Usage usage;
  const HANDLE self = ::GetCurrentProcess();
  DWORD handles = 0;
  usage.handles = ::GetProcessHandleCount(self, &handles) && handles ? static_cast<long>(handles)
                                                                      : ProbeHandles();
  const DWORD gdi = ::GetGuiResources(self, GR_GDIOBJECTS);
  usage.gdiObjects = gdi ? static_cast<long>(gdi) : CountGdiObjects();
  const DWORD user = ::GetGuiResources(self, GR_USEROBJECTS);
  usage.userObjects = user ? static_cast<long>(user) : CountWindows();
  usage.threads = CountThreads();
  PROCESS_MEMORY_COUNTERS memory{};
  if (::GetProcessMemoryInfo(self, &memory, sizeof memory)) usage.memoryBytes = memory.PagefileUsage;
  return usage;
}

}  // namespace hostile
