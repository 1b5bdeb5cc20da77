#pragma once

#include <string>

// Pieces of the one-line messages that refuse a command line or a scene file.


// `text` in single quotes with control characters and backslashes escaped (\n, \t, \\, \xHH),
// so that a message quoting it stays on one line.
std::string quotedText(const std::string& text);
// The shortest text that reads back as `value`, independent of the locale: 0.05, 5, -20.
std::string shortNumber(double value);
