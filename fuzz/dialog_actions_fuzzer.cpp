// Fuzz target for the dialog: any sequence of a user's actions in the marker dialog, confirmed
// or cancelled, must leave no crash, no problem in the rendered dialog and no reference behind.
// The module's service is linked in, so the fuzzer sees its code.
#include "frontend/access_handler.h"
#include "module/host_context.h"
#include "module/module_handle_provider.h"
#include "refhost/core/host.h"
#include "refhost/dialog/dialog_action_player.h"
#include "refhost/project/demo_project.h"
#include "refhost/project/project_object.h"

#include <cstddef>
#include <cstdint>
#include <memory>

namespace {

using namespace Brennovar;
using namespace Brennovar::RefHost;

void selectEvents(Project& project, ProjectObject& object) {
    for (ProjectObject* child : object.children()) {
        if (child->kind() == ObjectKind::kAudioEvent || child->kind() == ObjectKind::kAudioPart)
            project.select(*child);
        selectEvents(project, *child);
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    Host host;
    Project& project = DemoProject::build(host);
    auto* service = new Zintara::AccessHandler(std::make_unique<ModuleHandleProvider>());
    if (service->initialize(host.context()) != ResultOk)
        __builtin_trap();
    host.openProject(project);
    selectEvents(project, project.root());
    bool clean = true;
    bool opened = false;
    host.dialogService().setDialogDriver([&](DialogRuntime& runtime) {
        opened = true;
        DialogActionPlayer({data, size}).play(runtime);
        if (!runtime.closed())
            DialogUser(runtime).press(size % 2 ? "ok" : "cancel");
        clean = runtime.problems().empty();
    });
    host.runCommand("Create Markers From Selected Events...", "Project");
    host.undo();
    host.closeProject();
    service->terminate();
    host.releaseClientObjects();
    service->release();
    // The module keeps the host's object provider until it is unloaded.
    if (IHostObjectProvider*& provider = Zintara::hostObjectProvider()) {
        provider->release();
        provider = nullptr;
    }
    if (!opened || !clean || !host.references().clean())
        __builtin_trap();
    return 0;
}
