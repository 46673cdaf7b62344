// Linked straight into the programs that end users run (not through the library, so that
// it is there before the C++ library is searched). It takes the place of the C++ library's
// default terminate handler, which writes the name of the uncaught exception to stderr
// (these windowed programs have none) and for that carries a symbol demangler and the C
// library's printf, over 60 KB. An uncaught exception still ends the program the same way:
// abort().
#include <stdlib.h>

namespace __gnu_cxx {

void __verbose_terminate_handler() { abort(); }

}  // namespace __gnu_cxx
