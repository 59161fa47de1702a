#pragma once
// The two errors a data file or a parameter value can raise. Their texts say where the fault is
// ("data/scene3.txt:17: '2,9280' is not a valid number"), so an author can find and mend it.
#include <stdexcept>
#include <string>

// A text that is not a number where a number belongs.
struct ConversionError : std::runtime_error {
  using std::runtime_error::runtime_error;
};

// A number outside the range of the field that takes it.
struct RangeError : std::runtime_error {
  using std::runtime_error::runtime_error;
};
