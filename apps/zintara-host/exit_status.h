#pragma once

namespace Brennovar::RefHost {

/// Exit statuses of zintara-host, the same for every subcommand (the table in
/// docs/zintara-host.md).
enum ExitStatus : int {
    kExitOk = 0,
    /// The host worked but a check failed: references leaked or released too often, the module
    /// did not shut down cleanly, undo did not restore the project, or the skin is not valid.
    kExitCheckFailed = 1,
    /// A bad command line, or an input file (project, settings) that cannot be read.
    kExitBadInput = 2,
    /// The module cannot be loaded, or its service cannot be started.
    kExitModuleFailed = 3,
    /// An output file cannot be written.
    kExitOutputFailed = 4,
};

} // namespace Brennovar::RefHost
