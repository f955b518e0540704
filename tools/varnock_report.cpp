// varnock-report: the scan and the report without a window, for support
// scripts and remote shells. In its default text format it writes to
// standard output exactly the bytes the "Copy to Clipboard" button puts on
// the clipboard, and nothing else; csv and json are for other programs.
//
// Exit status: 0 the scan ran and its report was written, whatever it found;
// 2 bad arguments; 3 the report (or the help, the version) could not be
// written, or --output names a device that takes no report (a printer, a
// port). Nothing the scan meets
// changes it; --verbose tells those things.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "atomic_file_sink.h"
#include "device_name.h"
#include "error_output.h"
#include "machine_facts.h"
#include "problem_log.h"
#include "res/version.h"
#include "scan/csv_report_writer.h"
#include "scan/json_report_writer.h"
#include "scan/memory_table.h"
#include "scan/plugin_scanner.h"
#include "scan/report.h"
#include "scan/signature_pass.h"
#include "win/error_text.h"

namespace {

constexpr int kBadArguments = 2;
constexpr int kCannotWrite = 3;

// Written with every "\n" as CR LF.
constexpr const char* kUsage =
    "Usage: varnock-report [--all] [--signatures] [--format text|csv|json] [--output FILE]\n"
    "                      [--verbose]\n"
    "\n"
    "Lists the raw-camera plug-ins installed for Photoshop and Photoshop Elements\n"
    "and writes the same report as Varnock's \"Copy to Clipboard\" button.\n"
    "\n"
    "  --all            list every plug-in file, as \"Show All of My Plugins\" does\n"
    "  --signatures     check each module's Authenticode signature with the system's\n"
    "                   verifier, as the window does (it reads every module whole)\n"
    "  --format text    the clipboard's report, in the ANSI code page (default);\n"
    "                   with --signatures each plug-in also has its Architecture\n"
    "                   and Signature lines, as the window's report has\n"
    "  --format csv     File,Version,Product,Location,Architecture and a line per\n"
    "                   plug-in, with --signatures also Signature (signed, untrusted,\n"
    "                   expired, unsigned, tampered or unreadable) and Signer, and\n"
    "                   last Program architecture (empty when unknown);\n"
    "                   UTF-8 with a byte-order mark, CR LF line ends\n"
    "  --format json    {\"format\": 1, \"machine\": {...}, \"installations\": {...},\n"
    "                   \"installations32\": {...}, \"plugins\": [...]} in UTF-8,\n"
    "                   ending in CR LF; the installations list the 64-bit and\n"
    "                   the 32-bit registry view; each plug-in has its\n"
    "                   \"architecture\" and \"program_architecture\" (x86, x64,\n"
    "                   arm64, arm64ec, arm64x, 0x... or null),\n"
    "                   \"program_can_load\" (true, false or null) and with\n"
    "                   --signatures its\n"
    "                   \"signature\": {\"status\", \"signer\"};\n"
    "                   docs/report.schema.json in the release archive describes it\n"
    "                   (csv and json give files and folders by their exact names;\n"
    "                   a csv field that a spreadsheet would run as a formula\n"
    "                   starts with an apostrophe)\n"
    "  --output FILE    write the report to FILE instead of standard output: the\n"
    "                   whole new report or, on failure, the old FILE untouched;\n"
    "                   NUL scans and writes nothing, CON is standard output\n"
    "  --verbose        on standard error, a line per thing the scan could not\n"
    "                   read (or whose signature it could not check): what, its\n"
    "                   path and why, separated by tabs\n"
    "  --version        show the program's version\n"
    "  --help           show this text\n"
    "\n"
    "An Architecture such as \"x64 (program: x86)\" names in brackets the processor\n"
    "of the product's own program (Photoshop.exe, PhotoshopElementsEditor.exe)\n"
    "where that program cannot load the file on this machine (on Windows on Arm\n"
    "an x64 program also loads ARM64EC and ARM64X files, an ARM64 one ARM64X).\n"
    "Without brackets nothing is proven: the program may be unknown, and a\n"
    "product may pass a file over for other reasons.\n"
    "\n"
    "Exit status: 0 the report was written, whatever the scan found; 2 bad\n"
    "arguments; 3 the report could not be written, or FILE is a device other\n"
    "than NUL and CON (PRN, AUX, COM1 to COM9, LPT1 to LPT9).\n";

// Standard output's handle, written to directly: the system's own error for
// a failed write, which the C runtime's errno would blur ("Invalid argument"
// for a pipe whose reader has gone).
class StdoutSink : public scan::ByteSink {
 public:
  ~StdoutSink() override { Flush(); }
  void Write(std::string_view bytes) override {
    pending_.append(bytes);
    if (pending_.size() >= kBlock) Flush();
  }
  // The first write error, or 0, once everything was written.
  DWORD Error() {
    Flush();
    return error_;
  }

