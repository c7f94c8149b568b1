// How the standard library reports a misuse (a position past the end of a string, a length
// beyond the largest) in the two programs. Its own reporting functions throw its own error
// classes, whose texts live in a second, older string implementation: about 50 KB in every
// static program, a tenth of Ombrix.exe, for errors that only a fault of the program raises.
// These throw the system's own classes instead; defining them keeps the linker from pulling
// the originals out of the static run time. A length beyond the largest is a request for
// memory that cannot be had, so it is reported as running out of memory. The tests link the
// library's originals, so these are exercised only by the programs themselves.

#include <new>

#include "platform/Exception.h"

#if defined(__GLIBCXX__)

namespace std {

void __throw_bad_alloc() { throw std::bad_alloc(); }

void __throw_bad_array_new_length() { throw std::bad_array_new_length(); }

void __throw_length_error(const char*) { throw std::bad_alloc(); }

void __throw_logic_error(const char* text) { throw ombrix::EProgramError(text); }

// The text is the library's format, its numbers left out.
void __throw_out_of_range_fmt(const char* format, ...) { throw ombrix::EProgramError(format); }

}  // namespace std

#endif
