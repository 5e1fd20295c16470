#pragma once

#include "text/text_string.h"

#include <string>

namespace Brennovar::Zintara {

// The three groups that place a source entry in the dialog's source menu. Entries hold these
// pointers, so a group can be recognised by identity as well as by value.
inline constexpr char kAttributeGroupNone[] = "None";
inline constexpr char kAttributeGroupMedia[] = "Media";
inline constexpr char kAttributeGroupAudioAssets[] = "AudioAssets";

/// One entry of the attribute catalogue: a source attribute that can be read for a marker or a
/// target marker attribute that can be written. Entries are held through shared handles; the
/// interface has no destroy operation, so its destructor is not public.
class IMappingAttribute {
public:
    /// The key, a constant string of the module; the entry does not own it.
    virtual const char* getKey() const noexcept = 0;
    /// A copy of the English display name (UTF-8).
    virtual std::string getName() const = 0;
    /// The English display name as 16-bit text, converted on first use and kept by the entry.
    virtual const char16_t* getTitle() const noexcept = 0;
    /// One of kAttributeGroupNone, kAttributeGroupMedia, kAttributeGroupAudioAssets.
    virtual const char* getGroup() const noexcept = 0;
    /// Set while a mapping row has this entry as its target; never set for source entries.
    virtual bool isUsed() const noexcept = 0;
    virtual void setUsed(bool used) noexcept = 0;

protected:
    IMappingAttribute() = default;
    IMappingAttribute(const IMappingAttribute&) = default;
    IMappingAttribute& operator=(const IMappingAttribute&) = default;
    ~IMappingAttribute() = default;
};

class MappingAttribute final : public IMappingAttribute {
public:
    /// Key and group are shared constants that must outlive the entry; the name is taken over.
    MappingAttribute(const char* key, std::string name, const char* group, bool used) noexcept;

    const char* getKey() const noexcept override { return key_; }
    std::string getName() const override { return name_; }
    const char16_t* getTitle() const noexcept override;
    const char* getGroup() const noexcept override { return group_; }
    bool isUsed() const noexcept override { return used_; }
    void setUsed(bool used) noexcept override { used_ = used; }

private:
    const char* key_;
    std::string name_;
    // The name as 16-bit text; empty until first asked for.
    mutable String title_;
    const char* group_;
    bool used_;
};

} // namespace Brennovar::Zintara