 private:
  static constexpr std::size_t kBlock = 64 * 1024;
  void Flush() {
    std::string_view rest = pending_;
    const HANDLE output = ::GetStdHandle(STD_OUTPUT_HANDLE);
    while (!rest.empty() && !error_) {
      DWORD written = 0;
      const DWORD size = static_cast<DWORD>(std::min<std::size_t>(rest.size(), kBlock));
      if (output == nullptr || output == INVALID_HANDLE_VALUE)
        error_ = ERROR_INVALID_HANDLE;
      else if (!::WriteFile(output, rest.data(), size, &written, nullptr))
        error_ = ::GetLastError();
      else if (written == 0)
        error_ = ERROR_WRITE_FAULT;
      rest.remove_prefix(std::min<std::size_t>(written, rest.size()));
    }
    pending_.clear();
  }

  std::string pending_;
  DWORD error_ = 0;
};

// Text for people on standard output, "\n" written as CR LF.
DWORD WriteLines(std::string_view text) {
  std::string lines;
  for (char c : text) {
    if (c == '\n') lines += '\r';
    lines += c;
  }
  StdoutSink out;
  out.Write(lines);
  return out.Error();
}

// --output NUL: the scan runs, and its report goes nowhere.
class NullSink : public scan::ByteSink {
 public:
  void Write(std::string_view) override {}
};

// format is one of the three.
std::unique_ptr<scan::ReportWriter> MakeWriter(std::wstring_view format, scan::ByteSink& sink,
                                               bool signatures) {
  if (format == L"csv") return std::make_unique<scan::CsvReportWriter>(sink, signatures);
  if (format == L"json")
    return std::make_unique<scan::JsonReportWriter>(sink, ReadMachineFacts(), signatures);
  return std::make_unique<scan::TextReportWriter>(sink);
}

int UsageError(std::wstring_view what, std::wstring_view detail) {
  const std::string_view usage = kUsage;  // ASCII
  WriteError(L"varnock-report: " + std::wstring(what) + L" '" + std::wstring(detail) + L"'\n\n" +
             std::wstring(usage.begin(), usage.end()));
  return kBadArguments;
}

int CannotWrite(std::wstring_view path, const std::wstring& reason) {
  WriteError(L"varnock-report: cannot write the report to " + std::wstring(path) + L": " +
             reason + L"\n");
  return kCannotWrite;
}

// `what` ("the report", "the help") could not be written to standard output.
int CannotWriteOutput(std::wstring_view what, DWORD error) {
  const bool closed =
      error == ERROR_BROKEN_PIPE || error == ERROR_NO_DATA || error == ERROR_PIPE_NOT_CONNECTED;
  WriteError(L"varnock-report: cannot write " + std::wstring(what) +
             (closed ? L": standard output was closed (the pipe has ended)"
                     : L" to standard output: " + win::ErrorText(error)) +
             L"\n");
  return kCannotWrite;
}

// "--name value" or "--name=value"; false when the option is another one.
// "--name" as the last argument sets missing.
bool OptionValue(std::wstring_view name, int argc, wchar_t** argv, int& i,
                 std::optional<std::wstring>& value, bool& missing) {
  const std::wstring_view option = argv[i];
  if (option == name) {
    if (i + 1 == argc) {
      missing = true;
      return true;
    }
    value = argv[++i];
    return true;
  }
  if (option.size() > name.size() && option.starts_with(name) && option[name.size()] == L'=') {
    value = std::wstring(option.substr(name.size() + 1));
    return true;
  }
  return false;
}

}  // namespace

