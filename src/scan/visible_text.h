#pragma once
// Text that cannot break a line: a name written into a line of the text
// report or of --verbose shows its control characters as escapes, so a
// name with a tab, CR or LF in it can neither split its line nor forge one.
//
//   tab \t, CR \r, LF \n; every other control character (U+0000 to U+001F,
//   U+007F to U+009F) \xHH; the line and paragraph separators \u{2028}
//   and \u{2029}.
//
// In --verbose, which scripts read back, a backslash is also written twice
// where the next character would otherwise make an escape of it: before a
// backslash, before one of t r n x u, and before an escaped character.
// Every other backslash stands for itself, so a path such as
// C:\Program Files\Adobe reads as it always did, and reading back is
// unambiguous: \\ is a backslash, \t \r \n \xHH \u{...} as above, and any
// other backslash is itself. The text report is for people and keeps every
// backslash as it is, so its paths never change; its escapes still keep a
// name on its one line.
#include <string>
#include <string_view>

namespace scan {

enum class Backslashes { Escaped, Kept };

std::wstring VisibleText(std::wstring_view text, Backslashes backslashes = Backslashes::Escaped);

// False when VisibleText(..., Kept) would leave text in the ANSI code page
// or in UTF-8 as it is; true may also be said of text it leaves alone.
bool MayNeedEscapes(std::string_view text);

}  // namespace scan
