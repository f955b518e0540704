#include "scan/json_report_writer.h"

#include <cstdio>

#include "scan/architecture.h"
#include "win/utf8.h"

namespace scan {
namespace {
// Member names of a plug-in's texts, in column order.
constexpr const char* kMemberNames[] = {"file", "version", "product", "location"};
}  // namespace

std::string JsonReportWriter::String(std::string_view ansiText) {
  // Escaped after conversion, where every byte below 0x80 is a character.
  return Utf8String(ansi::ToUtf8(ansiText));
}

std::string JsonReportWriter::Utf8String(std::string_view text) {
  std::string out = "\"";
  for (char c : text) {
    switch (c) {
      case '"': out += "\\\""; break;
      case '\\': out += "\\\\"; break;
      case '\b': out += "\\b"; break;
      case '\f': out += "\\f"; break;
      case '\n': out += "\\n"; break;
      case '\r': out += "\\r"; break;
      case '\t': out += "\\t"; break;
      default:
        if (static_cast<unsigned char>(c) < 0x20) {
          char escape[8];
          std::snprintf(escape, sizeof escape, "\\u%04x", static_cast<unsigned>(c));
          out += escape;
        } else {
          out += c;
        }
    }
  }
  out += '"';
  return out;
}

// {"Photoshop": ["9.0", ...], "Photoshop Elements": [...]} for one view.
std::string JsonReportWriter::Installations(const std::vector<Installation>& installations,
                                            RegistryView view) {
  std::string text = "{";
  bool first = true;
  for (const Installation& installation : installations) {
    if (installation.view != view) continue;
    if (!first) text += ", ";
    first = false;
    text += String(installation.product) + ": [";
    const std::vector<std::wstring>& keys = installation.versionKeys;
    for (std::size_t k = 0; k < keys.size(); ++k) {
      if (k) text += ", ";
      text += Utf8String(ansi::WideToUtf8(keys[k]));
    }
    text += ']';
  }
  return text + '}';
}

void JsonReportWriter::Begin(const std::vector<Installation>& installations,
                             const ResultTable&) {
  firstRow_ = true;
  const std::string machine =
      "{\"name\": " + Utf8String(machine_.name) + ", \"windows\": " + Utf8String(machine_.windows) +
      ", \"architecture\": " + Utf8String(machine_.architecture) +
      ", \"scanned_at\": " + Utf8String(machine_.scannedAt) +
      ", \"varnock\": " + Utf8String(machine_.varnock) + "}";
  sink_.Write("{\"format\": " + std::to_string(kFormat) + ", \"machine\": " + machine +
              ", \"installations\": " + Installations(installations, RegistryView::Native64) +
              ", \"installations32\": " + Installations(installations, RegistryView::Wow32) +
              ", \"plugins\": [");
}

void JsonReportWriter::Row(const ResultTable& table, int row) {
  std::string text = firstRow_ ? "\r\n{" : ",\r\n{";
  firstRow_ = false;
  for (int column = 0; column < static_cast<int>(std::size(kMemberNames)); ++column) {
    if (column) text += ", ";
    text += '"';
    text += kMemberNames[column];
    text += "\": " + Utf8String(Utf8Cell(table, row, column));
  }
  const ResultTable::Architectures architectures = table.RowArchitectures(row);
  text += ", \"architecture\": " + Word(architectures.plugin);
  text += ", \"program_architecture\": " + Word(architectures.program);
  text += ", \"program_can_load\": ";
  text += !architectures.programCanLoad ? "null" : *architectures.programCanLoad ? "true" : "false";
  if (signatures_) {
    text += ", \"signature\": ";
    if (const std::optional<SignatureCheck> check = table.Signature(row)) {
      text += "{\"status\": \"" + std::string(StatusWord(check->status)) + "\", \"signer\": ";
      text += check->signer.empty() ? "null" : Utf8String(ansi::WideToUtf8(check->signer));
      text += '}';
    } else {
      text += "null";
    }
  }
  text += '}';
  sink_.Write(text);
}

std::string JsonReportWriter::Word(const std::string& architecture) {
  return architecture.empty() ? "null" : Utf8String(ArchitectureWord(architecture));
}

void JsonReportWriter::End() { sink_.Write("\r\n]}\r\n"); }

}  // namespace scan