// Wide arguments: an --output path keeps every character whatever the code page.
int wmain(int argc, wchar_t** argv) {
  bool showAll = false;
  bool signatures = false;
  bool verbose = false;
  std::optional<std::wstring> format, output;
  for (int i = 1; i < argc; ++i) {
    const std::wstring_view option = argv[i];
    bool missing = false;
    if (option == L"--all") {
      showAll = true;
    } else if (option == L"--signatures") {
      signatures = true;
    } else if (OptionValue(L"--format", argc, argv, i, format, missing) ||
               OptionValue(L"--output", argc, argv, i, output, missing)) {
      if (missing) return UsageError(L"missing value after", option);
    } else if (option == L"--verbose") {
      verbose = true;
    } else if (option == L"--version") {
      char version[64];
      std::snprintf(version, sizeof version, "varnock-report %d.%d.%d.%d\n", VARNOCK_VERSION_MAJOR,
                    VARNOCK_VERSION_MINOR, VARNOCK_VERSION_PATCH, VARNOCK_VERSION_TWEAK);
      const DWORD error = WriteLines(version);
      return error ? CannotWriteOutput(L"the version", error) : 0;
    } else if (option == L"--help" || option == L"-h" || option == L"/?") {
      const DWORD error = WriteLines(kUsage);
      return error ? CannotWriteOutput(L"the help", error) : 0;
    } else {
      return UsageError(L"unknown option", option);
    }
  }
  if (output && output->empty()) return UsageError(L"missing value after", L"--output");
  const std::wstring_view chosen = format ? std::wstring_view(*format) : L"text";
  if (chosen != L"text" && chosen != L"csv" && chosen != L"json")
    return UsageError(L"unknown format", chosen);

  // The file first: a folder that is not there fails before the scan, not
  // after. A device is no file to replace: NUL and CON are what every tool
  // takes them for, the others (a printer, a serial port) are refused.
  const DeviceName device = output ? ReservedDeviceName(*output) : DeviceName::kNone;
  // Quoted, as "COM1:" may end in a colon of its own.
  if (device == DeviceName::kOther)
    return CannotWrite(L"'" + *output + L"'", L"a device, not a file (of devices only NUL and CON)");
  if (device == DeviceName::kConsole) output.reset();
  std::optional<AtomicFileSink> file;
  if (output && device == DeviceName::kNone) {
    file.emplace(*output);
    if (file->Error()) return CannotWrite(*output, win::ErrorText(file->Error()));
  }
  NullSink nowhere;
  StdoutSink console;
  const bool toConsole = !file && device != DeviceName::kNull;
  scan::ByteSink& sink = file ? static_cast<scan::ByteSink&>(*file)
                         : toConsole ? static_cast<scan::ByteSink&>(console)
                                     : nowhere;
  const std::unique_ptr<scan::ReportWriter> writer = MakeWriter(chosen, sink, signatures);

  // Without the pass the text is the report it always was, four lines a row.
  scan::MemoryTable table(signatures ? scan::kColumnCount : scan::kUncheckedColumnCount);
  ProblemLog log;
  scan::NoListener quiet;
  scan::ProblemListener& listener = verbose ? static_cast<scan::ProblemListener&>(log) : quiet;
  scan::PluginScanner scanner(table, listener);
  scanner.ShowAllPlugins = showAll;
  scanner.ScanInstallations();
  if (signatures) scan::CheckSignatures(table, listener);
  scan::WriteReport(table, *writer);

  // A script must not take a cut-off report for a whole one.
  if (file) {
    if (const DWORD error = file->Commit()) return CannotWrite(*output, win::ErrorText(error));
  } else if (const DWORD error = toConsole ? console.Error() : 0) {
    return CannotWriteOutput(L"the report", error);
  }
  return 0;
}
