// Included before every source of the shipped code by the GCC release build (see the top
// CMakeLists.txt), never by hand.
//
// libstdc++ declares std::string's members as instantiated in the library, so every program
// that uses any of them links the library's whole instantiation object: about 33 KB, most
// of which the programs never call. Without those declarations each source instantiates
// only the members it uses, and the link keeps one copy of each. The same template code,
// compiled in place; nothing else changes.
#include <bits/c++config.h>
#undef _GLIBCXX_EXTERN_TEMPLATE
#define _GLIBCXX_EXTERN_TEMPLATE 0
