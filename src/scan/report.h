#pragma once
// The report: the installed versions of each product as the registry lists
// them, 64-bit view first, then every row of the table in its current order. One walk over the
// registry and the table feeds any ReportWriter; the writer decides the
// format and hands its bytes to a sink as they are produced.
#include <string>
#include <string_view>
#include <vector>

#include "scan/registry_view.h"
#include "scan/result_table.h"

namespace scan {

struct Installation {
  std::string product;
  RegistryView view;
  std::vector<std::wstring> versionKeys;  // exact names, in the registry's enumeration order
};

// One entry per product and registry view, in the order of ProductViews.
std::vector<Installation> ReadInstallations();

class ByteSink {
 public:
  virtual ~ByteSink() = default;
  virtual void Write(std::string_view bytes) = 0;
};

// TextReportWriter below; CsvReportWriter and JsonReportWriter have files
// of their own.
class ReportWriter {
 public:
  virtual ~ReportWriter() = default;
  virtual void Begin(const std::vector<Installation>& installations, const ResultTable& table) = 0;
  virtual void Row(const ResultTable& table, int row) = 0;
  virtual void End() = 0;
};

// Reads the installations and streams every row into the writer. The row
// count is asked again before each row.
void WriteReport(const ResultTable& table, ReportWriter& writer);

// The plain-text report for people: CR LF line ends, one labelled line per
// cell, dashes between rows. In the ANSI code page, or the same text in
// UTF-8 with the exact names where the table keeps them. A name or cell with
// a control character in it adds no line: it is written with escapes
// (visible_text.h).
class TextReportWriter : public ReportWriter {
 public:
  enum class Form { Ansi, Utf8 };
  explicit TextReportWriter(ByteSink& sink, Form form = Form::Ansi) : sink_(sink), form_(form) {}
  void Begin(const std::vector<Installation>& installations, const ResultTable& table) override;
  void Row(const ResultTable& table, int row) override;
  void End() override;

 private:
  ByteSink& sink_;
  Form form_;
  std::string pending_;
  int columns_ = 0;
};

void WriteTextReport(const ResultTable& table, ByteSink& sink);

// A cell as the machine formats carry it: the exact name where the table
// keeps one, else its text converted from the ANSI code page; UTF-8 either way.
std::string Utf8Cell(const ResultTable& table, int row, int column);

// A sink that keeps everything in a string.
class StringSink : public ByteSink {
 public:
  void Write(std::string_view bytes) override { text.append(bytes); }
  std::string text;
};

}  // namespace scan
