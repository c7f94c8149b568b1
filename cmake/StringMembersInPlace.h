// Included before every source of the shipped code by the GCC release build (see the top
// CMakeLists.txt), never by hand.
//
// libstdc++ declares std::string's members as instantiated in the library, so every program
// that uses any of them links the library's whole instantiation object: about 33 KB, most
// of which the programs never call. Without those declarations each source instantiates
// only the members it uses, and the link keeps one copy of each.
//
// The switch is the library's one switch for all its extern template declarations, so it
// also makes in place whatever the programs use of the others: std::allocator<char>, the
// wide string, the streams (ios, istream, ostream, streambuf, fstream, sstream, iomanip),
// the locale facets and std::complex. The programs use none of those but the allocator, so
// for them the same template code is compiled in place and nothing else changes; the link
// maps' guard (cmake/RunTimeGuard.cmake) fails when the streams or locales come into a
// program, since they would then be compiled into its objects as well.
#include <bits/c++config.h>
#undef _GLIBCXX_EXTERN_TEMPLATE
#define _GLIBCXX_EXTERN_TEMPLATE 0
