#pragma once
// The report as one JSON object for other programs, in UTF-8 without a
// byte-order mark, laid out as
//
//   {"installations": {"Photoshop": ["9.0", ...], "Photoshop Elements": []},
//    "installations32": {"Photoshop": [...], "Photoshop Elements": [...]}, "plugins": [
//   {"file": "...", "version": "...", "product": "...", "location": "..."},
//   ...
//   ]}
//
// (the first two members on one line) with CR LF after every line, the last
// one included. "installations" is the 64-bit registry view, "installations32"
// the 32-bit one; in each, every product of the ProductTable is a member, its
// version keys in registry order (an empty array when none is installed). The
// plug-ins are the table's rows in order, files and folders by their exact
// names.
#include <string>
#include <string_view>

#include "scan/report.h"

namespace scan {

class JsonReportWriter : public ReportWriter {
 public:
  explicit JsonReportWriter(ByteSink& sink) : sink_(sink) {}
  void Begin(const std::vector<Installation>& installations, const ResultTable& table) override;
  void Row(const ResultTable& table, int row) override;
  void End() override;

  // A JSON string, quotes included, from text in the ANSI code page.
  static std::string String(std::string_view ansiText);
  // The same from UTF-8 text.
  static std::string Utf8String(std::string_view text);

 private:
  static std::string Installations(const std::vector<Installation>& installations,
                                   RegistryView view);

  ByteSink& sink_;
  bool firstRow_ = true;
};

}  // namespace scan
