#pragma once

#include "localization/parse_failure.h"
#include "localization/translation_sink.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace Brennovar::Zintara {

/// Reads a translation document that is not UTF-8: bytes in the Windows ANSI code page, with
/// the table's own small XML dialect (backslash escapes, at most 8 attributes, one buffer of
/// 32768 bytes per element for its names and values). In "jp" texts, which are in code page 932,
/// a two-byte character is read whole, so its trail byte never starts an escape. Never reads
/// outside the document.
class TranslationTokenizer {
public:
    /// Shared by the names and values of one element, and by one comment or processing
    /// instruction; every stored text counts its terminator.
    static constexpr std::size_t kBufferSize = 32768;
    static constexpr std::size_t kMaxAttributes = 8;

    TranslationTokenizer(std::span<const std::uint8_t> document, TranslationSink& sink,
                         bool takeLanguages) noexcept;

    /// Reads the whole document into the sink. Empty on success; what the sink received before
    /// a failure stays received.
    std::optional<ParseFailure> run() noexcept;

private:
    enum class Context { kTop, kLanguageTable, kLanguage, kStringTable, kString, kTranslation };

    struct Attribute {
        std::string name;
        std::string value;
    };
    struct OpenElement {
        std::string name;
        Context outer;
    };
    // Thrown inside the tokenizer only, caught by run(). A null message: the sink refused.
    struct Stop {
        const char* message;
        std::size_t position;
    };

    int peek(std::size_t ahead = 0) const noexcept;
    bool lookingAt(std::string_view text) const noexcept;
    void advance() noexcept;
    void skipWhitespace() noexcept;
    [[noreturn]] void fail(const char* message, std::size_t position) const;
    [[noreturn]] void fail(const char* message) const { fail(message, pos_); }

    void readMarkup();
    void readText();
    void skipUntil(std::string_view terminator, const char* tooLong, const char* notClosed);
    bool readName(std::string& out, std::size_t& budget);
    void readStartTag();
    void readEndTag();
    void readAttributeValue(std::string& out, std::size_t& budget);
    void appendEscaped(std::string& out);
    void appendDoubleByteCharacter(std::string& out);

    void startElement(const std::string& name, const std::vector<Attribute>& attributes,
                      std::size_t position);
    void endElement();

    std::span<const std::uint8_t> document_;
    TranslationSink& sink_;
    bool takeLanguages_;

    std::size_t pos_ = 0;
    int line_ = 1;
    // The line break that may pair with the next one (LF after CR or CR after LF).
    int pairableBreak_ = 0;

    Context context_ = Context::kTop;
    std::vector<OpenElement> open_;
    std::string languageCode_;
    std::string languageName_;
    std::u16string key_;
    std::string translationLanguage_;
    std::string translation_;
};

} // namespace Brennovar::Zintara
