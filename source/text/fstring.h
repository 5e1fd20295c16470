#pragma once

#include "text/text_string.h"

namespace Brennovar {

/// A `String` with its own type identity; the base of `CmString`. It adds nothing but its own
/// destructor.
class FString : public String {
public:
    using String::String;
    FString() noexcept = default;
    FString(const FString&) noexcept = default;
    FString(FString&&) noexcept = default;
    FString& operator=(const FString&) noexcept = default;
    FString& operator=(FString&&) noexcept = default;
    ~FString() override;
};

} // namespace Brennovar
