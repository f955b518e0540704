// varnock-report: the scan and the report without a window, for support
// scripts and remote shells. Writes to standard output exactly the bytes the
// "Copy to Clipboard" button puts on the clipboard, and nothing else.
#include <fcntl.h>
#include <io.h>

#include <cstdio>
#include <cstring>
#include <string_view>

#include "scan/memory_table.h"
#include "scan/plugin_scanner.h"
#include "scan/report.h"

namespace {

constexpr const char* kUsage =
    "Usage: varnock-report [--all]\r\n"
    "\r\n"
    "Lists the raw-camera plug-ins installed for Photoshop and Photoshop Elements\r\n"
    "and writes the same report as Varnock's \"Copy to Clipboard\" button.\r\n"
    "\r\n"
    "  --all    list every plug-in file, as \"Show All of My Plugins\" does\r\n"
    "  --help   show this text\r\n";

class StdoutSink : public scan::ByteSink {
 public:
  void Write(std::string_view bytes) override {
    std::fwrite(bytes.data(), 1, bytes.size(), stdout);
  }
};

}  // namespace

int main(int argc, char** argv) {
  bool showAll = false;
  for (int i = 1; i < argc; ++i) {
    std::string_view option = argv[i];
    if (option == "--all") {
      showAll = true;
    } else if (option == "--help" || option == "-h" || option == "/?") {
      std::fputs(kUsage, stdout);
      return 0;
    } else {
      std::fprintf(stderr, "varnock-report: unknown option '%s'\r\n\r\n%s", argv[i], kUsage);
      return 2;
    }
  }

  _setmode(_fileno(stdout), _O_BINARY);
  scan::MemoryTable table;
  scan::PluginScanner scanner(table);
  scanner.ShowAllPlugins = showAll;
  scanner.ScanInstallations();

  StdoutSink sink;
  scan::WriteTextReport(table, sink);
  return std::fflush(stdout) == 0 ? 0 : 1;
}
