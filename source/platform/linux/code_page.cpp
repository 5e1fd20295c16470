#include "platform/code_page.h"

#include <cerrno>
#include <iconv.h>
#include <new>

namespace Brennovar::Platform {

namespace {

constexpr char16_t kReplacement = u'\uFFFD';
constexpr char kUnmappable = '?';

// Windows-1252 bytes 0x80 to 0x9F; every other byte is its own code point. The five bytes the
// code page leaves undefined (0x81, 0x8D, 0x8F, 0x90, 0x9D) map to the C1 control with the same
// value, as the original platform does, so every byte sequence round-trips.
constexpr char16_t kWestern80To9F[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

bool isHighSurrogate(char32_t c) {
    return c >= 0xD800 && c <= 0xDBFF;
}
bool isLowSurrogate(char32_t c) {
    return c >= 0xDC00 && c <= 0xDFFF;
}

// Reads one code point from UTF-16 at `i` and advances `i`; an unpaired surrogate is returned
// as it is (the caller decides what becomes of it).
char32_t nextCodePoint(std::u16string_view text, std::size_t& i) {
    char32_t c = text[i++];
    if (isHighSurrogate(c) && i < text.size() && isLowSurrogate(text[i]))
        c = 0x10000 + ((c - 0xD800) << 10) + (text[i++] - 0xDC00);
    return c;
}

void westernToWide(std::string_view text, std::u16string& out) {
    out.reserve(text.size());
    for (char ch : text) {
        auto byte = static_cast<unsigned char>(ch);
        out.push_back(byte >= 0x80 && byte <= 0x9F ? kWestern80To9F[byte - 0x80] : char16_t{byte});
    }
}

char wideToWesternByte(char32_t c) {
    if (c < 0x80 || (c >= 0xA0 && c <= 0xFF))
        return static_cast<char>(c);
    for (unsigned i = 0; i < 32; ++i)
        if (kWestern80To9F[i] == c)
            return static_cast<char>(0x80 + i);
    return kUnmappable;
}

void wideToWestern(std::u16string_view text, std::string& out) {
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size();)
        out.push_back(wideToWesternByte(nextCodePoint(text, i)));
}

// Strict UTF-8: overlong forms, surrogates, code points above U+10FFFF, stray continuation
// bytes and truncated sequences are all errors.
bool utf8ToWide(std::string_view text, std::u16string& out) {
    out.reserve(text.size());
    std::size_t i = 0;
    while (i < text.size()) {
        auto lead = static_cast<unsigned char>(text[i]);
        if (lead < 0x80) {
            out.push_back(lead);
            ++i;
            continue;
        }
        std::size_t extra;
        char32_t c;
        char32_t minimum;
        if (lead >= 0xC2 && lead <= 0xDF) {
            extra = 1;
            c = lead & 0x1F;
            minimum = 0x80;
        } else if (lead >= 0xE0 && lead <= 0xEF) {
            extra = 2;
            c = lead & 0x0F;
            minimum = 0x800;
        } else if (lead >= 0xF0 && lead <= 0xF4) {
            extra = 3;
            c = lead & 0x07;
            minimum = 0x10000;
        } else {
            return false;
        }
        if (text.size() - i <= extra)
            return false;
        for (std::size_t k = 1; k <= extra; ++k) {
            auto next = static_cast<unsigned char>(text[i + k]);
            if ((next & 0xC0) != 0x80)
                return false;
            c = (c << 6) | (next & 0x3F);
        }
        if (c < minimum || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF))
            return false;
        if (c >= 0x10000) {
            out.push_back(static_cast<char16_t>(0xD800 + ((c - 0x10000) >> 10)));
            out.push_back(static_cast<char16_t>(0xDC00 + ((c - 0x10000) & 0x3FF)));
        } else {
            out.push_back(static_cast<char16_t>(c));
        }
        i += 1 + extra;
    }
    return true;
}

void wideToUtf8(std::u16string_view text, std::string& out) {
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size();) {
        char32_t c = nextCodePoint(text, i);
        if (isHighSurrogate(c) || isLowSurrogate(c))
            c = kReplacement;
        if (c < 0x80) {
            out.push_back(static_cast<char>(c));
        } else if (c < 0x800) {
            out.push_back(static_cast<char>(0xC0 | (c >> 6)));
            out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
        } else if (c < 0x10000) {
            out.push_back(static_cast<char>(0xE0 | (c >> 12)));
            out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
            out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
        } else {
            out.push_back(static_cast<char>(0xF0 | (c >> 18)));
            out.push_back(static_cast<char>(0x80 | ((c >> 12) & 0x3F)));
            out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
            out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
        }
    }
}

