#pragma once
// Whether a file that is no PE module may still hold a version resource
// that the system's own reader finds. That reader looks only in modules
// ("MZ": a 16-bit one it reads itself), and an older one also in files
// packed by COMPRESS.EXE ("SZDD"). Any other file it opens three times over
// only to find nothing, so it is not asked.
#include "scan/parse/byte_source.h"

namespace parse {

// By the file's first bytes; false for a file shorter than four.
bool SystemMayRead(ByteSource& file);

}  // namespace parse
