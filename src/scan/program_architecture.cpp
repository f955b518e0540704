#include "scan/program_architecture.h"

#include "scan/architecture.h"
#include "scan/file_source.h"
#include "scan/parse/pe_load_config.h"
#include "scan/products.h"
#include "win/long_path.h"

namespace scan {

std::string ProgramArchitecture(const std::string& product, const std::wstring& applicationFolder) {
  const std::wstring program = ProgramFileName(product);
  // A relative text (a version key's own name, when it names no folder)
  // would name whatever lies in the current folder.
  if (program.empty() || applicationFolder.find(L":\\") == std::wstring::npos) return {};
  FileSource file(win::VerbatimPath(win::JoinPath(applicationFolder, program)));
  const auto machine = parse::ReadModuleMachine(file);
  return file.Error() ? std::string() : ArchitectureText(machine);
}

}  // namespace scan
