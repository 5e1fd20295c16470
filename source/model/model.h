#pragma once

#include "model/mapping_model.h"
#include "module/funknown.h"

namespace Brennovar::Zintara {

/// The kind of marker a run creates; the index of the dialog's "markerType" switch.
enum MarkerType : int32 {
    kPositionMarker = 0,
    kCycleMarker = 1,
};

/// Which marker track receives the markers; the index in the "markerTargetTrackType" menu.
enum TargetTrackType : int32 {
    kActiveMarkerTrack = 0,
    kNewMarkerTrack = 1,
    kNewMarkerTrackPerSourceTrack = 2,
};

/// The settings for creating markers. Setters store what they are given without a range check
/// and tell no one; values outside the enumerations make a run create no markers.
class IModel {
public:
    virtual int32 getMarkerType() const noexcept = 0;
    virtual void setMarkerType(int32 markerType) noexcept = 0;
    virtual int32 getTargetTrackType() const noexcept = 0;
    virtual void setTargetTrackType(int32 targetTrackType) noexcept = 0;
    virtual bool getCombineAdjacent() const noexcept = 0;
    virtual void setCombineAdjacent(bool combine) noexcept = 0;
    virtual IMappingModel& getMappingModel() noexcept = 0;
    virtual const IMappingModel& getMappingModel() const noexcept = 0;

protected:
    IModel() = default;
    IModel(const IModel&) = default;
    IModel& operator=(const IModel&) = default;
    ~IModel() = default;
};

class Model final : public IModel {
public:
    /// Cycle markers on the active marker track, combining on, the full catalogue and the two
    /// default rows.
    Model();
    /// Field by field; the mapping model by its deep copy (so a copy has no listeners).
    Model(const Model&) = default;
    Model& operator=(const Model&) = default;
    Model(Model&&) noexcept = default;
    Model& operator=(Model&&) noexcept = default;
    ~Model() = default;

    int32 getMarkerType() const noexcept override { return markerType_; }
    void setMarkerType(int32 markerType) noexcept override { markerType_ = markerType; }
    int32 getTargetTrackType() const noexcept override { return targetTrackType_; }
    void setTargetTrackType(int32 targetTrackType) noexcept override {
        targetTrackType_ = targetTrackType;
    }
    bool getCombineAdjacent() const noexcept override { return combineAdjacent_; }
    void setCombineAdjacent(bool combine) noexcept override { combineAdjacent_ = combine; }
    IMappingModel& getMappingModel() noexcept override { return mappingModel_; }
    const IMappingModel& getMappingModel() const noexcept override { return mappingModel_; }

    /// Writes the settings as attributes of the object's IHostObject face; does nothing when
    /// the object is null or has no such face.
    void store(FUnknown* object) const noexcept;
    /// Reads back what store wrote; settings the object lacks keep their current values.
    void restore(FUnknown* object) noexcept;

private:
    int32 markerType_ = kCycleMarker;
    int32 targetTrackType_ = kActiveMarkerTrack;
    bool combineAdjacent_ = true;
    MappingModel mappingModel_;
};

} // namespace Brennovar::Zintara
