#pragma once

#include "localization/parse_failure.h"
#include "localization/translation_sink.h"

#include <cstdint>
#include <optional>
#include <span>
#include <string>

namespace Brennovar::Zintara {

/// Reads a translation document of either kind: UTF-8 documents through the XML parser, all
/// others through the table's own tokenizer.
class TranslationDocumentReader {
public:
    /// True when the document starts with the UTF-8 byte-order mark or its first 127 bytes hold
    /// the declaration encoding="utf-8" (letters in any case).
    static bool isUtf8(std::span<const std::uint8_t> document) noexcept;

    /// Feeds the document to the sink; languages go to it only when `takeLanguages` is set.
    /// Empty on success. An empty document fails.
    static std::optional<ParseFailure> read(std::span<const std::uint8_t> document,
                                            TranslationSink& sink, bool takeLanguages) noexcept;

    /// The report of a failure. For the tokenizer: the message, a blank line, the document up
    /// to the error (back over at least two line breaks and 30 bytes where there are, at most
    /// 300 bytes), the marker "  <====== HERE ======  " and up to 200 bytes from the error on.
    /// For the XML parser: its error text.
    static std::string report(std::span<const std::uint8_t> document, const ParseFailure& failure);
};

} // namespace Brennovar::Zintara
