#pragma once
// Text from data files as messages show it: bytes that would act on a terminal (an escape sequence),
// show as garbage or cut a message short (a NUL) are written as escapes: \0, \t, \n, \r and \xNN for
// the other control bytes and for bytes that are not UTF-8. Letters in UTF-8 stay as they are.
#include <cstddef>
#include <string>
#include <string_view>

// text with every such byte escaped, cut after maxChars characters (then ending in "...").
std::string QuotedText(std::string_view text, size_t maxChars);

// A whole message made safe to print or show: as QuotedText but not cut, and with its own line breaks
// (CR, LF) kept. Escapes already in the text stay as they are.
std::string PrintableMessage(std::string_view text);
