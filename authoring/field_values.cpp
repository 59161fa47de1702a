#include "authoring/field_values.h"

#include <cfloat>
#include <cmath>

#include "authoring/authoring_messages.h"
#include "scene/decimal_text.h"

std::string QuotedFieldText(const std::string& text) { return "'" + text + "'"; }

FieldValue RealField(const std::string& text) {
  const std::optional<double> value = ParseReal(text);
  if (!value) return {std::nullopt, QuotedFieldText(text) + kMsgFieldNotANumber};
  if (std::fabs(*value) > FLT_MAX) return {std::nullopt, QuotedFieldText(text) + kMsgFieldTooLargeForFloat};
  return {value, ""};
}

FieldValue WholeField(const std::string& text, int64_t minimum, int64_t maximum) {
  const std::optional<double> value = ParseReal(text);
  if (!value) return {std::nullopt, QuotedFieldText(text) + kMsgFieldNotANumber};
  if (*value != std::floor(*value)) return {std::nullopt, QuotedFieldText(text) + kMsgFieldNotAWholeNumber};
  if (*value < double(minimum) || *value > double(maximum))
    return {std::nullopt,
            QuotedFieldText(text) + kMsgFieldOutOfRange + std::to_string(minimum) + ".." + std::to_string(maximum)};
  return {value, ""};
}

FieldValue CountField(const std::string& text) {
  const std::optional<int32_t> value = ParseInteger(text);
  if (!value) return {std::nullopt, QuotedFieldText(text) + kMsgFieldNotAWholeNumber};
  if (*value < 0) return {std::nullopt, QuotedFieldText(text) + kMsgFieldNegative};
  return {double(*value), ""};
}
