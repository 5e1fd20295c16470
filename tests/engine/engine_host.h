#pragma once

#include "engine/marker_counter.h"
#include "engine/marker_creator.h"
#include "model/model.h"
#include "module/host_context.h"
#include "refhost/host/host.h"
#include "refhost/project/audio_event.h"
#include "refhost/project/clip.h"
#include "refhost/project/project_object.h"

#include <cstdio>
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace Brennovar::Zintara::Testing {

using RefHost::ObjectKind;

/// A reference host with one open project "Song", installed as the module-wide host object
/// provider for the test. Afterwards the provider is taken back and the host's accounting must
/// show that every reference the engine obtained was released.
class EngineHostTest : public ::testing::Test {
protected:
    EngineHostTest() : project(host.createProject("Song")) {
        host.openProject(project);
        provider_ = Owned<IHostObjectProvider>::query(host.context());
        hostObjectProvider() = provider_.get();
        markerCounter() = 0;
        settings.getMappingModel().removeAllMappings();
    }
    ~EngineHostTest() override {
        hostObjectProvider() = nullptr;
        provider_.reset();
        const RefHost::ReferenceReport report = host.references();
        EXPECT_TRUE(report.clean()) << report.text();
    }

    RefHost::ProjectObject& track(std::string_view name,
                                  ObjectKind kind = ObjectKind::kAudioTrack) {
        return project.addTrack(kind, name);
    }
    RefHost::ProjectObject& markerTrack(std::string_view name = "Markers") {
        return project.addTrack(ObjectKind::kMarkerTrack, name);
    }
    /// A selected audio event.
    RefHost::AudioEvent& event(RefHost::ProjectObject& parent, std::string_view name, double start,
                               double length, RefHost::Clip* clip = nullptr,
                               std::string_view description = {}) {
        RefHost::AudioEvent& added =
            project.addAudioEvent(parent, name, start, length, clip, description);
        project.select(added);
        return added;
    }
    /// A selected object of any kind.
    RefHost::ProjectObject& object(RefHost::ProjectObject& parent, ObjectKind kind,
                                   std::string_view name, double start = 0, double length = 1) {
        RefHost::ProjectObject& added = project.addObject(parent, kind, name, start, length);
        project.select(added);
        return added;
    }

    void map(const char* source, const char* target) {
        settings.getMappingModel().addMapping(source, target);
    }
    void mapFreeText(const char* target, const FTaggedValue& text) {
        IMappingModel& mapping = settings.getMappingModel();
        const int32 row = mapping.addMapping();
        ASSERT_TRUE(mapping.setMappingSource(row, "FreeText"));
        ASSERT_TRUE(mapping.setMappingTarget(row, target));
        mapping.getMappings()[static_cast<std::size_t>(row)].data = text;
    }

    ResultCode runEngine() {
        MarkerCreator creator(settings);
        return creator.run();
    }

    /// The names of the project's marker tracks, in project order.
    std::vector<std::string> markerTrackNames() const {
        std::vector<std::string> names;
        const RefHost::ProjectState state = host.state();
        for (const RefHost::ObjectState* found : state.markerTracks())
            names.push_back(found->name);
        return names;
    }
    /// Each marker of the named marker track as "kind name start+length".
    std::vector<std::string> markersOn(const std::string& trackName) const {
        const RefHost::ProjectState state = host.state();
        std::vector<std::string> lines;
        for (const RefHost::ObjectState* found : state.markerTracks())
            if (found->name == trackName) {
                for (const RefHost::ObjectState& marker : found->children) {
                    char position[64];
                    std::snprintf(position, sizeof position, " %g+%g", marker.start, marker.length);
                    lines.push_back(marker.kind + " " + marker.name + position);
                }
                return lines;
            }
        ADD_FAILURE() << "no marker track " << trackName;
        return lines;
    }

    RefHost::Host host;
    RefHost::Project& project;
    Model settings;

private:
    Owned<IHostObjectProvider> provider_;
};

} // namespace Brennovar::Zintara::Testing
