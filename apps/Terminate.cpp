// The last word of a program that lets an exception escape. GCC's own handler for that case
// names the exception's type and so drags the whole C++ name demangler into every static
// program: about 46 KB, a sixth of Ombrix.exe, for a line on a standard error stream that a
// Windows GUI program does not have. This one writes a plain line and ends the program as
// the original does; the unstripped programs kept beside a release tell the rest in a
// debugger. Defining it keeps the linker from pulling the original out of the static run
// time. It touches no other part of the run time, so a program without exceptions gains
// nothing from it.

#include <cstdio>
#include <cstdlib>

// Only GCC's run time has that handler (the headers above say whose run time this is).
#if defined(__GLIBCXX__)

namespace __gnu_cxx {

void __verbose_terminate_handler() {
  std::fputs("terminate called: the program cannot go on\n", stderr);
  std::abort();
}

}  // namespace __gnu_cxx

#endif
