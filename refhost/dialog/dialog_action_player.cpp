#include "refhost/dialog/dialog_action_player.h"

#include <array>
#include <string>
#include <vector>

namespace Brennovar::RefHost {

namespace {

// Texts the dialog offers, a few it does not, and sub-menu paths.
constexpr std::array<const char*, 4> kMarkerTypes = {"Position", "Cycle", "Range", ""};
constexpr std::array<const char*, 4> kTargetTracks = {
    "Active Marker Track", "New Marker Track", "New Marker Track per Source Track", "Markers"};
const std::array<std::vector<std::string>, 12> kItems = {{
    {"Free Text"},
    {"Counter"},
    {"Project Name"},
    {"Track Name"},
    {"Event Name"},
    {"Event Description"},
    {"Comment"},
    {"Description"},
    {"Media", "Project Name"},
    {"Media", "File Name"},
    {"Media", "Reel"},
    {"Name"},
}};
const std::array<std::string, 4> kTexts = {"", "Take 3", std::string(300, 'x'),
                                           "\xC3\xA4\xE2\x82\xAC"};

template <class Array>
const auto& pick(const Array& choices, std::uint8_t byte) {
    return choices[byte % choices.size()];
}

} // namespace

std::size_t DialogActionPlayer::play(DialogRuntime& runtime) {
    DialogUser user(runtime);
    std::size_t done = 0;
    while (!exhausted() && !runtime.closed())
        done += act(user).done ? 1 : 0;
    if (!runtime.closed())
        user.press(next() % 2 ? "ok" : "cancel");
    return done;
}

UserAction DialogActionPlayer::act(DialogUser& user) {
    const std::uint8_t action = next();
    // Rows 0 and one past the end are refused; they test the user's own checks.
    const int row = next() % 6;
    switch (action % 10) {
    case 0:
        return user.chooseMarkerType(pick(kMarkerTypes, next()));
    case 1:
        return user.chooseTargetTrack(pick(kTargetTracks, next()));
    case 2:
        return user.toggleCombine();
    case 3:
        return user.addRow();
    case 4:
        return user.chooseSource(row, pick(kItems, next()));
    case 5:
        return user.chooseTarget(row, pick(kItems, next()));
    case 6:
        return user.typeText(row, pick(kTexts, next()));
    case 7:
        return user.deleteRow(row);
    case 8:
        // Ends the dialog only now and then, so that most sequences get long.
        return next() % 8 == 0 ? user.press(next() % 2 ? "ok" : "cancel") : UserAction{};
    default:
        return user.rows().empty() ? UserAction{} : user.deleteRow(1);
    }
}

} // namespace Brennovar::RefHost
