#pragma once

#include "refhost/dialog/dialog_user.h"

#include <optional>
#include <random>
#include <string>
#include <vector>

namespace Brennovar::RefHost {

/// A mapping row as the marker dialog shows it: the titles its menus show and, for a free-text
/// row, its text.
struct ShownRow {
    std::string source = "-";
    std::string target = "-";
    /// Known once typed; until then the row holds whatever text it had.
    std::optional<std::string> text;
    bool operator==(const ShownRow&) const = default;
};

/// Works the marker dialog at random, as a person would (adding, deleting and changing rows,
/// typing free texts, changing the other settings), and checks after every action that the
/// dialog shows what the accepted actions mean:
/// - the rows, their menus' choices and their texts are the expected ones whenever the views
///   are up to date, "Add Mapping" is enabled below 8 rows and every target menu disables
///   exactly the targets the rows use;
/// - an action on a row of an up-to-date view is accepted, and one on a row the dialog still
///   shows from an older build (a host that rebuilds late) is refused; an accepted action acts
///   on the row the user clicked and no other; a press reported twice deletes one row.
class RandomDialogUser {
public:
    /// Starts from the rows the dialog shows now.
    RandomDialogUser(DialogRuntime& runtime, std::mt19937_64& random);

    /// Plays up to `actions` actions; stops at the first problem.
    void play(int actions);
    /// What did not hold, one line each; empty when everything did.
    const std::vector<std::string>& problems() const noexcept { return problems_; }

    /// The rows the dialog shows, in order.
    static std::vector<ShownRow> rowsShown(DialogRuntime& runtime);

private:
    struct ExpectedRow {
        int id = 0;
        ShownRow row;
    };
    struct Item {
        std::vector<std::string> path;
        bool enabled = true;
    };

    std::size_t pick(std::size_t count);
    std::vector<Item> items(int row, const char* menu);
    std::vector<std::string> usedTargets() const;
    /// The expected row the user's shown row `row` stands for; null when it is gone.
    ExpectedRow* expectedFor(int row);
    void act();
    void actOnRow(int row, bool stale);
    void answer(const UserAction& action, bool stale, bool possible, const std::string& what);
    void check(bool menus);
    void problem(std::string text);

    DialogUser user_;
    std::mt19937_64& random_;
    std::vector<ExpectedRow> rows_;
    // The ids of the rows the views showed when they were last built.
    std::vector<int> shownIds_;
    int nextId_ = 0;
    std::vector<std::string> problems_;
};

} // namespace Brennovar::RefHost
