#pragma once
// A function of a system DLL looked up at run time instead of imported, so
// the program still starts on a Windows that lacks it (the caller then falls
// back to an older call).
#include <windows.h>

namespace win {

// Null when `module` is not loaded or does not export `name`. Only for DLLs
// every process has mapped (ntdll, kernel32, user32, comctl32 through the
// manifest): the module is borrowed, never loaded or freed here.
template <typename Function>
Function SystemFunction(const char* module, const char* name) {
  const HMODULE loaded = ::GetModuleHandleA(module);
  if (!loaded) return nullptr;
  // Through void (*)(): the one function pointer type every other converts from cleanly.
  return reinterpret_cast<Function>(reinterpret_cast<void (*)()>(::GetProcAddress(loaded, name)));
}

}  // namespace win
