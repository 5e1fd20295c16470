#include "host/command_registry.h"
#include "host/dialog_service.h"
#include "host/host_object_provider.h"
#include "host/media.h"
#include "host/menus.h"
#include "host/selection_service.h"
#include "host/translation_service.h"
#include "module/owned.h"
#include "refhost/core/host.h"
#include "refhost/project/project_object.h"
#include "refhost/services/object_provider.h"

#include <gtest/gtest.h>

namespace Brennovar::RefHost {
namespace {

class FaultPlanTest : public ::testing::Test {
protected:
    FaultPlanTest() : project(host.createProject("Song")) {
        track = &project.addTrack(ObjectKind::kMarkerTrack, "Markers");
        host.openProject(project);
    }

    ResultCode get(const Guid& id) {
        Owned<FUnknown> object;
        ResultCode result = provider()->getObject(id, object.putVoid());
        EXPECT_EQ(result == ResultOk, object.get() != nullptr);
        return result;
    }
    IHostObjectProvider* provider() { return static_cast<IHostObjectProvider*>(host.context()); }

    Host host;
    Project& project;
    ProjectObject* track = nullptr;
};

TEST_F(FaultPlanTest, EveryServiceAndMarkerClassIsThereUnlessMissedOrRefused) {
    for (const Guid& id :
         {IDialogService::iid, ITranslationService::iid, ICommandRegistry::iid,
          IActionHandlerRegistry::iid, IProjectAccess::iid, ISelectionService::iid,
          IProjectEdit::iid, IMediaAttributeService::iid, HostClass::kPositionMarker,
          HostClass::kCycleMarker, HostClass::kMenuParameter, HostClass::kToggleParameter,
          HostClass::kIntegerParameter, HostClass::kTextParameter, HostClass::kStringListParameter,
          IMenuItem::iid, ISubMenu::iid})
        EXPECT_EQ(get(id), ResultOk);
    for (const Guid& id : {IProjectHierarchy::iid, FUnknown::iid})
        EXPECT_EQ(get(id), ResultNoInterface);
    EXPECT_EQ(provider()->getObject(IProjectEdit::iid, nullptr), ResultInvalidArgument);

    host.faults().missService(IMediaAttributeService::iid);
    host.faults().refuseClass(HostClass::kCycleMarker);
    host.faults().refuseClass(IMenuItem::iid);
    EXPECT_EQ(get(IMediaAttributeService::iid), ResultNoInterface);
    EXPECT_EQ(get(HostClass::kCycleMarker), ResultNoInterface);
    EXPECT_EQ(get(IMenuItem::iid), ResultNoInterface);
    EXPECT_EQ(get(HostClass::kPositionMarker), ResultOk);
    EXPECT_TRUE(host.references().clean()) << host.references().text();
}

TEST_F(FaultPlanTest, OnlyTheNthGetObjectAndOnlyRefusedInterfacesFail) {
    host.faults().failGetObjectAfter = 3;
    EXPECT_EQ(get(IProjectEdit::iid), ResultOk);
    EXPECT_EQ(get(IProjectEdit::iid), ResultOk);
    EXPECT_EQ(get(IProjectEdit::iid), ResultFailed);
    EXPECT_EQ(get(IProjectEdit::iid), ResultOk);
    EXPECT_EQ(host.provider().calls(), 4u);

    host.faults().refuseInterface(IHostTrack::iid);
    void* face = nullptr;
    EXPECT_EQ(track->queryInterface(IHostTrack::iid, &face), ResultNoInterface);
    EXPECT_EQ(face, nullptr);
    EXPECT_EQ(track->queryInterface(IHostObject::iid, &face), ResultOk);
    static_cast<FUnknown*>(face)->release();
}

TEST_F(FaultPlanTest, ProjectFaultsTakeAwayTracksNodesAndTheProject) {
    host.faults().noActiveMarkerTrack = true;
    EXPECT_EQ(project.getActiveMarkerTrack(), nullptr);
    host.faults().failCreateTrack = true;
    EXPECT_EQ(project.createTrack("marker"), nullptr);
    host.faults().failGetNode = true;
    EXPECT_EQ(project.getNode(nullptr), nullptr);
    EXPECT_EQ(project.getNode(track->hostObject()), nullptr);

    host.faults().noProject = true;
    {
        Owned<IProjectAccess> access;
        provider()->getObject(IProjectAccess::iid, access.putVoid());
        EXPECT_EQ(access->getProject(), nullptr);
        Owned<ISelectionService> selection;
        provider()->getObject(ISelectionService::iid, selection.putVoid());
        EXPECT_EQ(selection->getContext(), nullptr);
        Owned<IProjectEdit> edit;
        provider()->getObject(IProjectEdit::iid, edit.putVoid());
        EXPECT_EQ(edit->beginEdit(1), ResultFalse);
    }
    EXPECT_EQ(get(HostClass::kCycleMarker), ResultFailed);
    EXPECT_EQ(host.currentProject(), &project) << "the project itself stays open";
    EXPECT_TRUE(host.references().clean()) << host.references().text();
}

} // namespace
} // namespace Brennovar::RefHost
