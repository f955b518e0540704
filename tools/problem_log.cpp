#include "problem_log.h"

#include "win/utf8.h"

ProblemLog::ProblemLog() : error_(::GetStdHandle(STD_ERROR_HANDLE)) {
  DWORD mode = 0;
  console_ = ::GetConsoleMode(error_, &mode) != 0;
}

const wchar_t* ProblemLog::Phrase(scan::Problem problem) {
  switch (problem) {
    case scan::Problem::RegistryKey: return L"cannot open registry key";
    case scan::Problem::Folder: return L"cannot list folder";
    case scan::Problem::Module: return L"cannot read module";
    case scan::Problem::DamagedModule: return L"damaged module";
    case scan::Problem::LinkLoop: return L"folder links back to its ancestor";
  }
  return L"cannot read";
}

void ProblemLog::Report(scan::Problem problem, const std::wstring& path,
                        const std::wstring& reason) {
  const std::wstring line = std::wstring(Phrase(problem)) + L"\t" + path + L"\t" + reason + L"\r\n";
  DWORD written = 0;
  if (console_) {
    ::WriteConsoleW(error_, line.data(), static_cast<DWORD>(line.size()), &written, nullptr);
  } else {
    const std::string bytes = ansi::WideToUtf8(line);
    ::WriteFile(error_, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
  }
}
