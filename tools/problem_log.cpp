#include "problem_log.h"

#include "error_output.h"
#include "scan/visible_text.h"

const wchar_t* ProblemLog::Phrase(scan::Problem problem) {
  switch (problem) {
    case scan::Problem::RegistryKey: return L"cannot open registry key";
    case scan::Problem::Folder: return L"cannot list folder";
    case scan::Problem::Module: return L"cannot read module";
    case scan::Problem::DamagedModule: return L"damaged module";
    case scan::Problem::LinkLoop: return L"folder links back to its ancestor";
    case scan::Problem::Signature: return L"cannot check signature";
  }
  return L"cannot read";
}

void ProblemLog::Report(scan::Problem problem, const std::wstring& path,
                        const std::wstring& reason) {
  // Three fields whatever a name holds: no tab or line end of its own.
  WriteError(std::wstring(Phrase(problem)) + L"\t" + scan::VisibleText(path) + L"\t" +
             scan::VisibleText(reason) + L"\n");
}
