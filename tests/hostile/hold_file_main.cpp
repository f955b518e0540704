// Holds a file open without sharing until its standard input closes: another
// process that keeps a plug-in from being read. Writes "held" once it has it.
#include <windows.h>

#include <cstdio>

#include "win/unique_handle.h"

int main(int argc, char** argv) {
  if (argc != 2) return 2;
  win::UniqueFile file(
      ::CreateFileA(argv[1], GENERIC_READ, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) return 1;
  std::puts("held");
  std::fflush(stdout);
  char c;
  while (std::fread(&c, 1, 1, stdin) == 1) {
  }
  return 0;
}
