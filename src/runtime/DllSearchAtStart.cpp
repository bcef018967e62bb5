// Every program restricts its DLL search before anything of ours or of the libraries can load one.
#include "runtime/DllSearch.h"

namespace {

// Runs before any other constructor (101 is the first priority left to programs), right after the C runtime
// has set itself up, which loads nothing by name.
[[gnu::constructor(101)]] void RestrictDllSearchAtStart() { runtime::RestrictDllSearch(); }

}  // namespace
