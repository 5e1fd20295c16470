// The battery's tests of the running service in a host: its commands, its stored settings, its
// dialog, its resources and the undo of its edits.
#include "module/module_names.h"
#include "refhost/dialog/dialog_action_player.h"
#include "refhost/dialog/random_dialog_user.h"
#include "refhost/project/attribute_store.h"
#include "refhost/project/demo_project.h"
#include "refhost/project/project_object.h"
#include "refhost/session/host_session.h"
#include "refhost/validation/validation_check.h"

#include <array>
#include <functional>
#include <optional>

namespace Brennovar::RefHost {

namespace {

using Zintara::Names::kCurrentSettingsCommand;
using Zintara::Names::kDialogCommand;
using Zintara::Names::kSettingsKeyPrefix;
constexpr const char* kCategory = Zintara::Names::kCommandCategory;
constexpr std::array<const char*, 9> kLanguages = {"de", "us", "es", "fr", "it",
                                                   "jp", "pt", "ru", "zh"};

using Attributes = std::vector<std::pair<std::string, FTaggedValue>>;

// The module running in a host on the demo project, which is open. Whatever the host or the
// test noticed is collected in problems; finish() adds what shutting down shows.
class DemoSession {
public:
    /// `stored` are written into the project before it opens, as a saved project carries them.
    /// The host behaves as the settings say, its choices drawn from their seed.
    DemoSession(const CheckSettings& settings, const Attributes& stored = {},
                const std::string& language = {}) {
        if (!language.empty())
            session_.host().translationService().setLanguage(language);
        session_.host().environment().behaviours() = settings.behaviours;
        session_.host().environment().behaviours().seed = settings.seed;
        project_ = &DemoProject::build(session_.host());
        for (const auto& [key, value] : stored)
            project_->root().setAttribute(key.c_str(), value, true);
        if (!session_.load(settings.module) || !session_.startService()) {
            problems.push_back(session_.loader().error());
            return;
        }
        session_.host().openProject(*project_);
    }

    bool started() const { return problems.empty(); }
    Host& host() { return session_.host(); }
    Project& project() { return *project_; }

    std::vector<ProjectObject*> events() const {
        std::vector<ProjectObject*> found;
        collectEvents(project_->root(), found);
        return found;
    }

    void select(const std::vector<ProjectObject*>& objects) {
        for (ProjectObject* object : std::vector<ProjectObject*>(project_->selection().objects()))
            project_->select(*object, false);
        for (ProjectObject* object : objects)
            project_->select(*object);
    }

    /// Runs a command; a dialog it opens is worked by `user` and then confirmed if still open.
    CommandRun run(const char* command, const std::function<void(DialogRuntime&)>& user) {
        bool opened = false;
        confirmed = true;
        host().dialogService().setDialogDriver([&](DialogRuntime& runtime) {
            opened = true;
            user(runtime);
            if (!runtime.closed())
                DialogUser(runtime).press("ok");
            confirmed = runtime.result() == ResultOk;
            for (const std::string& problem : runtime.problems())
                problems.push_back("the dialog shows a problem: " + problem);
        });
        const CommandRun run = host().runCommand(command, kCategory);
        host().dialogService().setDialogDriver(nullptr);
        if (run.available && command == kDialogCommand && !opened)
            problems.push_back("the dialog command ran without opening its dialog");
        return run;
    }
    /// Runs a command; a dialog it opens is played from `actions`.
    CommandRun run(const char* command, const std::vector<std::uint8_t>& actions = {}) {
        return run(command,
                   [&](DialogRuntime& runtime) { DialogActionPlayer(actions).play(runtime); });
    }

    /// Finishes the session and skips the test when the module registers no dialog skin.
    std::optional<CheckOutcome> skipWithoutSkin() {
        if (host().dialogService().skin())
            return std::nullopt;
        finish();
        return CheckOutcome::skipped("the module registers no dialog skin");
    }

