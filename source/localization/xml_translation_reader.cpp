#include "localization/xml_translation_reader.h"

#include "platform/code_page.h"

#include <climits>
#include <cstring>
#include <expat.h>
#include <memory>
#include <new>

namespace Brennovar::Zintara {

namespace {

constexpr const char* kTagNotSupported = "This tag is not supported in that context!";
constexpr const char* kLanguageNeedsKey = "The language tag requires a single key/value pair!";
constexpr const char* kTranslationNotFinished = "You haven't finished the previous translation!";
constexpr const char* kTooDeep = "Elements nested too deeply (more than 256 levels)";
static_assert(XmlTranslationReader::kMaxDepth == 256, "the message names the limit");

struct ParserDeleter {
    void operator()(XML_Parser parser) const noexcept { XML_ParserFree(parser); }
};

const char* attributeValue(const char** attributes, const char* name) {
    for (const char** a = attributes; a && a[0] && a[1]; a += 2)
        if (std::strcmp(a[0], name) == 0)
            return a[1];
    return nullptr;
}

// Decodes strictly (an invalid sequence gives an empty text) and applies the escapes of keys
// and translations: backslash-n is a line feed, backslash-t a tab; other backslashes stay.
std::u16string decodedWithEscapes(std::string_view utf8) {
    std::u16string text;
    if (!Platform::multiByteToWide(Platform::kCodePageUtf8, utf8, text))
        return {};
    std::u16string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == u'\\' && i + 1 < text.size() &&
            (text[i + 1] == u'n' || text[i + 1] == u't')) {
            out.push_back(text[i + 1] == u'n' ? u'\n' : u'\t');
            ++i;
        } else {
            out.push_back(text[i]);
        }
    }
    return out;
}

std::u16string decoded(std::string_view utf8) {
    std::u16string text;
    if (!Platform::multiByteToWide(Platform::kCodePageUtf8, utf8, text))
        text.clear();
    return text;
}

} // namespace

XmlTranslationReader::XmlTranslationReader(TranslationSink& sink, bool takeLanguages) noexcept
    : sink_(sink), takeLanguages_(takeLanguages) {}

std::optional<ParseFailure>
XmlTranslationReader::read(std::span<const std::uint8_t> document) noexcept {
    ParseFailure failure;
    std::unique_ptr<XML_ParserStruct, ParserDeleter> parser(XML_ParserCreate("UTF-8"));
    if (!parser || document.size() > static_cast<std::size_t>(INT_MAX)) {
        failure.message = parser ? "Document too large" : "Out of memory";
        return failure;
    }
    parser_ = parser.get();
    XML_SetUserData(parser.get(), this);
    XML_SetElementHandler(parser.get(), &onStart, &onEnd);
    XML_SetCharacterDataHandler(parser.get(), &onCharacters);
    XML_Status status = XML_Parse(parser.get(), reinterpret_cast<const char*>(document.data()),
                                  static_cast<int>(document.size()), XML_TRUE);
    if (stopped_) {
        stopped_->line = static_cast<int>(XML_GetCurrentLineNumber(parser.get()));
        return stopped_;
    }
    if (status == XML_STATUS_OK)
        return std::nullopt;
    failure.message = XML_ErrorString(XML_GetErrorCode(parser.get()));
    failure.line = static_cast<int>(XML_GetCurrentLineNumber(parser.get()));
    return failure;
}

void XmlTranslationReader::onStart(void* self, const char* name, const char** attributes) noexcept {
    auto* reader = static_cast<XmlTranslationReader*>(self);
    // The parser may still deliver an event or two after a stop; they are not wanted.
    if (reader->stopped_)
        return;
    try {
        reader->start(name, attributes);
    } catch (const std::bad_alloc&) {
        reader->stop("Out of memory");
    }
}

void XmlTranslationReader::onEnd(void* self, const char* name) noexcept {
    auto* reader = static_cast<XmlTranslationReader*>(self);
    if (reader->stopped_)
        return;
    try {
        reader->end(name);
    } catch (const std::bad_alloc&) {
        reader->stop("Out of memory");
    }
}

void XmlTranslationReader::onCharacters(void* self, const char* text, int length) noexcept {
    auto* reader = static_cast<XmlTranslationReader*>(self);
    if (reader->stopped_ ||
        (reader->state_ != State::kLanguage && reader->state_ != State::kTranslation))
        return;
    try {
        reader->characters_.append(text, static_cast<std::size_t>(length));
    } catch (const std::bad_alloc&) {
        reader->stop("Out of memory");
    }
}

void XmlTranslationReader::stop(const char* message) noexcept {
    if (stopped_)
        return;
    stopped_.emplace();
    if (message)
        stopped_->message = message;
    stopped_->refusedBySink = message == nullptr;
    XML_StopParser(static_cast<XML_Parser>(parser_), XML_FALSE);
}

void XmlTranslationReader::start(std::string_view name, const char** attributes) {
    if (++depth_ > kMaxDepth)
        return stop(kTooDeep);
    switch (state_) {
    case State::kLanguage:
        return stop(kTagNotSupported);
    case State::kTranslation:
        return stop(kTranslationNotFinished);
    case State::kString:
        // Each child of a string is one translation, named by its language code.
        translationLanguage_ = name;
        characters_.clear();
        state_ = State::kTranslation;
        return;
    default:
        break;
    }
    if (name == "LanguageTable") {
        state_ = State::kLanguageTable;
    } else if (name == "StringTable") {
        state_ = State::kStringTable;
    } else if (name == "language") {
        if (state_ != State::kLanguageTable)
            return stop(kTagNotSupported);
        const char* code = attributeValue(attributes, "key");
        if (!code)
            return stop(kLanguageNeedsKey);
        languageCode_ = code;
        characters_.clear();
        state_ = State::kLanguage;
    } else if (name == "String") {
        if (state_ != State::kStringTable)
            return stop(kTagNotSupported);
        // A string without a key gets an empty one, so that none of its translations is added.
        const char* key = attributeValue(attributes, "Key");
        key_ = key ? decodedWithEscapes(key) : std::u16string();
        state_ = State::kString;
    }
}

void XmlTranslationReader::end(std::string_view name) {
    --depth_;
    switch (state_) {
    case State::kLanguage:
        if (takeLanguages_ && !languageCode_.empty()) {
            std::u16string languageName = decoded(characters_);
            if (!languageName.empty())
                sink_.addLanguage(languageCode_, languageName);
        }
        state_ = State::kLanguageTable;
        return;
    case State::kTranslation: {
        std::u16string text = decodedWithEscapes(characters_);
        characters_.clear();
        state_ = State::kString;
        if (!key_.empty() && !text.empty() &&
            sink_.addString(key_, translationLanguage_, text) == ResultFailed)
            stop(nullptr);
        return;
    }
    case State::kString:
        if (name == "String")
            state_ = State::kStringTable;
        return;
    default:
        break;
    }
    if (name == "StringTable" || name == "LanguageTable")
        state_ = State::kOutside;
}

} // namespace Brennovar::Zintara
