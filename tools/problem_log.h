#pragma once
// varnock-report --verbose: one line on standard error for every thing the
// scan could not read, as three fields separated by tabs, control
// characters in them written as escapes (scan/visible_text.h):
//
//   cannot list folder<TAB>C:\...\Plug-Ins<TAB>Access denied (error 5)
//
// The first field is one of the phrases below, the second the exact path (a
// registry key as HKEY_LOCAL_MACHINE\...), the third the reason in plain
// words. Lines are UTF-8 ending in CR LF; on a console they are written as
// UTF-16, so every name shows as it is.
#include <string>

#include "scan/scan_problems.h"

class ProblemLog : public scan::ProblemListener {
 public:
  void Report(scan::Problem problem, const std::wstring& path, const std::wstring& reason) override;

  static const wchar_t* Phrase(scan::Problem problem);
};
