#include "runtime/DllSearch.h"
#include <windows.h>

namespace runtime {

bool RestrictDllSearch() {
  SetDllDirectoryA("");  // takes the current folder out of the search everywhere
  // Windows 8 and Windows 7 with its loader update have SetDefaultDllDirectories; ask kernel32 for it
  // rather than import it, so that the program still starts on a Windows 7 without it.
  using SetDefaultDllDirectoriesFunction = BOOL(WINAPI*)(DWORD);
  HMODULE kernel = GetModuleHandleA("kernel32.dll");
  auto setDefault = reinterpret_cast<SetDefaultDllDirectoriesFunction>(
      reinterpret_cast<void (*)()>(GetProcAddress(kernel, "SetDefaultDllDirectories")));
  return setDefault && setDefault(LOAD_LIBRARY_SEARCH_SYSTEM32);
}

}  // namespace runtime
