#pragma once
// The report as one JSON object for other programs, in UTF-8 without a
// byte-order mark, laid out as
//
//   {"format": 1, "machine": {"name": "...", "windows": "10.0.19045",
//    "architecture": "x64", "scanned_at": "2026-01-31T12:00:00Z", "varnock": "1.3.0.0"},
//    "installations": {"Photoshop": ["9.0", ...], "Photoshop Elements": []},
//    "installations32": {"Photoshop": [...], "Photoshop Elements": [...]}, "plugins": [
//   {"file": "...", "version": "...", "product": "...", "location": "...",
//    "architecture": "x64", "program_architecture": "x64", "program_can_load": true,
//    "signature": {"status": "signed", "signer": "..."}},
//   ...
//   ]}
//
// (everything before the first plug-in on one line) with CR LF after every
// line, the last one included. The shape is a contract, written down in
// docs/report.schema.json: "format" is raised only when a member is renamed,
// removed or changes meaning; a new member may come within a format.
// "installations" is the 64-bit registry view, "installations32"
// the 32-bit one; in each, every product of the ProductTable is a member, its
// version keys in registry order (an empty array when none is installed). The
// plug-ins are the table's rows in order, files and folders by their exact
// names. "architecture" is "x86", "x64", "arm64", "arm64ec", "arm64x", "0x"
// and four hex digits, or null for no module; "program_architecture" is the
// same for the program of the installation the row was found for, null when
// it is not known; "program_can_load" says whether that program loads the
// file on this machine, null where either is not known;
// "signature" comes only after a signature pass, null
// for no module, its "signer" null where no signer's name holds.
#include <string>
#include <string_view>
#include <utility>

#include "scan/machine_facts.h"
#include "scan/report.h"

namespace scan {

class JsonReportWriter : public ReportWriter {
 public:
  static constexpr int kFormat = 1;

  explicit JsonReportWriter(ByteSink& sink, MachineFacts machine = {}, bool signatures = false)
      : sink_(sink), machine_(std::move(machine)), signatures_(signatures) {}
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
  // An architecture's word, null when it is unknown.
  static std::string Word(const std::string& architecture);

  ByteSink& sink_;
  MachineFacts machine_;
  bool signatures_;
  bool firstRow_ = true;
};

}  // namespace scan
