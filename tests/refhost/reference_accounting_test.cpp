#include "host/i_host_object_provider.h"
#include "host/i_project.h"
#include "host/menus.h"
#include "host/parameters.h"
#include "refhost/controls/host_parameter.h"
#include "refhost/host/host.h"
#include "refhost/project/audio_event.h"
#include "refhost/project/hierarchy_node.h"
#include "refhost/project/project_object.h"

#include <gtest/gtest.h>
#include <vector>

namespace Brennovar::RefHost {
namespace {

class ReferenceAccountingTest : public ::testing::Test {
protected:
    IHostObjectProvider* provider() { return static_cast<IHostObjectProvider*>(host.context()); }

    Host host;
    Project& project = host.createProject("Song");
};

TEST_F(ReferenceAccountingTest, BalancedUseThroughAnyFaceLeavesACleanReport) {
    ProjectObject& track = project.addTrack(ObjectKind::kAudioTrack, "Audio 1");
    host.openProject(project);

    void* access = nullptr;
    ASSERT_EQ(provider()->getObject(IProjectAccess::iid, &access), ResultOk);
    IHostProject* hostProject = static_cast<IProjectAccess*>(access)->getProject();
    IHierarchyNode* node = hostProject->getNode(track.hostObject());
    void* hostTrack = nullptr;
    ASSERT_EQ(track.queryInterface(IHostTrack::iid, &hostTrack), ResultOk);
    static_cast<FUnknown*>(hostTrack)->release();
    node->release();
    static_cast<FUnknown*>(access)->release();

    EXPECT_EQ(host.references().text(), "references: all released (3 references handed out)\n");

    // The project's IHostObject is its root's; a reference taken through the project and given
    // back through the root's face balances.
    void* object = nullptr;
    ASSERT_EQ(project.queryInterface(IHostObject::iid, &object), ResultOk);
    EXPECT_EQ(object, project.hostObject());
    void* hierarchy = nullptr;
    ASSERT_EQ(static_cast<IHostObject*>(object)->queryInterface(IProjectHierarchy::iid, &hierarchy),
              ResultOk);
    EXPECT_EQ(hierarchy, static_cast<IProjectHierarchy*>(&project));
    static_cast<FUnknown*>(object)->release();
    static_cast<FUnknown*>(hierarchy)->release();
    EXPECT_TRUE(host.references().clean()) << host.references().text();
    EXPECT_EQ(project.queryInterface(IHostObject::iid, nullptr), ResultInvalidArgument);
}

TEST_F(ReferenceAccountingTest, AReferenceNotReleasedIsReportedAsALeak) {
    host.openProject(project);
    void* edit = nullptr;
    ASSERT_EQ(provider()->getObject(IProjectEdit::iid, &edit), ResultOk);
    void* marker = nullptr;
    ASSERT_EQ(provider()->getObject(HostClass::kCycleMarker, &marker), ResultOk);
    static_cast<IHostObject*>(marker)->setName(nullptr, u"Verse", nullptr);
    IHostTrack* offered = project.getActiveMarkerTrack();

    EXPECT_EQ(host.references().text(),
              "leak: service IProjectEdit (1 reference not released)\n"
              "leak: cycle-marker 'Verse' (1 reference not released)\n"
              "leak: marker-track 'Markers' (1 reference not released)\n");
    EXPECT_EQ(host.environment().clientReferencesHeld(), 3);

    static_cast<FUnknown*>(edit)->release();
    static_cast<FUnknown*>(marker)->release();
    offered->release();
    EXPECT_TRUE(host.references().clean()) << host.references().text();
}

TEST_F(ReferenceAccountingTest, ADoubleReleaseIsCaughtWithoutFreeingTheObject) {
    ProjectObject& track = project.addTrack(ObjectKind::kMarkerTrack, "Markers");
    host.openProject(project);

    IHierarchyNode* node = project.getNode(track.hostObject());
    ASSERT_NE(node, nullptr);
    EXPECT_EQ(node->release(), 1u) << "the host's own hold remains";
    EXPECT_EQ(node->release(), 1u) << "an over-release changes nothing";
    // The object is still whole and usable by the host.
    EXPECT_EQ(node->getObject(), track.hostObject());

    EXPECT_EQ(host.environment().overReleaseCount(), 1u);
    EXPECT_EQ(host.environment().clientReferencesHeld(), 0);
    EXPECT_EQ(host.references().text(),
              "over-release: node of marker-track 'Markers' (released 1 time more than "
              "referenced)\n");
}

// A dialog's objects go once nobody holds them; a release too many soon after is still caught,
// and the report keeps it after the object is gone.
TEST_F(ReferenceAccountingTest, ObjectsMadeForAClientAloneGoOnceNobodyHoldsThem) {
    const auto makeItem = [&] {
        void* item = nullptr;
        EXPECT_EQ(provider()->getObject(IMenuItem::iid, &item), ResultOk);
        return static_cast<IMenuItem*>(item);
    };
    IMenuItem* first = makeItem();
    first->release();
    first->release();
    for (std::size_t i = 0; i < HostEnvironment::kRetained + 1; ++i)
        makeItem()->release();
    EXPECT_EQ(host.references().text(),
              "over-release: menu item '' (released 1 time more than referenced)\n");
    EXPECT_EQ(host.references().handedOut, HostEnvironment::kRetained + 2);
}

// Titles of any length come back as set, and a menu takes exactly the numbers of the items it
// shows, those of its sub-menus included.
TEST_F(ReferenceAccountingTest, MenusKeepTitlesOfAnyLengthAndTakeTheNumbersOfTheirItems) {
    const auto make = [&](const Guid& id) {
        void* object = nullptr;
        EXPECT_EQ(provider()->getObject(id, &object), ResultOk);
        return static_cast<FUnknown*>(object);
    };
    FUnknown* parameter = make(HostClass::kMenuParameter);
    HostParameter& menu = *host.environment().resolveAs<HostParameter>(parameter);
    auto* sub = static_cast<ISubMenu*>(make(ISubMenu::iid));
    const std::u16string titles[] = {u"", std::u16string(48, u'a'), std::u16string(49, u'b'),
                                     std::u16string(300, u'c')};
    for (const std::u16string& title : titles) {
        auto* item = static_cast<IMenuItem*>(make(IMenuItem::iid));
        EXPECT_EQ(item->setTitle(title.c_str()), ResultOk);
        EXPECT_EQ(title.size() < 49 ? menu.getMenu()->insert(item) : sub->insert(item), ResultOk);
        item->release();
    }
    void* subItem = nullptr;
    ASSERT_EQ(sub->queryInterface(IMenuItem::iid, &subItem), ResultOk);
    menu.getMenu()->insert(static_cast<IMenuItem*>(subItem));
    static_cast<FUnknown*>(subItem)->release();
    sub->release();
    const std::vector<MenuEntry> entries = menu.menuEntries();
    ASSERT_EQ(entries.size(), 3u);
    ASSERT_EQ(entries[2].items.size(), 2u);
    EXPECT_EQ((std::vector<std::u16string>{entries[0].title, entries[1].title,
                                           entries[2].items[0].title, entries[2].items[1].title}),
              std::vector<std::u16string>(std::begin(titles), std::end(titles)));
    EXPECT_EQ(menu.userSetValue(3), ResultOk);
    EXPECT_EQ(menu.userSetValue(4), ResultInvalidArgument);
    parameter->release();
    EXPECT_TRUE(host.references().clean()) << host.references().text();
}

// Objects made for a client alone (menu items, menus, parameters, of several sizes) are
// recognised by their faces while they live; once destroyed, after the host's retention of
// retired objects, their addresses name nothing, and new objects are recognised again.
TEST_F(ReferenceAccountingTest, ObjectsMadeForAClientAreRecognisedWhileTheyLive) {
    const HostEnvironment& environment = host.environment();
    const auto make = [&](int i) {
        static const Guid* const kinds[] = {&IMenuItem::iid, &ISubMenu::iid,
                                            &HostClass::kMenuParameter};
        void* object = nullptr;
        EXPECT_EQ(provider()->getObject(*kinds[i % 3], &object), ResultOk);
        return static_cast<FUnknown*>(object);
    };
    const int count = static_cast<int>(HostEnvironment::kRetained) + 3000;
    std::vector<FUnknown*> made;
    for (int i = 0; i < count; ++i)
        made.push_back(make(i));
    for (FUnknown* object : made)
        ASSERT_NE(environment.resolve(object), nullptr);
    for (FUnknown* object : made)
        object->release();
    EXPECT_EQ(environment.resolve(made.front()), nullptr);
    EXPECT_NE(environment.resolve(made.back()), nullptr);
    for (int i = 0; i < count; ++i) {
        FUnknown* object = make(i);
        ASSERT_NE(environment.resolve(object), nullptr);
        object->release();
    }
    EXPECT_TRUE(host.references().clean()) << host.references().text();
}

#if defined(__SANITIZE_ADDRESS__)
// A client that uses a menu item after the host destroyed it is caught by AddressSanitizer, as it
// would be if the item had been allocated on its own.
TEST_F(ReferenceAccountingTest, AClientUsingADestroyedObjectIsCaught) {
    void* first = nullptr;
    ASSERT_EQ(provider()->getObject(IMenuItem::iid, &first), ResultOk);
    static_cast<FUnknown*>(first)->release();
    for (std::size_t i = 0; i <= HostEnvironment::kRetained; ++i) {
        void* later = nullptr;
        ASSERT_EQ(provider()->getObject(IMenuItem::iid, &later), ResultOk);
        static_cast<FUnknown*>(later)->release();
    }
    EXPECT_DEATH(static_cast<IMenuItem*>(first)->setTitle(u"late"), "use-after-poison");
}
#endif

// A pointer a client passes back is recognised by address alone: each face of each object, in
// a project that fills many blocks of the host's store, names its object; an address inside an
// object that is no face, just past the newest object, or a foreign one names none.
TEST_F(ReferenceAccountingTest, EveryFaceAndNothingElseResolvesToItsObject) {
    ProjectObject& track = project.addTrack(ObjectKind::kAudioTrack, "Audio");
    std::vector<AudioEvent*> events;
    for (int i = 0; i < 3000; ++i)
        events.push_back(&project.addAudioEvent(track, "Take", i, 1.0));
    const HostEnvironment& environment = host.environment();
    for (AudioEvent* event : events) {
        ASSERT_EQ(environment.resolve(event->hostObject()), event);
        ASSERT_EQ(environment.resolve(static_cast<IHostContainer*>(event)), event);
        ASSERT_EQ(environment.resolve(static_cast<IAudioEvent*>(event)), event);
        HierarchyNode& node = event->node();
        ASSERT_EQ(environment.resolve(node.hierarchyNode()), &node);
        ASSERT_EQ(environment.resolve(node.container()), &node);
        ASSERT_EQ(environment.resolve(&event->name()), nullptr);
    }
    const int local = 0;
    EXPECT_EQ(environment.resolve(&local), nullptr);
    EXPECT_EQ(environment.resolve(reinterpret_cast<const char*>(&events.back()->node()) +
                                  sizeof(HierarchyNode)),
              nullptr);
}

} // namespace
} // namespace Brennovar::RefHost
