# Run by ctest for each program of the Windows build: fails when the program's link map is
# missing, was not written by the toolchain the size savings are made for, or shows one of
# the pieces of the static run time the programs keep out.
#   cmake -DMAP=<map> -DSHIPPED=<ON|OFF> -DRUNTIME=<the expected libstdc++.a>
#         [-DLIBRARY_PIECE=<object> -DBROUGHT_BY=<what brings it>] -P RunTimeGuard.cmake
# LIBRARY_PIECE, when given, names the one object of the C++ library (RUNTIME, without ".o")
# to look for instead of the usual pieces, as a member of that very archive; BROUGHT_BY says in
# the failure what brings it.
if(NOT SHIPPED)
  message(FATAL_ERROR "The size savings are off: only the GCC release build for Windows makes them.")
endif()
if(NOT EXISTS "${MAP}")
  message(FATAL_ERROR "${MAP} is missing: the program was not linked with its map.")
endif()
file(READ "${MAP}" map)
string(FIND "${map}" "${RUNTIME}(" at)
if(at EQUAL -1)
  message(FATAL_ERROR "${MAP} does not show ${RUNTIME}: another toolchain linked the program.")
endif()
if(DEFINED LIBRARY_PIECE)
  string(FIND "${map}" "${RUNTIME}(${LIBRARY_PIECE}.o)" at)
  if(NOT at EQUAL -1)
    message(FATAL_ERROR "${MAP} shows the C++ library's ${LIBRARY_PIECE}.o, which ${BROUGHT_BY}.")
  endif()
  return()
endif()
# The demangler (brought by GCC's terminate handler), the older strings of the standard
# error classes and the library's own reporting functions, the library's string
# instantiation, the streams and locales, printf's formatting.
foreach(piece cp-demangle cow-string-inst cow-stdexcept functexcept string-inst ios_init locale_init mingw_pformat)
  string(FIND "${map}" "${piece}.o)" at)
  if(NOT at EQUAL -1)
    message(FATAL_ERROR "${MAP} shows ${piece}.o: a change brought it back into the program.")
  endif()
endforeach()
