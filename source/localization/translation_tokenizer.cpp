#include "localization/translation_tokenizer.h"

#include "platform/code_page.h"

#include <new>

namespace Brennovar::Zintara {

namespace {

constexpr const char* kNameNotLegal = "Name is not legal";
constexpr const char* kNameTooLong = "Name too int32";
constexpr const char* kValueInvalid = "Attribute value invalid (or too int32)";
constexpr const char* kFieldNotValid = "Attribute field not valid";
constexpr const char* kTooManyAttributes = "Too many attribute/value pairs";
constexpr const char* kInstructionTooLong = "Too int32 processing instruction";
constexpr const char* kInstructionNotClosed = "Non closed processing instruction ( '<? ... ?>')";
constexpr const char* kUnexpectedEndTag = "Non expected end tag";
constexpr const char* kCommentTooLong = "Too int32 comment";
constexpr const char* kCommentNotClosed = "Non closed comment";
constexpr const char* kUnsupportedBang = "Non supported '<!' tag";
constexpr const char* kTagNotSupported = "This tag is not supported in that context!";
constexpr const char* kNoAttributesAllowed =
    "This tag doesn't support attributes (or unknown tag)!";
constexpr const char* kLanguageNeedsKey = "The language tag requires a single key/value pair!";
constexpr const char* kLanguageAttributeName = "This tag doesnt support this attribute name!";
constexpr const char* kKeyAlreadySet = "The string key is already set!";
constexpr const char* kStringNeedsKey =
    "The string tag requires a single 'key' attribute with value!";
constexpr const char* kStringAttributeName = "The string tag doesn't support this attribute name!";
constexpr const char* kKeyFirst = "You must set the string key first!";
constexpr const char* kNoAttributesInContext =
    "Attribute/value pairs are not supported in that context!";
constexpr const char* kTranslationNotFinished = "You haven't finished the previous translation!";
constexpr const char* kLanguageCodeNotSet =
    "The language code is not set! Can't read a language name yet!";
constexpr const char* kNoTextHere = "The context is not valid for raw text yet!";
constexpr const char* kKeyNotSet = "The key is not set!";
constexpr const char* kLanguageNotSet = "The language is not set!";
// Not one of the historic messages: a document that ends inside an element is truncated.
constexpr const char* kElementNotClosed = "Non closed tag at the end of the document";

bool isWhitespace(int c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\r';
}

bool isAsciiLetterOrDigit(int c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9');
}

bool isNameStart(int c) {
    return isAsciiLetterOrDigit(c) || c >= 128 || c == '_' || c == ':';
}

bool isNameChar(int c) {
    return isAsciiLetterOrDigit(c) || c >= 128 || c == '-' || c == '.' || c == ':' || c == '_';
}

bool equalsIgnoringCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c; };
        if (lower(a[i]) != lower(b[i]))
            return false;
    }
    return true;
}

// Japanese texts are stored in the Japanese code page, all others in Western.
bool isJapanese(std::string_view language) {
    return equalsIgnoringCase(language, "jp");
}

// Code page 932 writes most Japanese characters as a lead byte and a trail byte; the trail byte
// may be 0x5C, the backslash.
bool isLeadByte932(int c) {
    return (c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC);
}

bool isTrailByte932(int c) {
    return (c >= 0x40 && c <= 0x7E) || (c >= 0x80 && c <= 0xFC);
}

// A text that cannot be converted becomes empty and is then not added.
std::u16string converted(std::uint32_t codePage, std::string_view text) {
    std::u16string out;
    if (!Platform::multiByteToWide(codePage, text, out))
        out.clear();
    return out;
}

} // namespace

TranslationTokenizer::TranslationTokenizer(std::span<const std::uint8_t> document,
                                           TranslationSink& sink, bool takeLanguages) noexcept
    : document_(document), sink_(sink), takeLanguages_(takeLanguages) {}

std::optional<ParseFailure> TranslationTokenizer::run() noexcept {
    try {
        while (peek() >= 0) {
            if (peek() == '<')
                readMarkup();
            else
                readText();
        }
        if (!open_.empty())
            fail(kElementNotClosed);
        return std::nullopt;
    } catch (const Stop& stop) {
        ParseFailure failure;
        if (stop.message)
            failure.message = stop.message;
        failure.refusedBySink = stop.message == nullptr;
        failure.position = stop.position;
        failure.line = line_;
        failure.hasContext = true;
        return failure;
    } catch (const std::bad_alloc&) {
        ParseFailure failure;
        failure.message = "Out of memory";
        failure.position = pos_;
        failure.line = line_;
        return failure;
    }
}

