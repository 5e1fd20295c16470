#include "frontend/notification_manager.h"
#include "host/i_project.h"

#include <gtest/gtest.h>

using namespace Brennovar;
using namespace Brennovar::Zintara;

TEST(NotificationManagerTest, FacesAndRefusedIds) {
    NotificationManager manager;
    IProjectNotification2* project = manager.projectFace();
    void* face = nullptr;
    ASSERT_EQ(project->queryInterface(FUnknown::iid, &face), ResultOk);
    EXPECT_EQ(face, static_cast<void*>(manager.storageFace()));
    static_cast<FUnknown*>(face)->release();
    ASSERT_EQ(manager.storageFace()->queryInterface(IProjectNotification2::iid, &face), ResultOk);
    EXPECT_EQ(face, static_cast<void*>(project));
    static_cast<FUnknown*>(face)->release();
    EXPECT_EQ(project->queryInterface(IHostObject::iid, &face), ResultNoInterface);
    EXPECT_EQ(face, nullptr);
    EXPECT_EQ(manager.referenceCount(), 1);
    EXPECT_EQ(project->projectNotification7(), 0);
    EXPECT_EQ(project->projectAttached(nullptr), ResultOk);
    EXPECT_EQ(project->projectDetached(nullptr), ResultOk);
}
