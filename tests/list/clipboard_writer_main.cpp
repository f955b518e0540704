// Writes to the clipboard and exits, so a test can read what is left once
// the writing program is gone.
//   list_clipboard_writer text <length>   a text of that many letters
//   list_clipboard_writer report          the report of a small list; the
//                                         same bytes also go to stdout
#include <fcntl.h>
#include <io.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "list_window.h"
#include "scan/report.h"
#include "support/scratch_registry.h"
#include "ui/row_commands.h"
#include "win/clipboard.h"

namespace {

std::string Letters(std::size_t length) {
  std::string text;
  for (std::size_t i = 0; i < length; ++i) text += static_cast<char>('a' + i % 26);
  return text;
}

int WriteReport() {
  test_support::ScratchRegistry registry;
  registry.CreateKey("Software\\Adobe\\Photoshop\\9.0");
  registry.CreateKey("Software\\Adobe\\Photoshop Elements\\4.0");
  list_test::ListWindow window;
  window.AddRow({"Camera Raw.8bi", "3.7.0.0", "Photoshop CS2", "C:\\PS\\Plug-Ins\\File Formats"});
  window.AddRow({"camera raw.zip", "", "Photoshop Elements 4.0", "C:\\PSE\\Plug-Ins"});
  ui::CopyReport(window.Table());

  scan::StringSink expected;
  scan::WriteTextReport(window.Table(), expected);
  _setmode(_fileno(stdout), _O_BINARY);
  std::fwrite(expected.text.data(), 1, expected.text.size(), stdout);
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc == 3 && std::strcmp(argv[1], "text") == 0) {
    win::ClipboardText(Letters(std::strtoul(argv[2], nullptr, 10)));
    return 0;
  }
  if (argc == 2 && std::strcmp(argv[1], "report") == 0) return WriteReport();
  std::fputs("usage: list_clipboard_writer text <length> | report\n", stderr);
  return 2;
}
