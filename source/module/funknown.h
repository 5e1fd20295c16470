#pragma once

#include <cstddef>
#include <cstdint>

/// The root of the object model: 16-byte ids, result codes and FUnknown.
namespace Brennovar {

// Binary conventions shared with the host (which was built for another platform):
// - counts that the original platform declares as `long` are 32-bit here, so `int32`;
// - result codes are 32-bit signed;
// - 16-bit text is UTF-16 in `char16_t`, never `wchar_t` (32-bit on Linux);
// - an id is always passed as a reference (a pointer at the ABI level) to its 16 bytes.
using int32 = std::int32_t;
using uint32 = std::uint32_t;
using int64 = std::int64_t;
using ResultCode = std::int32_t;

constexpr ResultCode ResultOk = 0;
constexpr ResultCode ResultFalse = 1;
constexpr ResultCode ResultNoInterface = static_cast<ResultCode>(0x80004002u);
constexpr ResultCode ResultInvalidArgument = static_cast<ResultCode>(0x80070057u);
constexpr ResultCode ResultNotImplemented = static_cast<ResultCode>(0x80004001u);
constexpr ResultCode ResultFailed = static_cast<ResultCode>(0x80004005u);

namespace Detail {
constexpr std::uint8_t hexDigit(char c) {
    if (c >= '0' && c <= '9')
        return static_cast<std::uint8_t>(c - '0');
    if (c >= 'A' && c <= 'F')
        return static_cast<std::uint8_t>(c - 'A' + 10);
    if (c >= 'a' && c <= 'f')
        return static_cast<std::uint8_t>(c - 'a' + 10);
    throw "invalid hexadecimal digit in an id";
}
} // namespace Detail

/// The 16 raw bytes of an id, in memory order: A as a 32-bit little-endian number, B and C as
/// 16-bit little-endian numbers, then D and E as written.
struct Guid {
    std::uint8_t bytes[16];

    /// Builds the bytes from the text form "AAAAAAAA-BBBB-CCCC-DDDD-EEEEEEEEEEEE" (braces
    /// optional), so that ids in the code read exactly as they are written elsewhere.
    static constexpr Guid fromText(const char* text) {
        if (*text == '{')
            ++text;
        std::uint8_t written[16]{};
        int n = 0;
        for (int i = 0; n < 32; ++i) {
            if (text[i] == '-')
                continue;
            std::uint8_t d = Detail::hexDigit(text[i]);
            written[n / 2] = static_cast<std::uint8_t>(written[n / 2] << 4 | d);
            ++n;
        }
        Guid g{};
        const int order[16] = {3, 2, 1, 0, 5, 4, 7, 6, 8, 9, 10, 11, 12, 13, 14, 15};
        for (int i = 0; i < 16; ++i)
            g.bytes[i] = written[order[i]];
        return g;
    }

    constexpr bool operator==(const Guid& other) const {
        for (int i = 0; i < 16; ++i)
            if (bytes[i] != other.bytes[i])
                return false;
        return true;
    }
};
static_assert(sizeof(Guid) == 16);

/// The root interface. Slots: 0 queryInterface, 1 addRef, 2 release.
class FUnknown {
public:
    static constexpr Guid iid = Guid::fromText("00000000-0000-0000-C000-000000000046");

    /// On ResultOk *obj carries one reference to the asked face; the caller releases it.
    /// Otherwise *obj is null. A null obj gives ResultInvalidArgument.
    virtual ResultCode queryInterface(const Guid& iid, void** obj) noexcept = 0;
    /// Returns the count after the increment.
    virtual uint32 addRef() noexcept = 0;
    /// Returns the count after the decrement; 0 when the object has destroyed itself.
    virtual uint32 release() noexcept = 0;
};

/// `FUnknown` plus slot 3 `update`. Nothing in the component calls it.
class IDependent : public FUnknown {
public:
    static constexpr Guid iid = Guid::fromText("F52B7AAE-DE72-416D-8AF1-8ACE9DD7BD5E");
    virtual void update(FUnknown* changed, int32 message) noexcept = 0;
};

} // namespace Brennovar
