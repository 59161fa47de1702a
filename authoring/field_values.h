#pragma once
// What the text of an input field holds, for the tweak window and the timeline alike: the value the
// field takes, or the message that says why not ("'abc' is not a valid number"). Leading and trailing
// blanks do not count; reals use the locale's decimal separator.
#include <cstdint>
#include <optional>
#include <string>

struct FieldValue {
  std::optional<double> value;  // empty when the text is no value the field takes
  std::string fault;            // why not, the text in quotes first; empty with a value
};

// The text in single quotes, as a field's message shows it.
std::string QuotedFieldText(const std::string& text);

// A real number that fits a 32-bit float.
FieldValue RealField(const std::string& text);

// A whole number in minimum..maximum, written any way a real number is ("5", "5.0", "5e3").
FieldValue WholeField(const std::string& text, int64_t minimum, int64_t maximum);

// A whole number written as one ("5", "+5"), 0..2147483647.
FieldValue CountField(const std::string& text);
