// How the standard library reports a misuse (a position past the end of a string, a length
// beyond the largest, a number that does not parse) in the two programs. Its own reporting
// functions throw its own error classes, whose texts live in a second, older string
// implementation: about 50 KB in every static program, a tenth of Ombrix.exe, for errors
// that only a fault of the program raises. These throw the system's own classes instead.
//
// Every function of the library's object that holds the originals (functexcept.o) is
// defined here, so the linker never needs that object: defining only some would make a
// program that calls one of the others (std::stoi, say) fail to link with a duplicate
// definition. A length beyond the largest is a request for memory that cannot be had, so it
// is reported as running out of memory. The tests link the library's originals; what the
// programs get is checked by the shipped build's own test program (LibraryErrorsCheck.cpp),
// and the link maps' guard fails when functexcept.o comes back.

#include <new>

#include "base/Exception.h"

#if defined(__GLIBCXX__)

namespace {

// One throw for the nine reports that carry a text.
[[noreturn]] void RaiseProgramError(const char* text) { throw ombrix::EProgramError(text); }

}  // namespace

namespace std {

void __throw_bad_alloc() { throw std::bad_alloc(); }

void __throw_bad_array_new_length() { throw std::bad_array_new_length(); }

void __throw_length_error(const char*) { throw std::bad_alloc(); }

// Casts and type queries of the kind that fail need run-time type information, which the
// programs are built without; the library's own classes for them would only add weight.
void __throw_bad_exception() { RaiseProgramError("bad exception"); }

void __throw_bad_cast() { RaiseProgramError("bad cast"); }

void __throw_bad_typeid() { RaiseProgramError("bad typeid"); }

// The library's logic errors and runtime errors alike: the programs check what they are
// given before handing it on, so any of these is a fault of the program.
void __throw_logic_error(const char* text) { RaiseProgramError(text); }

void __throw_domain_error(const char* text) { RaiseProgramError(text); }

void __throw_invalid_argument(const char* text) { RaiseProgramError(text); }

void __throw_out_of_range(const char* text) { RaiseProgramError(text); }

// The text is the library's format, its numbers left out.
void __throw_out_of_range_fmt(const char* format, ...) { RaiseProgramError(format); }

void __throw_runtime_error(const char* text) { RaiseProgramError(text); }

void __throw_range_error(const char* text) { RaiseProgramError(text); }

void __throw_overflow_error(const char* text) { RaiseProgramError(text); }

void __throw_underflow_error(const char* text) { RaiseProgramError(text); }

}  // namespace std

#endif
