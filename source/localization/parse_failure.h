#pragma once

#include <cstddef>
#include <string>

namespace Brennovar::Zintara {

/// Why and where a translation document could not be read.
struct ParseFailure {
    /// The tokenizer's message or the XML parser's error text.
    std::string message;
    /// Byte offset of the error in the document (own tokenizer only).
    std::size_t position = 0;
    /// 1-based line of the error.
    int line = 0;
    /// The sink answered ResultFailed; `message` is empty then.
    bool refusedBySink = false;
    /// The report shows the document around `position` (own tokenizer).
    bool hasContext = false;
};

} // namespace Brennovar::Zintara
