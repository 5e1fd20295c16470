#pragma once

#include "module/funknown.h"

#include <cstddef>

namespace Brennovar {

// Records exchanged with the host by copy: field widths and order are part of the contract.
// Text fields are zero-terminated and zero-filled to their full width; 8-bit text is ASCII.

struct FactoryInfo {
    char vendor[64];
    char url[256];
    char email[128];
    /// 16: the host may ask for class information in 16-bit text (getClassInfoUnicode).
    int32 flags;
};
static_assert(sizeof(FactoryInfo) == 452);
static_assert(offsetof(FactoryInfo, url) == 64 && offsetof(FactoryInfo, email) == 320);
static_assert(offsetof(FactoryInfo, flags) == 448);

struct ClassInfo {
    Guid classId;
    int32 cardinality;
    char category[32];
    char name[64];
};
static_assert(sizeof(ClassInfo) == 116);
static_assert(offsetof(ClassInfo, cardinality) == 16 && offsetof(ClassInfo, category) == 20);
static_assert(offsetof(ClassInfo, name) == 52);

struct ClassInfo2 {
    Guid classId;
    int32 cardinality;
    char category[32];
    char name[64];
    uint32 classFlags;
    char subCategories[128];
    char vendor[64];
    char version[64];
    char sdkVersion[64];
};
static_assert(sizeof(ClassInfo2) == 440);
static_assert(offsetof(ClassInfo2, classFlags) == 116 &&
              offsetof(ClassInfo2, subCategories) == 120);
static_assert(offsetof(ClassInfo2, vendor) == 248 && offsetof(ClassInfo2, version) == 312);
static_assert(offsetof(ClassInfo2, sdkVersion) == 376);

/// The 16-bit fields hold UTF-16 code units.
struct ClassInfoUnicode {
    Guid classId;
    int32 cardinality;
    char category[32];
    char16_t name[64];
    uint32 classFlags;
    char subCategories[128];
    char16_t vendor[64];
    char16_t version[64];
    char16_t sdkVersion[64];
};
static_assert(sizeof(ClassInfoUnicode) == 696);
static_assert(offsetof(ClassInfoUnicode, name) == 52 &&
              offsetof(ClassInfoUnicode, classFlags) == 180);
static_assert(offsetof(ClassInfoUnicode, subCategories) == 184);
static_assert(offsetof(ClassInfoUnicode, vendor) == 312 &&
              offsetof(ClassInfoUnicode, version) == 440);
static_assert(offsetof(ClassInfoUnicode, sdkVersion) == 568);

/// The module's class factory, handed out by GetPluginFactory. Called on the host's thread.
class IPluginFactory : public FUnknown {
public:
    static constexpr Guid iid = Guid::fromText("7A4D811C-5211-4A1F-AED9-D2EE0B43BF9F");
    /// Copies the record when info is not null; always ResultOk.
    virtual ResultCode getFactoryInfo(FactoryInfo* info) noexcept = 0;
    virtual int32 countClasses() noexcept = 0;
    /// ResultInvalidArgument for a null record or an index outside 0..count-1.
    virtual ResultCode getClassInfo(int32 index, ClassInfo* info) noexcept = 0;
    /// On ResultOk *obj carries the only reference to the new object; otherwise it is null.
    virtual ResultCode createInstance(const Guid& classId, const Guid& interfaceId,
                                      void** obj) noexcept = 0;
};

class IPluginFactory2 : public IPluginFactory {
public:
    static constexpr Guid iid = Guid::fromText("0007B650-F24B-4C0B-A464-EDB9F00B2ABB");
    virtual ResultCode getClassInfo2(int32 index, ClassInfo2* info) noexcept = 0;
};

class IPluginFactory3 : public IPluginFactory2 {
public:
    static constexpr Guid iid = Guid::fromText("4555A2AB-C123-4E57-9B12-291036878931");
    virtual ResultCode getClassInfoUnicode(int32 index, ClassInfoUnicode* info) noexcept = 0;
    virtual ResultCode setHostContext(FUnknown* context) noexcept = 0;
};

extern "C" {
using InitDllFunction = bool (*)();
using ExitDllFunction = bool (*)();
/// Hands the caller one reference to the factory, or null.
using GetPluginFactoryFunction = IPluginFactory* (*)();
}

} // namespace Brennovar
