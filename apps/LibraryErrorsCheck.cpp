// Linked like the two programs (the same flags, the same replacements of the run time's
// pieces), this asks the standard library for each kind of misuse it reports and checks
// that the programs' own error classes arrive. It fails to link when a replacement clashes
// with the library's originals, and fails to run when the originals are used after all.

#include <bitset>
#include <cstdio>
#include <functional>
#include <new>
#include <string>
#include <vector>

#include "base/Exception.h"

namespace {

int failures = 0;

// `misuse` must raise E.
template <class E, class Misuse>
void Expect(const char* what, Misuse misuse) {
  try {
    misuse();
    std::printf("%s: nothing was raised\n", what);
  } catch (const E&) {
    std::printf("%s: raised as expected\n", what);
    return;
  } catch (const std::exception& other) {
    std::printf("%s: raised something else: %s\n", what, other.what());
  }
  ++failures;
}

}  // namespace

int main(int argc, char**) {
  // The argument count keeps the optimiser from deciding the outcomes while compiling.
  const std::string digits = argc > 5 ? "12" : "x";
  const std::size_t past = 4 + static_cast<std::size_t>(argc);
  Expect<ombrix::EProgramError>("stoi of no number", [&] { return std::stoi(digits); });
  Expect<ombrix::EProgramError>("stoi beyond 32 bits", [&] { return std::stoi("99999999999" + digits.substr(1)); });
  Expect<ombrix::EProgramError>("string::at past the end", [&] { return std::string("abc").at(past); });
  Expect<ombrix::EProgramError>("substr past the end", [&] { return std::string("abc").substr(past); });
  Expect<ombrix::EProgramError>("vector::at past the end", [&] { return std::vector<int>(2).at(past); });
  Expect<ombrix::EProgramError>("bitset of no bits", [&] { return std::bitset<4>(digits).count(); });
  Expect<ombrix::EProgramError>("bitset beyond 32 bits",
                                [&] { return std::bitset<64>(~0ull >> (argc - 1)).to_ulong(); });
  Expect<std::bad_alloc>("vector::reserve beyond the largest", [&] {
    std::vector<int> v;
    v.reserve(v.max_size() + past);
  });
  Expect<std::bad_alloc>("string::reserve beyond the largest", [&] {
    std::string s;
    s.reserve(s.max_size() + past);
  });
  Expect<std::bad_function_call>("empty function", [&] {
    std::function<void()> nothing;
    if (argc > 0) nothing();
  });
  std::printf("%d failed\n", failures);
  return failures == 0 ? 0 : 1;
}
