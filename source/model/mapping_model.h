#pragma once

#include "model/mapping_attribute.h"
#include "model/mapping_change_event.h"
#include "model/mapping_entry.h"

#include <memory>
#include <vector>

namespace Brennovar::Zintara {

using MappingAttributeHandle = std::shared_ptr<IMappingAttribute>;
using MappingAttributeList = std::vector<MappingAttributeHandle>;
using MappingList = std::vector<MappingEntry>;

/// The attribute mapping of one settings model: the source and target catalogues and the
/// ordered mapping rows. A target entry is the target of at most one row, and its used flag is
/// set exactly while a row has it. Every change is reported to the listeners, in list order,
/// after it is complete. Row indices are positions in the row list.
class IMappingModel {
public:
    /// Appends an entry to the source catalogue (no duplicate check).
    virtual void addSourceAttribute(MappingAttributeHandle attribute) = 0;
    /// Appends an entry to the target catalogue (no duplicate check).
    virtual void addTargetAttribute(MappingAttributeHandle attribute) = 0;
    virtual const MappingAttributeList& getSourceAttributes() const noexcept = 0;
    virtual const MappingAttributeList& getTargetAttributes() const noexcept = 0;
    /// The first source entry with exactly this key; std::out_of_range ("entry not found") when
    /// none has it.
    virtual const MappingAttributeHandle& getSourceAttribute(const char* key) const = 0;
    /// The first target entry with exactly this key; std::out_of_range as above.
    virtual const MappingAttributeHandle& getTargetAttribute(const char* key) const = 0;
    /// The rows, modifiable: the only way to set a row's data value.
    virtual MappingList& getMappings() noexcept = 0;
    virtual const MappingList& getMappings() const noexcept = 0;
    /// Appends a row and sets both sides; when either key is refused the row is removed again.
    /// Listeners see the added row, each successful change and, on refusal, the removal.
    virtual void addMapping(const char* sourceKey, const char* targetKey) = 0;
    /// Appends an empty row and returns its index.
    virtual int32 addMapping() = 0;
    /// False for a bad index or a key that no source entry has.
    virtual bool setMappingSource(int32 index, const char* key) = 0;
    /// False for a bad index, an unknown key, or a target that any row (this one included)
    /// already has.
    virtual bool setMappingTarget(int32 index, const char* key) = 0;
    /// Silent; a bad index does nothing.
    virtual void clearMappingSource(int32 index) noexcept = 0;
    /// Silent; releases the target's used flag. A bad index does nothing.
    virtual void clearMappingTarget(int32 index) noexcept = 0;
    /// Removes the row and releases its target; false for a bad index.
    virtual bool removeMapping(int32 index) = 0;
    /// Removes every row, last row first.
    virtual void removeAllMappings() = 0;
    /// Appends a listener unless it is null or already registered; the model does not own it.
    virtual void addListener(MappingChangeListener* listener) = 0;
    /// Removes the listener's registration; an unknown pointer does nothing.
    virtual void removeListener(MappingChangeListener* listener) noexcept = 0;

protected:
    IMappingModel() = default;
    IMappingModel(const IMappingModel&) = default;
    IMappingModel& operator=(const IMappingModel&) = default;
    ~IMappingModel() = default;
};

class MappingModel final : public IMappingModel {
public:
    MappingModel() = default;
    /// A deep copy: new catalogue entries, rows with their sides and data values (incomplete
    /// rows included) referring only to the copy's entries, used flags matching the copy's
    /// rows, and no listeners.
    MappingModel(const MappingModel& other);
    /// Becomes a deep copy of other, as the copy constructor makes it; this model's listeners
    /// are dropped.
    MappingModel& operator=(const MappingModel& other);
    /// Takes over the other model's entries, rows and listeners; the rows stay valid because
    /// the entries move with them.
    MappingModel(MappingModel&& other) noexcept = default;
    MappingModel& operator=(MappingModel&& other) noexcept = default;
    ~MappingModel() = default;

    void addSourceAttribute(MappingAttributeHandle attribute) override;
    void addTargetAttribute(MappingAttributeHandle attribute) override;
    const MappingAttributeList& getSourceAttributes() const noexcept override { return sources_; }
    const MappingAttributeList& getTargetAttributes() const noexcept override { return targets_; }
    const MappingAttributeHandle& getSourceAttribute(const char* key) const override;
    const MappingAttributeHandle& getTargetAttribute(const char* key) const override;
    MappingList& getMappings() noexcept override { return rows_; }
    const MappingList& getMappings() const noexcept override { return rows_; }
    void addMapping(const char* sourceKey, const char* targetKey) override;
    int32 addMapping() override;
    bool setMappingSource(int32 index, const char* key) override;
    bool setMappingTarget(int32 index, const char* key) override;
    void clearMappingSource(int32 index) noexcept override;
    void clearMappingTarget(int32 index) noexcept override;
    bool removeMapping(int32 index) override;
    void removeAllMappings() override;
    void addListener(MappingChangeListener* listener) override;
    void removeListener(MappingChangeListener* listener) noexcept override;

private:
    bool isValidIndex(int32 index) const noexcept;
    void notify(MappingChangeEvent::Kind kind, const char* key, int32 index);

    MappingAttributeList sources_;
    MappingAttributeList targets_;
    MappingList rows_;
    std::vector<MappingChangeListener*> listeners_;
};

} // namespace Brennovar::Zintara