int TranslationTokenizer::peek(std::size_t ahead) const noexcept {
    if (ahead >= document_.size() - pos_)
        return -1;
    return document_[pos_ + ahead];
}

bool TranslationTokenizer::lookingAt(std::string_view text) const noexcept {
    for (std::size_t i = 0; i < text.size(); ++i)
        if (peek(i) != static_cast<unsigned char>(text[i]))
            return false;
    return true;
}

void TranslationTokenizer::advance() noexcept {
    int c = peek();
    if (c < 0)
        return;
    ++pos_;
    if (c == '\n' || c == '\r') {
        if (pairableBreak_ && pairableBreak_ != c) {
            pairableBreak_ = 0;
        } else {
            ++line_;
            pairableBreak_ = c;
        }
    } else {
        pairableBreak_ = 0;
    }
}

void TranslationTokenizer::skipWhitespace() noexcept {
    while (isWhitespace(peek()))
        advance();
}

void TranslationTokenizer::fail(const char* message, std::size_t position) const {
    throw Stop{message, position};
}

void TranslationTokenizer::readMarkup() {
    if (lookingAt("<!--")) {
        for (int i = 0; i < 4; ++i)
            advance();
        skipUntil("-->", kCommentTooLong, kCommentNotClosed);
    } else if (lookingAt("<!")) {
        fail(kUnsupportedBang);
    } else if (lookingAt("<?")) {
        advance();
        advance();
        skipUntil("?>", kInstructionTooLong, kInstructionNotClosed);
    } else if (lookingAt("</")) {
        readEndTag();
    } else {
        readStartTag();
    }
}

void TranslationTokenizer::skipUntil(std::string_view terminator, const char* tooLong,
                                     const char* notClosed) {
    std::size_t length = 0;
    while (!lookingAt(terminator)) {
        if (peek() < 0)
            fail(notClosed);
        if (length + 1 >= kBufferSize)
            fail(tooLong);
        ++length;
        advance();
    }
    for (std::size_t i = 0; i < terminator.size(); ++i)
        advance();
}

bool TranslationTokenizer::readName(std::string& out, std::size_t& budget) {
    if (!isNameStart(peek()))
        return false;
    out.clear();
    while (isNameChar(peek())) {
        if (out.size() + 1 >= budget)
            fail(kNameTooLong);
        out.push_back(static_cast<char>(peek()));
        advance();
    }
    budget -= out.size() + 1;
    return true;
}

void TranslationTokenizer::appendEscaped(std::string& out) {
    // At a backslash: the escapes of values and texts; any other backslash stays as it is.
    advance();
    switch (peek()) {
    case '"':
    case '<':
    case '\\':
        out.push_back(static_cast<char>(peek()));
        advance();
        return;
    case 'n':
        out.push_back('\n');
        advance();
        return;
    case 't':
        out.push_back('\t');
        advance();
        return;
    default:
        out.push_back('\\');
    }
}

void TranslationTokenizer::appendDoubleByteCharacter(std::string& out) {
    // The trail byte belongs to its character, so a backslash there starts no escape. Until now
    // such a trail byte had to be written doubled to survive, so a doubled backslash right after
    // a lead byte still stands for that one trail byte: documents read as they always did.
    out.push_back(static_cast<char>(peek()));
    advance();
    const int trail = peek();
    out.push_back(static_cast<char>(trail));
    advance();
    if (trail == '\\' && peek() == '\\')
        advance();
}

void TranslationTokenizer::readAttributeValue(std::string& out, std::size_t& budget) {
    if (peek() != '"')
        fail(kValueInvalid);
    advance();
    out.clear();
    while (peek() != '"') {
        if (peek() < 0 || out.size() + 1 >= budget)
            fail(kValueInvalid);
        if (peek() == '\\') {
            appendEscaped(out);
        } else {
            out.push_back(static_cast<char>(peek()));
            advance();
        }
    }
    advance();
    budget -= out.size() + 1;
}

void TranslationTokenizer::readStartTag() {
    std::size_t start = pos_;
    advance();
    std::size_t budget = kBufferSize;
    std::string name;
    if (!readName(name, budget))
        fail(kNameNotLegal);
    std::vector<Attribute> attributes;
    for (;;) {
        skipWhitespace();
        if (peek() == '>') {
            advance();
            startElement(name, attributes, start);
            return;
        }
        if (peek() == '/' && peek(1) == '>') {
            advance();
            advance();
            startElement(name, attributes, start);
            endElement();
            return;
        }
        if (attributes.size() == kMaxAttributes)
            fail(kTooManyAttributes);
        Attribute attribute;
        if (!readName(attribute.name, budget))
            fail(kNameNotLegal);
        skipWhitespace();
        if (peek() != '=')
            fail(kFieldNotValid);
        advance();
        skipWhitespace();
        readAttributeValue(attribute.value, budget);
        attributes.push_back(std::move(attribute));
    }
}

