// The program never throws on purpose; if the C++ run-time library ever has to end the
// process, a plain abort will do. Defining the handler here keeps the library's own,
// which prints demangled type names to a console this program does not have, and the
// demangler with it, out of the executable.
#include <cstdlib>

namespace __gnu_cxx {
void __verbose_terminate_handler() { std::abort(); }
}  // namespace __gnu_cxx
