#pragma once
// A dialog's size grip in the active palette: the system draws it in its own
// face whatever it is told. With no palette active it is the system's.
#include <windows.h>

#include "win/subclass.h"

namespace ui {

class PaletteSizeGrip {
 public:
  PaletteSizeGrip() = default;
  // The subclass finds this object through its reference data.
  PaletteSizeGrip(const PaletteSizeGrip&) = delete;
  PaletteSizeGrip& operator=(const PaletteSizeGrip&) = delete;

  // The first size grip among the dialog's controls, if it has one.
  void AttachToGripOf(HWND dialog);

 private:
  static LRESULT CALLBACK SubclassProc(HWND, UINT, WPARAM, LPARAM, UINT_PTR, DWORD_PTR);
  win::Subclass subclass_{SubclassProc};
};

}  // namespace ui
