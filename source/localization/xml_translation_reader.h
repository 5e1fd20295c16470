#pragma once

#include "localization/parse_failure.h"
#include "localization/translation_sink.h"

#include <cstdint>
#include <optional>
#include <span>
#include <string>

namespace Brennovar::Zintara {

/// Reads a UTF-8 translation document through the XML parser. Tracks where it is (outside, in
/// the language table, in a language, in the string table, in a string, in one of a string's
/// translations) and passes languages and translations to the sink; elements it does not know
/// are ignored, elements in the wrong place stop the parse.
class XmlTranslationReader {
public:
    /// Valid documents are four elements deep; anything nested deeper than this stops the parse
    /// before the parser's own stack of open elements can grow with the input.
    static constexpr int kMaxDepth = 256;

    XmlTranslationReader(TranslationSink& sink, bool takeLanguages) noexcept;

    /// Empty on success; what the sink received before a failure stays received.
    std::optional<ParseFailure> read(std::span<const std::uint8_t> document) noexcept;

private:
    enum class State { kOutside, kLanguageTable, kLanguage, kStringTable, kString, kTranslation };

    static void onStart(void* self, const char* name, const char** attributes) noexcept;
    static void onEnd(void* self, const char* name) noexcept;
    static void onCharacters(void* self, const char* text, int length) noexcept;

    void start(std::string_view name, const char** attributes);
    void end(std::string_view name);
    void stop(const char* message) noexcept;

    TranslationSink& sink_;
    bool takeLanguages_;
    void* parser_ = nullptr;

    State state_ = State::kOutside;
    int depth_ = 0;
    std::string languageCode_;
    std::u16string key_;
    std::string translationLanguage_;
    std::string characters_;
    std::optional<ParseFailure> stopped_;
};

} // namespace Brennovar::Zintara
