#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace Brennovar::RefHost {

/// One step of a session script: what a person does in the dialog or around it.
struct ScriptStep {
    /// "select", "run", "undo", "store", "save", "markerType", "targetTrack", "combine",
    /// "addRow", "source", "target", "type", "deleteRow", "ok", "cancel", "show" or "wait".
    std::string kind;
    /// select: "all", "none", or the objects to select: paths of names ("Dialog/Take 1") or
    /// JSON pointers into the project's document ("/tracks/0/events/1").
    std::vector<std::string> objects;
    /// run: "dialog" or "current".
    std::string command;
    /// markerType, targetTrack: the displayed text; source, target: the item's text, or the
    /// sub-menu's text and the item's.
    std::vector<std::string> choose;
    /// source, target, type, deleteRow: the row, counted from 1.
    int row = 0;
    /// type: the text typed; save: the file.
    std::string text;
    /// The step is expected to be refused.
    bool expectRefused = false;

    /// Whether the step acts in an open dialog.
    bool inDialog() const noexcept;
};

/// A session script: a JSON list of steps run in order in one host session, documented in
/// docs/zintara-host.md. A script that cannot be read is a FileError naming the file, the
/// place (a line and column, or the JSON pointer of the value at fault) and the problem.
class SessionScript {
public:
    /// The largest script read: a person's afternoon, not a data set.
    static constexpr std::uint64_t kMaxBytes = 4 * 1024 * 1024;

    /// Reads and checks the file; throws FileError.
    static std::vector<ScriptStep> read(const std::string& path);
    /// Parses a script held in memory; `source` names it in errors.
    static std::vector<ScriptStep> parse(std::string_view text, const std::string& source);
};

} // namespace Brennovar::RefHost
