#pragma once

#include "host/i_project.h"
#include "host/plugin_base.h"
#include "host/project_notifications.h"

#include <string>
#include <vector>

namespace Brennovar::Testing {

/// Stand-ins for the objects a module hands to the host. Each keeps a plain count (starting at
/// the creator's 1) so tests can check that the host gives back every reference it takes.
class ClientCount {
public:
    int32 count() const { return count_; }

protected:
    uint32 up() { return static_cast<uint32>(++count_); }
    uint32 down() { return static_cast<uint32>(--count_); }

private:
    int32 count_ = 1;
};

/// Listens to project events as the module does: registers itself for storage notifications
/// when a project is attached, and records every call with the pointer it carried.
class RecordingListener : public ClientCount,
                          public IProjectNotification2,
                          public IProjectStorageNotification {
public:
    struct Call {
        std::string what;
        const void* object;
    };

    ResultCode queryInterface(const Guid&, void** obj) noexcept override {
        *obj = nullptr;
        return ResultNoInterface;
    }
    uint32 addRef() noexcept override { return up(); }
    uint32 release() noexcept override { return down(); }

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
    }

    std::vector<Call> calls;
};

/// Runs one command; records every executeCommand call as "check <name>" or "run <name>".
class RecordingHandler : public ClientCount, public IActionHandler {
public:
    explicit RecordingHandler(std::string command, ResultCode checkResult = ResultOk,
                              ResultCode runResult = ResultOk)
        : command_(std::move(command)), checkResult_(checkResult), runResult_(runResult) {}

    ResultCode queryInterface(const Guid&, void** obj) noexcept override {
        *obj = nullptr;
        return ResultNoInterface;
    }
    uint32 addRef() noexcept override { return up(); }
    uint32 release() noexcept override { return down(); }

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
