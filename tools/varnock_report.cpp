// varnock-report: the scan and the report without a window, for support
// scripts and remote shells. In its default text format it writes to
// standard output exactly the bytes the "Copy to Clipboard" button puts on
// the clipboard, and nothing else; csv and json are for other programs.
#include <fcntl.h>
#include <io.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>
#include <string_view>

#include "scan/csv_report_writer.h"
#include "scan/json_report_writer.h"
#include "scan/memory_table.h"
#include "scan/plugin_scanner.h"
#include "scan/report.h"
#include "problem_log.h"
#include "res/version.h"

namespace {

// Standard error and, until the report starts, standard output are text
// streams: "\n" reaches the console as CR LF.
constexpr const char* kUsage =
    "Usage: varnock-report [--all] [--format text|csv|json] [--verbose]\n"
    "\n"
    "Lists the raw-camera plug-ins installed for Photoshop and Photoshop Elements\n"
    "and writes the same report as Varnock's \"Copy to Clipboard\" button.\n"
    "\n"
    "  --all            list every plug-in file, as \"Show All of My Plugins\" does\n"
    "  --format text    the clipboard's report, in the ANSI code page (default)\n"
    "  --format csv     File,Version,Product,Location and a line per plug-in;\n"
    "                   UTF-8 with a byte-order mark, CR LF line ends\n"
    "  --format json    {\"installations\": {...}, \"installations32\": {...},\n"
    "                   \"plugins\": [...]} in UTF-8, ending in CR LF; the first\n"
    "                   two list the 64-bit and the 32-bit registry view\n"
    "                   (csv and json give files and folders by their exact names;\n"
    "                   a csv field that a spreadsheet would run as a formula\n"
    "                   starts with an apostrophe)\n"
    "  --verbose        on standard error, a line per thing the scan could not\n"
    "                   read: what, its path and why, separated by tabs\n"
    "  --version        show the program's version\n"
    "  --help           show this text\n";

class StdoutSink : public scan::ByteSink {
 public:
  void Write(std::string_view bytes) override {
    if (std::fwrite(bytes.data(), 1, bytes.size(), stdout) != bytes.size() && !error_)
      error_ = errno ? errno : EIO;
  }
  // The first write error, or 0.
  int Error() {
    if (std::fflush(stdout) != 0 && !error_) error_ = errno ? errno : EIO;
    return error_;
  }

 private:
  int error_ = 0;
};

std::unique_ptr<scan::ReportWriter> MakeWriter(std::string_view format, scan::ByteSink& sink) {
  if (format == "text") return std::make_unique<scan::TextReportWriter>(sink);
  if (format == "csv") return std::make_unique<scan::CsvReportWriter>(sink);
  if (format == "json") return std::make_unique<scan::JsonReportWriter>(sink);
  return nullptr;
}

int UsageError(const char* what, std::string_view detail) {
  std::fprintf(stderr, "varnock-report: %s '%.*s'\n\n%s", what,
               static_cast<int>(detail.size()), detail.data(), kUsage);
  return 2;
}

}  // namespace

int main(int argc, char** argv) {
  bool showAll = false;
  bool verbose = false;
  std::string_view format = "text";
  for (int i = 1; i < argc; ++i) {
    std::string_view option = argv[i];
    if (option == "--all") {
      showAll = true;
    } else if (option == "--format") {
      if (i + 1 == argc) return UsageError("missing format after", option);
      format = argv[++i];
    } else if (option.starts_with("--format=")) {
      format = option.substr(std::strlen("--format="));
    } else if (option == "--verbose") {
      verbose = true;
    } else if (option == "--version") {
      std::printf("varnock-report %d.%d.%d.%d\n", VARNOCK_VERSION_MAJOR, VARNOCK_VERSION_MINOR,
                  VARNOCK_VERSION_PATCH, VARNOCK_VERSION_TWEAK);
      return 0;
    } else if (option == "--help" || option == "-h" || option == "/?") {
      std::fputs(kUsage, stdout);
      return 0;
    } else {
      return UsageError("unknown option", option);
    }
  }

  StdoutSink sink;
  std::unique_ptr<scan::ReportWriter> writer = MakeWriter(format, sink);
  if (!writer) return UsageError("unknown format", format);

  _setmode(_fileno(stdout), _O_BINARY);
  scan::MemoryTable table;
  ProblemLog log;
  scan::NoListener quiet;
  scan::PluginScanner scanner(table, verbose ? static_cast<scan::ProblemListener&>(log) : quiet);
  scanner.ShowAllPlugins = showAll;
  scanner.ScanInstallations();

  scan::WriteReport(table, *writer);
  // A script must not take a cut-off report for a whole one.
  if (const int error = sink.Error()) {
    std::fprintf(stderr, "varnock-report: cannot write the report: %s\n", std::strerror(error));
    return 1;
  }
  return 0;
}
