#pragma once

#include "host/plugin_factory.h"
#include "module/counted_face.h"

namespace Brennovar {

/// Creates an instance of a registered class; the result carries one reference, or is null.
using CreateFunction = FUnknown* (*)(void* context);

/// The module's class factory: the vendor record and a table of classes that grows by 10.
class CPluginFactory : public CountedFace<CPluginFactory, IPluginFactory3> {
public:
    explicit CPluginFactory(const FactoryInfo& info);
    CPluginFactory(const CPluginFactory&) = delete;
    CPluginFactory& operator=(const CPluginFactory&) = delete;

    ResultCode queryInterface(const Guid& iid, void** obj) noexcept override;
    ResultCode getFactoryInfo(FactoryInfo* info) noexcept override;
    int32 countClasses() noexcept override;
    ResultCode getClassInfo(int32 index, ClassInfo* info) noexcept override;
    ResultCode createInstance(const Guid& classId, const Guid& interfaceId,
                              void** obj) noexcept override;
    ResultCode getClassInfo2(int32 index, ClassInfo2* info) noexcept override;
    ResultCode getClassInfoUnicode(int32 index, ClassInfoUnicode* info) noexcept override;
    ResultCode setHostContext(FUnknown* context) noexcept override;
    /// Frees the class table; clears the module's factory pointer when it points here.
    virtual ~CPluginFactory();

    /// Adds a class. False for a null record or create function, or when the table cannot grow.
    bool registerClass(const ClassInfo2* info, CreateFunction create, void* context) noexcept;

    /// The number of table entries allocated (grows by exactly 10).
    int32 capacity() const noexcept { return allocated_; }

private:
    struct ClassEntry {
        ClassInfo2 info2;
        ClassInfoUnicode infoUnicode;
        CreateFunction create;
        void* context;
    };

    bool validIndex(int32 index) const noexcept { return index >= 0 && index < used_; }

    FactoryInfo factoryInfo_;
    ClassEntry* classes_ = nullptr;
    int32 used_ = 0;
    int32 allocated_ = 0;
};

/// The live factory, or null; it holds no reference of its own.
extern CPluginFactory* factoryPointer;

} // namespace Brennovar
