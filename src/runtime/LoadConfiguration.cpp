// The image's load configuration, which asks the loader to look for the DLLs that this program and the
// system DLLs it imports need in the system folder only. That covers what the loader resolves before the
// first instruction of ours runs, which the restriction at start (DllSearchAtStart.cpp) comes too late for.
//
// Our linker keeps the structure but writes no directory entry for it; the build's post-link step
// (tools/loadconfig) points the image's load-configuration directory here, found by this name in the
// linker map. Everything but the size and the flags stays zero: no security cookie, no lock prefixes, no
// heap settings.
#include <windows.h>
#include <cstddef>

// Windows names the word after CSDVersion DependentLoadFlags; our headers still call it Reserved1.
//
// The size covers the flags, the edit list and the security cookie but stops before the SafeSEH handler
// table. A 32-bit loader that sees the table fields takes a zero table as "this image allows no exception
// handler" and ends the process at the first exception it dispatches; left out, every handler stays
// allowed, as in an image without a load configuration. The 64-bit structure has the same fields, unused
// there; the same size keeps both alike. 64 bytes is also the 32-bit size the oldest loaders accept.
namespace {
constexpr IMAGE_LOAD_CONFIG_DIRECTORY SystemFolderOnly() {
  IMAGE_LOAD_CONFIG_DIRECTORY configuration{};
  configuration.Size = offsetof(IMAGE_LOAD_CONFIG_DIRECTORY, SEHandlerTable);
  configuration.Reserved1 = LOAD_LIBRARY_SEARCH_SYSTEM32;
  return configuration;
}
}  // namespace

extern "C" const IMAGE_LOAD_CONFIG_DIRECTORY _load_config_used = SystemFolderOnly();
