#pragma once

#include "host/i_project.h"
#include "host/plugin_base.h"
#include "host/project_notifications.h"
#include "module/owned.h"

#include <string>
#include <utility>
#include <vector>

namespace Brennovar::Testing {

/// Stand-ins for the objects a module hands to the host. Each answers no interface and keeps a
/// plain count (starting at the creator's 1) so tests can check that the host gives back every
/// reference it takes.
template <class... Faces>
class ClientObject : public Faces... {
public:
    ResultCode queryInterface(const Guid&, void** obj) noexcept override {
        *obj = nullptr;
        return ResultNoInterface;
    }
    uint32 addRef() noexcept override { return static_cast<uint32>(++count_); }
    uint32 release() noexcept override { return static_cast<uint32>(--count_); }
    int32 count() const { return count_; }

private:
    int32 count_ = 1;
};

/// Listens to project events as the module does: registers itself for storage notifications
/// when a project is attached, and records every call with the pointer it carried. When the
/// project is stored it writes each of `keys` into the stored object.
class RecordingListener : public ClientObject<IProjectNotification2, IProjectStorageNotification> {
public:
    using Call = std::pair<std::string, const void*>;

    ResultCode projectAttached(IHostProject* project) noexcept override {
        calls.push_back({"attached", project});
        return project->addStorageNotification(this);
    }
    ResultCode projectDetached(IHostProject* project) noexcept override {
        calls.push_back({"detached", project});
        return project->removeStorageNotification(this);
    }
    void projectNotification5() noexcept override {}
    void projectNotification6() noexcept override {}
    int32 projectNotification7() noexcept override { return 0; }
    void projectRestored(FUnknown* object) noexcept override {
        calls.push_back({"restored", object});
    }
    void projectStoring(FUnknown* object) noexcept override {
        calls.push_back({"storing", object});
        auto host = Owned<IHostObject>::query(object);
        for (const std::string& key : keys)
            host->setAttribute(key.c_str(), FTaggedValue::fromInteger(1), true);
    }

    std::vector<Call> calls;
    std::vector<std::string> keys;
};

/// Runs one command; records every executeCommand call as "check <name>" or "run <name>".
class RecordingHandler : public ClientObject<IActionHandler> {
public:
    explicit RecordingHandler(std::string command, ResultCode checkResult = ResultOk,
                              ResultCode runResult = ResultOk)
        : command_(std::move(command)), checkResult_(checkResult), runResult_(runResult) {}

    ResultCode executeCommand(const char* category, const char* name,
                              bool checkOnly) noexcept override {
        calls.push_back(std::string(checkOnly ? "check " : "run ") + category + "/" + name);
        if (command_ != name)
            return ResultFalse;
        return checkOnly ? checkResult_ : runResult_;
    }

    std::vector<std::string> calls;

private:
    std::string command_;
    ResultCode checkResult_;
    ResultCode runResult_;
};

} // namespace Brennovar::Testing
