#include "localization/translation_document_reader.h"

#include "localization/translation_tokenizer.h"
#include "localization/xml_translation_reader.h"

#include <algorithm>
#include <string_view>

namespace Brennovar::Zintara {

namespace {

constexpr std::size_t kDeclarationWindow = 127;
constexpr std::size_t kMinimumContextBefore = 30;
constexpr std::size_t kMaximumContextBefore = 300;
constexpr std::size_t kContextAfter = 200;
constexpr int kContextLineBreaks = 2;

char lowered(std::uint8_t c) {
    return static_cast<char>(c >= 'A' && c <= 'Z' ? c + 32 : c);
}

bool containsIgnoringCase(std::span<const std::uint8_t> bytes, std::string_view lowerText) {
    if (bytes.size() < lowerText.size())
        return false;
    for (std::size_t start = 0; start + lowerText.size() <= bytes.size(); ++start) {
        std::size_t i = 0;
        while (i < lowerText.size() && lowered(bytes[start + i]) == lowerText[i])
            ++i;
        if (i == lowerText.size())
            return true;
    }
    return false;
}

// Where the context before the error starts: at the start of a line, with at least two line
// breaks and 30 bytes between it and the error, but never more than 300 bytes before it.
std::size_t contextStart(std::span<const std::uint8_t> document, std::size_t position) {
    std::size_t limit = position > kMaximumContextBefore ? position - kMaximumContextBefore : 0;
    int breaks = 0;
    for (std::size_t i = position; i > limit; --i) {
        if (document[i - 1] != '\n')
            continue;
        if (breaks >= kContextLineBreaks && position - i >= kMinimumContextBefore)
            return i;
        ++breaks;
    }
    return limit;
}

} // namespace

bool TranslationDocumentReader::isUtf8(std::span<const std::uint8_t> document) noexcept {
    if (document.size() >= 3 && document[0] == 0xEF && document[1] == 0xBB && document[2] == 0xBF)
        return true;
    return containsIgnoringCase(document.first(std::min(document.size(), kDeclarationWindow)),
                                "encoding=\"utf-8\"");
}

std::optional<ParseFailure> TranslationDocumentReader::read(std::span<const std::uint8_t> document,
                                                            TranslationSink& sink,
                                                            bool takeLanguages) noexcept {
    if (document.empty()) {
        ParseFailure failure;
        failure.message = "The document is empty";
        return failure;
    }
    if (isUtf8(document))
        return XmlTranslationReader(sink, takeLanguages).read(document);
    return TranslationTokenizer(document, sink, takeLanguages).run();
}

std::string TranslationDocumentReader::report(std::span<const std::uint8_t> document,
                                              const ParseFailure& failure) {
    if (!failure.hasContext)
        return failure.message;
    std::size_t position = std::min(failure.position, document.size());
    auto text = [&](std::size_t from, std::size_t to) {
        return std::string(reinterpret_cast<const char*>(document.data()) + from, to - from);
    };
    std::string report = failure.message;
    report += "\n\n";
    report += text(contextStart(document, position), position);
    report += "  <====== HERE ======  ";
    report += text(position, std::min(document.size(), position + kContextAfter));
    return report;
}

} // namespace Brennovar::Zintara
