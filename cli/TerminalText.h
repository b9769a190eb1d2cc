#pragma once

#include <string>
#include <string_view>

// Text from the file or the command line as it may go to a terminal, where a stored ESC byte
// could otherwise recolour or retitle it: C escapes for the usual controls (\a \b \t \n \v \f
// \r \e), \xHH for any other C0 control, DEL and every byte that is not part of valid UTF-8,
// \u0080 to \u009f for the C1 controls written as UTF-8, and \\ for a backslash so no shown text
// is ambiguous. Other UTF-8 text is shown as it is.
std::string TerminalText(std::string_view text);