void TranslationTokenizer::readEndTag() {
    std::size_t start = pos_;
    advance();
    advance();
    std::size_t budget = kBufferSize;
    std::string name;
    try {
        if (!readName(name, budget))
            fail(kUnexpectedEndTag);
    } catch (const Stop&) {
        fail(kUnexpectedEndTag, start);
    }
    skipWhitespace();
    if (peek() != '>' || open_.empty() || open_.back().name != name)
        fail(kUnexpectedEndTag, start);
    advance();
    endElement();
}

void TranslationTokenizer::startElement(const std::string& name,
                                        const std::vector<Attribute>& attributes,
                                        std::size_t position) {
    Context next = context_;
    switch (context_) {
    case Context::kTop:
        if (!attributes.empty())
            fail(kNoAttributesAllowed, position);
        if (name == "LanguageTable")
            next = Context::kLanguageTable;
        else if (name == "StringTable")
            next = Context::kStringTable;
        else if (name != "Translation")
            fail(kTagNotSupported, position);
        break;
    case Context::kLanguageTable:
        if (name != "language")
            fail(kTagNotSupported, position);
        if (attributes.size() != 1)
            fail(kLanguageNeedsKey, position);
        if (attributes[0].name != "key")
            fail(kLanguageAttributeName, position);
        languageCode_ = attributes[0].value;
        languageName_.clear();
        next = Context::kLanguage;
        break;
    case Context::kLanguage:
        fail(kTagNotSupported, position);
    case Context::kStringTable:
        if (name != "String")
            fail(kKeyFirst, position);
        if (attributes.size() != 1)
            fail(kStringNeedsKey, position);
        if (attributes[0].name != "Key")
            fail(kStringAttributeName, position);
        key_ = converted(Platform::kCodePageDefault, attributes[0].value);
        next = Context::kString;
        break;
    case Context::kString:
        if (name == "String")
            fail(kKeyAlreadySet, position);
        if (!attributes.empty())
            fail(kNoAttributesInContext, position);
        translationLanguage_ = name;
        translation_.clear();
        next = Context::kTranslation;
        break;
    case Context::kTranslation:
        fail(kTranslationNotFinished, position);
    }
    open_.push_back({name, context_});
    context_ = next;
}

void TranslationTokenizer::endElement() {
    switch (context_) {
    case Context::kLanguage:
        if (takeLanguages_ && !languageCode_.empty() && !languageName_.empty())
            sink_.addLanguage(languageCode_, converted(Platform::kCodePageDefault, languageName_));
        break;
    case Context::kTranslation: {
        std::uint32_t codePage = isJapanese(translationLanguage_) ? Platform::kCodePageJapanese
                                                                  : Platform::kCodePageWestern;
        std::u16string text = converted(codePage, translation_);
        if (!key_.empty() && !text.empty() &&
            sink_.addString(key_, translationLanguage_, text) == ResultFailed)
            fail(nullptr);
        break;
    }
    case Context::kString:
        key_.clear();
        break;
    default:
        break;
    }
    context_ = open_.back().outer;
    open_.pop_back();
}

void TranslationTokenizer::readText() {
    if (context_ != Context::kTranslation) {
        skipWhitespace();
        if (peek() < 0 || peek() == '<')
            return;
    }
    std::size_t start = pos_;
    switch (context_) {
    case Context::kTop:
        fail(kNoTextHere, start);
    case Context::kLanguageTable:
        fail(kLanguageCodeNotSet, start);
    case Context::kStringTable:
        fail(kKeyNotSet, start);
    case Context::kString:
        fail(kLanguageNotSet, start);
    default:
        break;
    }
    std::string& target = context_ == Context::kLanguage ? languageName_ : translation_;
    const bool doubleByte = context_ == Context::kTranslation && isJapanese(translationLanguage_);
    while (peek() >= 0 && peek() != '<') {
        if (doubleByte && isLeadByte932(peek()) && isTrailByte932(peek(1))) {
            appendDoubleByteCharacter(target);
        } else if (peek() == '\\') {
            appendEscaped(target);
        } else {
            target.push_back(static_cast<char>(peek()));
            advance();
        }
    }
}

} // namespace Brennovar::Zintara
