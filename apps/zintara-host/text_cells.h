#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace Brennovar::RefHost {

/// A text as it may go to a terminal: control characters (a file's or module's texts may hold
/// any) are shown escaped ("\n", "\t", "\x1b"), so they cannot break a table or drive the
/// terminal.
std::string printable(std::string_view text);

/// A text of several lines, each made printable; the line breaks between them stay.
std::string printableLines(std::string_view text);

/// A cell of a text table: printable, cut to fit `width` with an ellipsis, and padded so that at
/// least one space separates it from the next column.
std::string cell(std::string_view text, std::size_t width);

} // namespace Brennovar::RefHost
