#include "scan/parse/system_formats.h"

#include <cstring>

namespace parse {

bool SystemMayRead(ByteSource& file) {
  unsigned char head[4];
  if (!file.ReadAt(0, sizeof head, head)) return false;
  return (head[0] == 'M' && head[1] == 'Z') || std::memcmp(head, "SZDD", sizeof head) == 0;
}

}  // namespace parse
