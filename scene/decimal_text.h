#pragma once
// Numbers as text. Written with ".", whatever the locale, so that a file reads the same everywhere; read
// with "." and also with the decimal separator of the user's locale (LC_NUMERIC) where that differs, so
// that files written under a "," locale keep loading. The program calls setlocale(LC_NUMERIC, "") once.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

// The current locale's decimal separator, one character: what a reader takes besides ".".
char DecimalSeparator();

// Fixed-point text of value: rounded to at most significantDigits (0..15) significant digits and at most
// decimals (0..15) decimals, written with exactly `decimals` digits after the ".". A value whose
// integer part has more digits than significantDigits is written as mantissa "E" signed exponent with
// significantDigits digits ("1.00E+3" for 1000 with 3 digits). Examples with (4, 4):
// 2.928 -> "2.9280", 123.456 -> "123.5000", 0.00004 -> "0.0000"; with (3, 0): 157.4 -> "157".
std::string FormatFixed(double value, int significantDigits, int decimals);

// FormatFixed's text of value when it reads back as exactly value (as a 32-bit float); otherwise the
// fewest digits that do, in the same layout: fixed-point with at least `decimals` decimals ("0.00009"
// as "0.00009", 123.456 as "123.4560"), or mantissa "E" signed exponent where the integer part has more
// digits than significantDigits ("1.2345E+4").
std::string FormatFixedExact(float value, int significantDigits, int decimals);

// The shortest text that reads back as exactly value ("0.001", "1e-05", "300").
std::string FormatShortest(float value);

// A decimal real: optional sign, digits with an optional separator ("." or the locale's) and fraction,
// optional exponent ("e"/"E", optional sign, digits); blanks around it are allowed. nullopt otherwise.
std::optional<double> ParseReal(std::string_view text);

// A decimal integer in the signed 32-bit range: optional sign and digits, blanks around allowed.
std::optional<int32_t> ParseInteger(std::string_view text);
