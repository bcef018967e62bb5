// Loads one DLL by name, the way a system DLL looks up a helper it needs.
//   dll_loader [--restrict] NAME     exit code 0 when the DLL was loaded, 1 when it was not
#include <windows.h>
#include <cstring>
#include "runtime/DllSearch.h"

int main(int argc, char** argv) {
  int name = 1;
  if (argc > 1 && std::strcmp(argv[1], "--restrict") == 0) {
    runtime::RestrictDllSearch();
    name = 2;
  }
  if (name >= argc) return 2;
  return LoadLibraryA(argv[name]) ? 0 : 1;
}
