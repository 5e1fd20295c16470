#pragma once

#include "refhost/dialog/dialog_user.h"

#include <cstddef>
#include <cstdint>
#include <span>

namespace Brennovar::RefHost {

/// Plays the marker dialog's user from a stream of bytes: each action and its arguments are
/// taken from the next bytes, choices from the texts the dialog offers and some it does not. A
/// fuzzer gives the bytes to explore every order of actions; a random source gives them to try
/// arbitrary sessions. Actions a person could not do are refused by the user and skipped.
///
/// When the bytes run out, the dialog is confirmed or cancelled (by the last byte read).
class DialogActionPlayer {
public:
    explicit DialogActionPlayer(std::span<const std::uint8_t> bytes) : bytes_(bytes) {}
    /// Plays until the bytes run out or the dialog closes; returns how many actions were done.
    std::size_t play(DialogRuntime& runtime);

private:
    std::uint8_t next() noexcept { return position_ < bytes_.size() ? bytes_[position_++] : 0; }
    bool exhausted() const noexcept { return position_ >= bytes_.size(); }
    UserAction act(DialogUser& user);

    std::span<const std::uint8_t> bytes_;
    std::size_t position_ = 0;
};

} // namespace Brennovar::RefHost
