#pragma once
// The fuzz targets' assertion: a broken promise ends the run as a crash, which
// libFuzzer records with the input that caused it.
#include <cstdlib>

namespace bootmark::fuzz {

inline void Check(bool condition) {
  if (!condition) std::abort();
}

}  // namespace bootmark::fuzz
