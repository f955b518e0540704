#pragma once
// The report as comma-separated values for other programs: a heading line,
// then one line per row in table order. UTF-8 with a byte-order mark (so
// spreadsheets read it as UTF-8), CR LF line ends, and a field quoted only
// when it holds a comma, a quote, a CR or an LF, its quotes doubled. Files
// and folders appear by their exact names.
//
// A field that a spreadsheet would take for a formula (one that begins with
// "=", "+", "-", "@", a tab or a CR) gets a leading apostrophe, so that
// opening the file runs nothing a file name says.
//
// Its columns: File, Version, Product, Location and Architecture (the
// plug-in's own); after a signature pass also Signature (the status word)
// and Signer; last, Program architecture (that of the installation's
// program, empty when unknown). The installations are not part of it; the
// JSON report carries them.
#include <string>
#include <string_view>

#include "scan/report.h"

namespace scan {

class CsvReportWriter : public ReportWriter {
 public:
  explicit CsvReportWriter(ByteSink& sink, bool signatures = false)
      : sink_(sink), signatures_(signatures) {}
  void Begin(const std::vector<Installation>& installations, const ResultTable& table) override;
  void Row(const ResultTable& table, int row) override;
  void End() override {}

  // One field as it appears in a line, from UTF-8 text.
  static std::string Field(std::string_view text);

 private:
  ByteSink& sink_;
  bool signatures_;
};

}  // namespace scan
