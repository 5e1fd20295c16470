#include "frontend/notification_manager.h"
#include "host/project.h"
#include "module/change_listener.h"
#include "module/owned.h"

#include <gtest/gtest.h>
#include <vector>

using namespace Brennovar;
using namespace Brennovar::Zintara;

namespace {

struct Delivery {
    int id;
    int32 kind;
    FUnknown* object;
};

Owned<NotificationManager::Listener> recorder(std::vector<Delivery>& log, int id) {
    return Owned<NotificationManager::Listener>(
        Core::makeChangeListener<NotificationEvent>([&log, id](const NotificationEvent& event) {
            log.push_back({id, event.kind, event.object});
        }));
}

} // namespace

TEST(NotificationManagerTest, DeliversStoreAndRestoreToEachListenerOnceInOrder) {
    NotificationManager manager;
    std::vector<Delivery> log;
    auto first = recorder(log, 1);
    auto second = recorder(log, 2);
    manager.addListener(first.get());
    manager.addListener(second.get());
    manager.addListener(first.get());
    manager.addListener(nullptr);
    FUnknown* object = manager.storageFace();
    manager.projectStoring(object);
    manager.projectRestored(nullptr);
    ASSERT_EQ(log.size(), 4u);
    EXPECT_EQ(log[0].id, 1);
    EXPECT_EQ(log[0].kind, 0);
    EXPECT_EQ(log[0].object, object);
    EXPECT_EQ(log[1].id, 2);
    EXPECT_EQ(log[2].kind, 1);

    manager.removeListener(first.get());
    manager.removeListener(first.get());
    log.clear();
    manager.projectRestored(object);
    ASSERT_EQ(log.size(), 1u);
    EXPECT_EQ(log[0].id, 2);
    manager.removeListener(second.get());
}

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
