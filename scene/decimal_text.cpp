#include "scene/decimal_text.h"

#include <algorithm>
#include <bit>
#include <charconv>
#include <clocale>
#include <cmath>

char DecimalSeparator() {
  const char* point = std::localeconv()->decimal_point;
  return (point && point[0] && !point[1]) ? point[0] : '.';
}

namespace {

// value in printf's "%.*f" or "%.*e" form, always with ".": to_chars ignores the locale.
std::string Formatted(double value, std::chars_format format, int precision) {
  char buffer[512];
  const auto [end, error] = std::to_chars(buffer, buffer + sizeof buffer, value, format, precision);
  return std::string(buffer, error == std::errc() ? end : buffer);
}

std::string_view TrimBlanks(std::string_view text) {
  while (!text.empty() && text.front() == ' ') text.remove_prefix(1);
  while (!text.empty() && text.back() == ' ') text.remove_suffix(1);
  return text;
}

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

}  // namespace

std::string FormatFixed(double value, int significantDigits, int decimals) {
  if (!std::isfinite(value)) return Formatted(value, std::chars_format::fixed, 0);
  const int digits = significantDigits < 1 ? 1 : significantDigits;
  // Round to the significant digits first (to_chars rounds the exact binary value correctly), then to
  // the decimals.
  const std::string significant = Formatted(value, std::chars_format::scientific, digits - 1);
  double rounded = 0;
  std::from_chars(significant.data(), significant.data() + significant.size(), rounded);
  if (std::fabs(rounded) >= std::pow(10.0, digits)) {
    std::string text = Formatted(rounded, std::chars_format::scientific, digits - 1);  // "1.00e+03"
    const size_t e = text.find('e');
    const char sign = text[e + 1];
    std::string exponent = text.substr(e + 2);
    while (exponent.size() > 1 && exponent.front() == '0') exponent.erase(0, 1);
    return text.substr(0, e) + "E" + sign + exponent;
  }
  std::string text = Formatted(rounded, std::chars_format::fixed, decimals);
  if (text.front() == '-' && text.find_first_not_of("-0.") == std::string::npos) text.erase(0, 1);
  return text;
}

std::string FormatFixedExact(float value, int significantDigits, int decimals) {
  const std::string rounded = FormatFixed(value, significantDigits, decimals);
  const std::optional<double> readBack = ParseReal(rounded);
  const auto bits = [](float x) { return std::bit_cast<uint32_t>(x); };
  if (!std::isfinite(value) || (readBack && bits(static_cast<float>(*readBack)) == bits(value))) return rounded;
  char buffer[64];
  char* end = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed).ptr;
  std::string text(buffer, static_cast<size_t>(end - buffer));
  const size_t point = text.find('.');
  const size_t integerDigits = (point == std::string::npos ? text.size() : point) - (text.front() == '-');
  if (static_cast<int>(integerDigits) > std::max(significantDigits, 1)) {
    end = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::scientific).ptr;
    text.assign(buffer, end);  // "1.2345e+04"
    const size_t e = text.find('e');
    std::string exponent = text.substr(e + 2);
    while (exponent.size() > 1 && exponent.front() == '0') exponent.erase(0, 1);
    return text.substr(0, e) + "E" + text[e + 1] + exponent;
  }
  const size_t shown = point == std::string::npos ? 0 : text.size() - point - 1;
  if (decimals > 0 && point == std::string::npos) text += '.';
  if (static_cast<int>(shown) < decimals) text.append(decimals - shown, '0');
  return text;
}

std::string FormatShortest(float value) {
  char buffer[64];
  const auto [end, error] = std::to_chars(buffer, buffer + sizeof buffer, value);
  return std::string(buffer, error == std::errc() ? end : buffer);
}

std::optional<double> ParseReal(std::string_view text) {
  text = TrimBlanks(text);
  const char separator = DecimalSeparator();
  std::string plain;  // the same number with "." as separator, for from_chars
  size_t i = 0;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
    if (text[i] == '-') plain += '-';
    ++i;
  }
  size_t mantissaDigits = 0;
  while (i < text.size() && IsDigit(text[i])) plain += text[i++], ++mantissaDigits;
  if (i < text.size() && (text[i] == '.' || text[i] == separator)) {
    plain += '.';
    ++i;
    while (i < text.size() && IsDigit(text[i])) plain += text[i++], ++mantissaDigits;
  }
  if (mantissaDigits == 0) return std::nullopt;
  if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
    plain += 'e';
    ++i;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) plain += text[i++];
    size_t exponentDigits = 0;
    while (i < text.size() && IsDigit(text[i])) plain += text[i++], ++exponentDigits;
    if (exponentDigits == 0) return std::nullopt;
  }
  if (i != text.size()) return std::nullopt;
  double value = 0;
  const auto [end, error] = std::from_chars(plain.data(), plain.data() + plain.size(), value);
  if (error == std::errc::result_out_of_range) {
    // Too small underflows to zero; too large is infinite, which no field can hold.
    const size_t e = plain.find('e');
    const bool hugeExponent = e != std::string::npos && plain[e + 1] != '-';
    if (hugeExponent) return plain.front() == '-' ? -HUGE_VAL : HUGE_VAL;
    return 0.0;
  }
  if (error != std::errc() || end != plain.data() + plain.size()) return std::nullopt;
  return value;
}

std::optional<int32_t> ParseInteger(std::string_view text) {
  text = TrimBlanks(text);
  if (!text.empty() && text.front() == '+') {
    text.remove_prefix(1);
    if (!text.empty() && text.front() == '-') return std::nullopt;
  }
  int32_t value = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (error != std::errc() || end != text.data() + text.size()) return std::nullopt;
  return value;
}
