#include "frontend/module_in_host.h"
#include "refhost/dialog/random_dialog_user.h"

#include <gmock/gmock.h>
#include <optional>
#include <random>

namespace Brennovar::RefHost {
void PrintTo(const ShownRow& row, std::ostream* out) {
    *out << row.source << " -> " << row.target << " " << row.text.value_or("(unknown)");
}
} // namespace Brennovar::RefHost

namespace Brennovar::Testing {
namespace {

using RefHost::DialogRuntime;
using RefHost::HostBehaviours;
using RefHost::RandomDialogUser;
using RefHost::ShownRow;

// Fixed in CI; ZINTARA_RANDOM_SEED replays another run.
constexpr std::uint64_t kDefaultSeed = 20261206;
constexpr int kDialogs = 8;
constexpr int kActionsPerDialog = 250;

/// Dialog 0 meets the host as it behaves by default, dialogs 1 to 4 one behaviour each, dialog
/// 5 all of them, the others a choice drawn from the seed.
HostBehaviours behavioursOf(int dialog, std::mt19937_64& random) {
    const unsigned bits = dialog == 0   ? 0u
                          : dialog <= 4 ? 1u << (dialog - 1)
                          : dialog == 5
                              ? HostBehaviours::kAll
                              : static_cast<unsigned>(random() % (HostBehaviours::kAll + 1));
    HostBehaviours behaviours = HostBehaviours::fromBits(bits);
    behaviours.seed = random();
    return behaviours;
}

class DialogRandomTest : public ModuleInHost {};

TEST_F(DialogRandomTest, RandomActionsUnderEveryHostBehaviourKeepRowsAndMenusInStepWithTheModel) {
    const char* replay = std::getenv("ZINTARA_RANDOM_SEED");
    const std::uint64_t seed = replay ? std::stoull(replay) : kDefaultSeed;
    SCOPED_TRACE("seed " + std::to_string(seed) +
                 " (replay with ZINTARA_RANDOM_SEED=" + std::to_string(seed) + ")");
    std::mt19937_64 random(seed);
    ASSERT_TRUE(start());
    host.openProject(songWithEvents());

    // What was confirmed last is what opens again: a cancelled dialog left rows, targets and
    // free texts exactly as they were.
    std::optional<std::vector<ShownRow>> confirmed;
    const auto playRandomly = [&](DialogRuntime& runtime) {
        if (confirmed)
            EXPECT_EQ(RandomDialogUser::rowsShown(runtime), *confirmed);
        else
            confirmed = RandomDialogUser::rowsShown(runtime);
        RandomDialogUser user(runtime, random);
        user.play(kActionsPerDialog);
        EXPECT_THAT(user.problems(), ::testing::IsEmpty());
        runtime.pause();
        const bool confirm = random() % 2 == 1;
        if (confirm)
            confirmed = RandomDialogUser::rowsShown(runtime);
        RefHost::DialogUser(runtime).press(confirm ? "ok" : "cancel");
    };
    for (int dialog = 0; dialog < kDialogs && !HasFailure(); ++dialog) {
        host.environment().behaviours() = behavioursOf(dialog, random);
        SCOPED_TRACE("dialog " + std::to_string(dialog) + " under host behaviours " +
                     host.environment().behaviours().names());
        // Each confirmed dialog makes markers, which deselects the events: select them again.
        host.currentProject()->selectEvents();
        host.runCommand(kDialogCommand, "Project", playRandomly);
    }
    EXPECT_THAT(host.environment().problems(), ::testing::IsEmpty());
    // Every controller is gone with its parameters and menus: no host object of the dialog is
    // still referenced (the module's services are).
    for (const RefHost::ReferenceEntry& leak : host.references().leaks)
        EXPECT_EQ(leak.object.find("parameter"), std::string::npos) << leak.object;
}

} // namespace
} // namespace Brennovar::Testing
