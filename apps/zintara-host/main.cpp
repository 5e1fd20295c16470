#include "dialog_command.h"
#include "host_session.h"
#include "info_command.h"
#include "run_command.h"
#include "show_command.h"
#include "skin_command.h"
#include "validate_command.h"

#include <CLI/CLI.hpp>
#include <exception>
#include <iostream>

int main(int argc, char** argv) {
    using namespace Brennovar::RefHost;
    CLI::App app{"zintara-host: a reference host that loads the Zintara module and runs it"};
    app.require_subcommand(1);
    addDialogCommand(app);
    addInfoCommand(app);
    addRunCommand(app);
    addShowCommand(app);
    addSkinCommand(app);
    addValidateCommand(app);
    try {
        app.parse(argc, argv);
    } catch (const CLI::RuntimeError& e) {
        // A subcommand that finished with a non-zero status.
        return e.get_exit_code();
    } catch (const CLI::ParseError& e) {
        int code = app.exit(e);
        return code == 0 ? kExitOk : kExitBadInput;
    } catch (const std::exception& e) {
        std::cerr << "zintara-host: " << e.what() << '\n';
        return kExitCheckFailed;
    }
    return kExitOk;
}
