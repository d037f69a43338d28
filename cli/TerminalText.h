#pragma once

// Names reach the terminal as text, never as commands: a file name may hold an escape sequence
// (a window title, a screen clear) or a line break, and stderr may be a terminal even in a pipe.

#include <string>

namespace pictavo::cli {

// text with every control character shown escaped: \n \r \t, other C0 bytes and DEL as \xNN,
// C1 controls as \uNNNN, bytes that are no UTF-8 as \xNN. keepLayout leaves "\n" and "\t" alone,
// for messages whose lines and indents are the program's own.
std::string EscapeControls(const std::string& text, bool keepLayout);

}  // namespace pictavo::cli