// An iconv descriptor for one conversion; opened per call because a descriptor carries shift
// state and must not be shared.
class Converter {
public:
    Converter(const char* to, const char* from) : handle_(iconv_open(to, from)) {}
    ~Converter() {
        if (valid())
            iconv_close(handle_);
    }
    Converter(const Converter&) = delete;
    Converter& operator=(const Converter&) = delete;

    bool valid() const { return handle_ != reinterpret_cast<iconv_t>(-1); }

    /// Converts as much as it can; returns 0 when everything was converted, else the errno.
    int convert(const char*& in, std::size_t& inLeft, std::string& out) {
        char chunk[256];
        while (inLeft > 0) {
            char* to = chunk;
            std::size_t toLeft = sizeof chunk;
            std::size_t result = iconv(handle_, const_cast<char**>(&in), &inLeft, &to, &toLeft);
            out.append(chunk, static_cast<std::size_t>(to - chunk));
            if (result == static_cast<std::size_t>(-1) && errno != E2BIG)
                return errno;
        }
        return 0;
    }

private:
    iconv_t handle_;
};

// 932 goes through iconv's "CP932", which follows the original platform's table (0x5C is the
// backslash, 0x7E the tilde, NEC and IBM extensions included). UTF-16 is requested little-endian
// and assembled byte by byte, so the host's byte order does not matter.
bool japaneseToWide(std::string_view text, std::u16string& out) {
    Converter converter("UTF-16LE", "CP932");
    if (!converter.valid())
        return false;
    const char* in = text.data();
    std::size_t inLeft = text.size();
    std::string bytes;
    if (converter.convert(in, inLeft, bytes) != 0 || bytes.size() % 2 != 0)
        return false;
    out.reserve(bytes.size() / 2);
    for (std::size_t i = 0; i < bytes.size(); i += 2)
        out.push_back(static_cast<char16_t>(static_cast<unsigned char>(bytes[i]) |
                                            static_cast<unsigned char>(bytes[i + 1]) << 8));
    return true;
}

bool wideToJapanese(std::u16string_view text, std::string& out) {
    Converter converter("CP932", "UTF-16LE");
    if (!converter.valid())
        return false;
    std::string units;
    units.reserve(text.size() * 2);
    for (char16_t c : text) {
        units.push_back(static_cast<char>(c & 0xFF));
        units.push_back(static_cast<char>(c >> 8));
    }
    const char* in = units.data();
    std::size_t inLeft = units.size();
    while (converter.convert(in, inLeft, out) != 0) {
        // Unmappable or unpaired: one '?' for the code point, then go on after it.
        std::size_t consumed = units.size() - inLeft;
        std::size_t i = consumed / 2;
        nextCodePoint(text, i);
        out.push_back(kUnmappable);
        in = units.data() + i * 2;
        inLeft = units.size() - i * 2;
    }
    return true;
}

} // namespace

bool multiByteToWide(std::uint32_t codePage, std::string_view text, std::u16string& out) {
    out.clear();
    try {
        bool ok;
        switch (codePage) {
        case kCodePageDefault:
        case kCodePageWestern:
            westernToWide(text, out);
            ok = true;
            break;
        case kCodePageUtf8:
            ok = utf8ToWide(text, out);
            break;
        case kCodePageJapanese:
            ok = japaneseToWide(text, out);
            break;
        default:
            ok = false;
            break;
        }
        if (!ok)
            out.clear();
        return ok;
    } catch (const std::bad_alloc&) {
        out.clear();
        return false;
    }
}

bool wideToMultiByte(std::uint32_t codePage, std::u16string_view text, std::string& out) {
    out.clear();
    try {
        switch (codePage) {
        case kCodePageDefault:
        case kCodePageWestern:
            wideToWestern(text, out);
            return true;
        case kCodePageUtf8:
            wideToUtf8(text, out);
            return true;
        case kCodePageJapanese:
            if (wideToJapanese(text, out))
                return true;
            out.clear();
            return false;
        default:
            return false;
        }
    } catch (const std::bad_alloc&) {
        out.clear();
        return false;
    }
}

} // namespace Brennovar::Platform
