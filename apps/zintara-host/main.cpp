#include "dialog_command.h"
#include "info_command.h"
#include "run_command.h"
#include "show_command.h"
#include "skin_command.h"
#include "tool_conventions.h"
#include "validate_command.h"

#include <CLI/CLI.hpp>

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
    return ToolConventions::run(app, argc, argv, printVersion);
}
