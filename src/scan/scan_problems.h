#pragma once
// What the scan could not read, told to whoever listens. The window shows no
// such thing (failures there end as fewer rows or empty cells); the console
// tool writes it out for --verbose. Nothing listens by default.
#include <string>

namespace scan {

enum class Problem {
  RegistryKey,    // a key that exists, or may, but could not be opened
  Folder,         // a folder that exists, or may, but could not be listed
  Module,         // a module that could not be opened or read
  DamagedModule,  // a module whose version resource was refused as damaged
  LinkLoop,       // a folder not walked: it links back to one of its own ancestors
  Signature,      // a module whose signature could not be checked
};

class ProblemListener {
 public:
  virtual ~ProblemListener() = default;
  // `path` is the exact name (a registry path for keys); `reason` in plain
  // words, for a LinkLoop the ancestor it leads back to.
  virtual void Report(Problem problem, const std::wstring& path, const std::wstring& reason) = 0;
};

// Listens to nothing; the scan's default.
class NoListener : public ProblemListener {
 public:
  void Report(Problem, const std::wstring&, const std::wstring&) override {}
};

}  // namespace scan
