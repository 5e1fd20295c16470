#pragma once

#include "module/funknown.h"

namespace Brennovar {

class IHostProject;

/// Implemented by the component; registered with a project to hear that it is being stored.
class IProjectStorageNotification : public FUnknown {
public:
    static constexpr Guid iid = Guid::fromText("D361D332-604A-4DF7-83B1-7B91A35184DB");
    /// The object (borrowed, valid during the call) receives the stored settings.
    virtual void projectStoring(FUnknown* object) noexcept = 0;
};

/// Project events. Its own id is not part of what the component answers: the component's
/// queryInterface refuses every id but those of IProjectStorageNotification,
/// IProjectNotification2 and FUnknown, so the interface is declared without one.
class IProjectNotification : public FUnknown {
public:
    /// Returns what the project's addStorageNotification answers; 0 for a null project.
    virtual ResultCode projectAttached(IHostProject* project) noexcept = 0;
    virtual ResultCode projectDetached(IHostProject* project) noexcept = 0;
    virtual void projectNotification5() noexcept = 0;
    virtual void projectNotification6() noexcept = 0;
    virtual int32 projectNotification7() noexcept = 0;
};

class IProjectNotification2 : public IProjectNotification {
public:
    static constexpr Guid iid = Guid::fromText("7A43C28E-BAC2-48D1-B72D-1AA220FEBF10");
    /// The object (borrowed, valid during the call) carries the stored settings.
    virtual void projectRestored(FUnknown* object) noexcept = 0;
};

} // namespace Brennovar
