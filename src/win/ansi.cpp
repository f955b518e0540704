#include "win/ansi.h"

#include <mbstring.h>

#include <cstdlib>

namespace ansi {
namespace {
const unsigned char* Bytes(const std::string& s) {
  return reinterpret_cast<const unsigned char*>(s.c_str());
}
}  // namespace

int Compare(const std::string& a, const std::string& b) { return _mbscmp(Bytes(a), Bytes(b)); }

int CompareNoCase(const std::string& a, const std::string& b) {
  return _mbsicmp(Bytes(a), Bytes(b));
}

std::string ToLower(std::string text) {
  _mbslwr(reinterpret_cast<unsigned char*>(text.data()));
  return text;
}

std::string ReplaceAll(std::string text, std::string_view from, std::string_view to) {
  if (from.empty()) return text;
  std::string out;
  out.reserve(text.size());
  std::size_t start = 0;
  for (std::size_t at; (at = text.find(from, start)) != std::string::npos; start = at + from.size()) {
    out.append(text, start, at - start).append(to);
  }
  out.append(text, start, std::string::npos);
  return out;
}

bool Contains(std::string_view text, std::string_view part) {
  return text.find(part) != std::string_view::npos;
}

std::size_t FindLastBackslash(const std::string& text) {
  const unsigned char* hit = _mbsrchr(Bytes(text), '\\');
  return hit ? static_cast<std::size_t>(hit - Bytes(text)) : std::string::npos;
}

bool EndsWithBackslash(const std::string& text) {
  return !text.empty() && FindLastBackslash(text) == text.size() - 1;
}

std::string JoinPath(const std::string& folder, const std::string& name) {
  std::string path = folder;
  if (!EndsWithBackslash(path)) path += '\\';
  return path += name;
}

double ToDouble(const std::string& text) { return std::atof(text.c_str()); }

std::string SpanIncluding(const std::string& text, std::string_view set) {
  std::size_t n = text.find_first_not_of(set);
  return text.substr(0, n == std::string::npos ? text.size() : n);
}

std::string WithoutAccessKey(std::string_view label) {
  std::string shown;
  shown.reserve(label.size());
  for (std::size_t i = 0; i < label.size(); ++i) {
    if (label[i] == '&' && ++i == label.size()) break;
    shown += label[i];
  }
  return shown;
}

}  // namespace ansi