    /// The settings the module stores with the project.
    Attributes stored() {
        if (!host().storeProject())
            problems.push_back("the project cannot be stored");
        Attributes settings;
        for (const auto& [key, value] : project_->root().attributes().entries())
            if (key.starts_with(kSettingsKeyPrefix))
                settings.emplace_back(key, value);
        return settings;
    }

    /// Shuts down; the outcome of everything collected.
    CheckOutcome finish() {
        for (std::string& problem : session_.finish())
            problems.push_back(std::move(problem));
        return problems.empty() ? CheckOutcome::passed() : CheckOutcome::failed(joined(problems));
    }

    std::vector<std::string> problems;
    /// Whether the dialog of the last run was confirmed (true when it opened none).
    bool confirmed = true;

private:
    static void collectEvents(ProjectObject& object, std::vector<ProjectObject*>& found) {
        for (ProjectObject* child : object.children()) {
            const ObjectKind kind = child->kind();
            if (kind == ObjectKind::kAudioEvent || kind == ObjectKind::kAudioPart ||
                kind == ObjectKind::kMidiPart)
                found.push_back(child);
            collectEvents(*child, found);
        }
    }

    HostSession session_;
    Project* project_ = nullptr;
};

std::vector<std::uint8_t> randomBytes(std::mt19937_64& random, std::size_t most) {
    std::vector<std::uint8_t> bytes(random() % (most + 1));
    for (std::uint8_t& byte : bytes)
        byte = static_cast<std::uint8_t>(random());
    return bytes;
}

// A random non-empty subset of the events, in random order.
std::vector<ProjectObject*> someEvents(std::vector<ProjectObject*> events,
                                       std::mt19937_64& random) {
    std::shuffle(events.begin(), events.end(), random);
    events.resize(1 + random() % events.size());
    return events;
}

std::string describe(const FTaggedValue& value) {
    switch (value.kind()) {
    case FTaggedValue::kInteger:
        return std::to_string(value.integer);
    case FTaggedValue::kString8:
        return '"' + std::string(value.string8 ? value.string8 : "") + '"';
    default:
        return "a value of type " + std::to_string(value.kind());
    }
}

// The first difference between two stored settings; empty when they are the same.
std::string difference(const Attributes& expected, const Attributes& actual) {
    const auto keyed = [](const std::string& key) {
        return [&key](const auto& entry) { return entry.first == key; };
    };
    for (const auto& [key, value] : expected) {
        auto found = std::find_if(actual.begin(), actual.end(), keyed(key));
        if (found == actual.end())
            return key + " is gone";
        if (!sameValue(value, found->second))
            return key + ": " + describe(value) + " became " + describe(found->second);
    }
    for (const auto& [key, value] : actual)
        if (std::none_of(expected.begin(), expected.end(), keyed(key)))
            return key + " appeared (" + describe(value) + ")";
    return {};
}

CheckOutcome commands(const CheckSettings& settings, std::mt19937_64& random) {
    DemoSession session(settings);
    if (!session.started())
        return session.finish();
    const std::vector<ProjectObject*> events = session.events();
    for (int round = 0, rounds = scaled(settings.level, 1, 30); round < rounds; ++round) {
        for (std::size_t count : {std::size_t{0}, std::size_t{1}, events.size()}) {
            std::vector<ProjectObject*> chosen = someEvents(events, random);
            chosen.resize(std::min(count, chosen.size()));
            for (const char* command : {kDialogCommand, kCurrentSettingsCommand}) {
                session.select(chosen);
                const CommandRun run = session.run(command, randomBytes(random, 40));
                const std::string what = std::string("\"") + command + "\" with " +
                                         std::to_string(chosen.size()) + " event(s) selected";
                if (!run.found)
                    session.problems.push_back("\"" + std::string(command) +
                                               "\" is not registered");
                else if (run.available != !chosen.empty())
                    session.problems.push_back(what +
                                               (run.available ? " is offered" : " is not offered"));
                else if (run.available &&
                         run.result != (session.confirmed ? ResultOk : ResultFalse))
                    session.problems.push_back(what + " answered " + resultText(run.result));
            }
            if (!session.problems.empty())
                return session.finish();
        }
    }
    return session.finish();
}

CheckOutcome settingsRoundTrip(const CheckSettings& settings, std::mt19937_64& random) {
    for (int round = 0, rounds = scaled(settings.level, 1, 30); round < rounds; ++round) {
        Attributes first;
        {
            DemoSession session(settings);
            if (!session.started())
                return session.finish();
            session.select(session.events());
            session.run(kDialogCommand, randomBytes(random, 60));
            first = session.stored();
            if (CheckOutcome outcome = session.finish(); outcome.status != CheckStatus::kPassed)
                return outcome;
        }
        DemoSession fresh(settings, first);
        if (!fresh.started())
            return fresh.finish();
        const Attributes second = fresh.stored();
        if (std::string change = difference(first, second); !change.empty())
            fresh.problems.push_back("stored, restored into a fresh module and stored again: " +
                                     change);
        if (CheckOutcome outcome = fresh.finish(); outcome.status != CheckStatus::kPassed)
            return outcome;
    }
    return CheckOutcome::passed();
}

// One row of stored settings: its source, target and data values (empty when missing).
struct StoredRow {
    FTaggedValue source;
    FTaggedValue target;
    FTaggedValue data;
};

std::vector<StoredRow> storedRows(const Attributes& stored) {
    std::vector<StoredRow> rows;
    auto find = [&](const std::string& key) -> std::optional<FTaggedValue> {
        for (const auto& [name, value] : stored)
            if (name == key)
                return value;
        return std::nullopt;
    };
    for (int number = 1;; ++number) {
        const std::string suffix = std::to_string(number);
        auto source = find(std::string(kSettingsKeyPrefix) + "MappingSource" + suffix);
        auto target = find(std::string(kSettingsKeyPrefix) + "MappingTarget" + suffix);
        if (!source && !target)
            return rows;
        rows.push_back({source.value_or(FTaggedValue{}), target.value_or(FTaggedValue{}),
                        find(std::string(kSettingsKeyPrefix) + "MappingData" + suffix)
                            .value_or(FTaggedValue{})});
    }
}

bool sameRow(const StoredRow& a, const StoredRow& b) {
    return sameValue(a.source, b.source) && sameValue(a.target, b.target) &&
           sameValue(a.data, b.data);
}

// Damages one stored setting at random; adds the rows it touched to `touched` and the key it
// damaged to `what`.
void damage(Attributes& stored, std::mt19937_64& random, std::vector<int>& touched,
            std::string& what) {
    const int rows = static_cast<int>(storedRows(stored).size());
    const int row = rows > 0 ? 1 + static_cast<int>(random() % rows) : 0;
    const std::string prefix = kSettingsKeyPrefix;
    // A copy owns its string, which may be a temporary of the caller.
    auto set = [&](const std::string& key, const FTaggedValue& value) {
        std::erase_if(stored, [&](const auto& entry) { return entry.first == key; });
        stored.emplace_back(key, value);
        what += (what.empty() ? "" : ", ") + key + " = " + describe(value).substr(0, 40);
    };
    const std::string number = std::to_string(row);
    switch (random() % 8) {
    case 0:
        set(prefix + "MappingSource" + number,
            FTaggedValue::fromInteger(static_cast<int64>(random())));
        touched.push_back(row);
        return;
    case 1:
        set(prefix + "MappingTarget" + number, FTaggedValue::fromString8("NoSuchAttribute"));
        touched.push_back(row);
        return;
    case 2:
        set(prefix + "MappingSize", FTaggedValue::fromInteger(random() % 2 ? INT64_MAX : -1));
        return;
    case 3: {
        // The target of another row: two rows may not write the same marker attribute.
        const int other = rows > 0 ? 1 + static_cast<int>(random() % rows) : 0;
        for (const auto& [key, value] : Attributes(stored))
            if (other != row && key == prefix + "MappingTarget" + std::to_string(other))
                set(prefix + "MappingTarget" + number, value);
        touched.insert(touched.end(), {row, other});
        return;
    }
    case 4:
        set(prefix + "MappingData" + number,
            FTaggedValue::fromString8(std::string(1 << 20, 'x').c_str()));
        touched.push_back(row);
        return;
    case 5:
        set(prefix + (random() % 2 ? "MarkerType" : "TargetTrackType"),
            random() % 2 ? FTaggedValue::fromString8("1")
                         : FTaggedValue::fromInteger(static_cast<int64>(random())));
        return;
    case 6:
        set(prefix + "Mapping" + std::to_string(random()), FTaggedValue::fromInteger(1));
        return;
    default:
        set(prefix + "MappingSource" + std::to_string(rows + 1 + random() % 3),
            FTaggedValue::fromString8("EventName"));
        return;
    }
}

CheckOutcome damagedSettings(const CheckSettings& settings, std::mt19937_64& random) {
    Attributes valid;
    {
        DemoSession session(settings);
        if (!session.started())
            return session.finish();
        session.select(session.events());
        // Rows enough to damage: the dialog's user adds some.
        session.run(kDialogCommand, {3, 0, 3, 0, 4, 2, 0, 3, 0, 4, 3, 4});
        valid = session.stored();
        if (CheckOutcome outcome = session.finish(); outcome.status != CheckStatus::kPassed)
            return outcome;
    }
    const std::vector<StoredRow> validRows = storedRows(valid);
    for (int round = 0, rounds = scaled(settings.level, 4, 200); round < rounds; ++round) {
        Attributes damaged = valid;
        std::vector<int> touched;
        std::string what;
        for (int count = 1 + static_cast<int>(random() % 3); count > 0; --count)
            damage(damaged, random, touched, what);
        DemoSession session(settings, damaged);
        if (!session.started())
            return session.finish();
        // Every row no damage touched is still there, in order.
        const std::vector<StoredRow> kept = storedRows(session.stored());
        std::size_t at = 0;
        for (std::size_t row = 0; row < validRows.size(); ++row) {
            if (std::find(touched.begin(), touched.end(), static_cast<int>(row + 1)) !=
                touched.end())
                continue;
            while (at < kept.size() && !sameRow(kept[at], validRows[row]))
                ++at;
            if (at == kept.size()) {
                session.problems.push_back("an undamaged row (" + describe(validRows[row].source) +
                                           " to " + describe(validRows[row].target) +
                                           ") was lost after damage: " + what);
                break;
            }
        }
        if (CheckOutcome outcome = session.finish(); outcome.status != CheckStatus::kPassed)
            return outcome;
    }
    return CheckOutcome::passed();
}

CheckOutcome dialogActions(const CheckSettings& settings, std::mt19937_64& random) {
    for (int round = 0, rounds = scaled(settings.level, 3, 300); round < rounds; ++round) {
        DemoSession session(settings);
        if (!session.started())
            return session.finish();
        if (std::optional<CheckOutcome> skipped = session.skipWithoutSkin())
            return *skipped;
        session.select(someEvents(session.events(), random));
        session.run(kDialogCommand, randomBytes(random, 200));
        if (CheckOutcome outcome = session.finish(); outcome.status != CheckStatus::kPassed)
            return outcome;
    }
    return CheckOutcome::passed();
}

CheckOutcome dialogHostBehaviours(const CheckSettings& settings, std::mt19937_64& random) {
    const int actions = scaled(settings.level, 100, 5000);
    // Each behaviour alone, then all of them together.
    for (std::size_t i = 0; i <= HostBehaviours::kNames.size(); ++i) {
        CheckSettings under = settings;
        under.behaviours = HostBehaviours::fromBits(
            i < HostBehaviours::kNames.size() ? 1u << i : HostBehaviours::kAll);
        under.seed = random();
        DemoSession session(under);
        if (!session.started())
            return session.finish();
        if (std::optional<CheckOutcome> skipped = session.skipWithoutSkin())
            return *skipped;
        const std::string names = under.behaviours.names();
        session.select(session.events());
        session.run(kDialogCommand, [&](DialogRuntime& runtime) {
            RandomDialogUser user(runtime, random);
            user.play(actions);
            for (const std::string& problem : user.problems())
                session.problems.push_back(problem);
            runtime.pause();
            DialogUser(runtime).press(random() % 2 ? "ok" : "cancel");
        });
        if (CheckOutcome outcome = session.finish(); outcome.status != CheckStatus::kPassed) {
            outcome.message = "under the host behaviour " + names + ": " + outcome.message;
            return outcome;
        }
    }
    return CheckOutcome::passed();
}

CheckOutcome resources(const CheckSettings& settings, std::mt19937_64&) {
    for (const char* language : kLanguages) {
        DemoSession session(settings, {}, language);
        if (!session.started())
            return session.finish();
        const std::string in = std::string(" in \"") + language + "\"";
        DialogService& dialogs = session.host().dialogService();
        if (!dialogs.skin())
            session.problems.push_back("the skin container is refused" + in + ": " +
                                       dialogs.lastSkinError());
        const auto& requests = session.host().translationService().requests();
        if (requests.empty() || requests.back().result != ResultOk)
            session.problems.push_back("the translation document is refused" + in);
        else if (std::string(language) != "us" &&
                 std::u16string(session.host().translationService().translate(
                     u"Add Attribute Mapping")) == u"Add Attribute Mapping")
            session.problems.push_back("the translation document has no translation" + in);
        if (CheckOutcome outcome = session.finish(); outcome.status != CheckStatus::kPassed)
            return outcome;
    }
    return CheckOutcome::passed();
}

CheckOutcome undoRestores(const CheckSettings& settings, std::mt19937_64& random) {
    DemoSession session(settings);
    if (!session.started())
        return session.finish();
    for (int round = 0, rounds = scaled(settings.level, 2, 100); round < rounds; ++round) {
        session.select(someEvents(session.events(), random));
        // The run deselects what it reads; selection is not part of the undo history.
        const ProjectState before = session.host().state({.selection = false});
        const CommandRun run = session.run(kDialogCommand, randomBytes(random, 40));
        const ProjectState after = session.host().state({.selection = false});
        if (run.result != ResultOk || after == before)
            continue;
        std::string change;
        if (!session.host().undo())
            change = "the run left nothing to undo";
        else if (change = describeDifference(before, session.host().state({.selection = false}));
                 change.empty()) {
            if (!session.host().redo())
                change = "the undone run cannot be redone";
            else if (change = describeDifference(after, session.host().state({.selection = false}));
                     change.empty())
                session.host().undo();
            else
                change = "redo: " + change;
        } else {
            change = "undo: " + change;
        }
        if (!change.empty()) {
            session.problems.push_back(change);
            break;
        }
    }
    return session.finish();
}

} // namespace

std::vector<ValidationCheck> sessionChecks() {
    return {
        {"commands", "both commands with none, one and many events selected", commands},
        {"settings-round-trip", "store, restore into a fresh module, store again: identical",
         settingsRoundTrip},
        {"damaged-settings",
         "random keys, wrong types, huge sizes, duplicate targets: only "
         "damaged rows lost",
         damagedSettings},
        {"dialog-random-actions", "the dialog driven by random user actions", dialogActions},
        {"dialog-host-behaviours",
         "random dialog actions under a host that echoes, rebuilds late or at once, or reports a "
         "press twice: rows always what the accepted actions mean",
         dialogHostBehaviours},
        {"resources", "the skin container and the translation document in every language",
         resources},
        {"undo-restores", "undo of a run restores the project exactly, redo repeats it",
         undoRestores},
    };
}

} // namespace Brennovar::RefHost
