// std::terminate's handler for every program. libstdc++'s own handler prints the type of the escaping
// exception, which drags in its demangler and a whole printf (about 75 KB) for text no GUI program can show.
// Defining the handler here keeps the library's object out of the link; the user sees the same runtime
// error box that abort() gives.
#include <cstdlib>

namespace __gnu_cxx {

[[noreturn]] void __verbose_terminate_handler() { std::abort(); }

}  // namespace __gnu_cxx
