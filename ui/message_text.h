#pragma once
// The text of a message box: unprintable bytes escaped (PrintableMessage), CR line ends as line breaks,
// and lines longer than maxLineChars broken after the last blank or "/" that keeps them within it (a long
// path otherwise makes a box wider than the screen); a line without such a place is broken at maxLineChars.
#include <cstddef>
#include <string>

std::string MessageBoxText(const std::string& text, size_t maxLineChars = 90);

// The line that a message box leaves on standard error, for a run started from a terminal (and for the
// tests): "quarnel: TITLE: TEXT", line ends in the text turned into blanks, unprintable bytes escaped.
std::string MessageBoxLogLine(const std::string& title, const std::string& text);
