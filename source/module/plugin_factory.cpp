#include "module/plugin_factory.h"

#include <cstdlib>
#include <cstring>

namespace Brennovar {

CPluginFactory* factoryPointer = nullptr;

namespace {

template <std::size_t N>
void copyNarrow(char (&to)[N], const char (&from)[N]) {
    std::memset(to, 0, N);
    std::memcpy(to, from, strnlen(from, N));
}

// Each byte becomes one 16-bit unit, taken as a signed byte (ASCII passes unchanged).
template <std::size_t N>
void widen(char16_t (&to)[N], const char (&from)[N]) {
    std::memset(to, 0, sizeof to);
    for (std::size_t i = 0; i < N && from[i]; ++i)
        to[i] = static_cast<char16_t>(static_cast<signed char>(from[i]));
}

} // namespace

CPluginFactory::CPluginFactory(const FactoryInfo& info) : factoryInfo_(info) {}

CPluginFactory::~CPluginFactory() {
    std::free(classes_);
    if (factoryPointer == this)
        factoryPointer = nullptr;
}

ResultCode CPluginFactory::queryInterface(const Guid& iid, void** obj) noexcept {
    if (!obj)
        return ResultInvalidArgument;
    if (iid == IPluginFactory::iid || iid == IPluginFactory2::iid || iid == IPluginFactory3::iid ||
        iid == FUnknown::iid) {
        addRef();
        *obj = static_cast<IPluginFactory3*>(this);
        return ResultOk;
    }
    *obj = nullptr;
    return ResultNoInterface;
}

ResultCode CPluginFactory::getFactoryInfo(FactoryInfo* info) noexcept {
    if (info)
        std::memcpy(info, &factoryInfo_, sizeof(FactoryInfo));
    return ResultOk;
}

int32 CPluginFactory::countClasses() noexcept {
    return used_;
}

ResultCode CPluginFactory::getClassInfo(int32 index, ClassInfo* info) noexcept {
    if (!info || !validIndex(index))
        return ResultInvalidArgument;
    std::memcpy(info, &classes_[index].info2, sizeof(ClassInfo));
    return ResultOk;
}

ResultCode CPluginFactory::getClassInfo2(int32 index, ClassInfo2* info) noexcept {
    if (!info || !validIndex(index))
        return ResultInvalidArgument;
    std::memcpy(info, &classes_[index].info2, sizeof(ClassInfo2));
    return ResultOk;
}

ResultCode CPluginFactory::getClassInfoUnicode(int32 index, ClassInfoUnicode* info) noexcept {
    if (!info || !validIndex(index))
        return ResultInvalidArgument;
    std::memcpy(info, &classes_[index].infoUnicode, sizeof(ClassInfoUnicode));
    return ResultOk;
}

ResultCode CPluginFactory::createInstance(const Guid& classId, const Guid& interfaceId,
                                          void** obj) noexcept {
    if (!obj)
        return ResultInvalidArgument;
    *obj = nullptr;
    for (int32 i = 0; i < used_; ++i) {
        if (!(classes_[i].info2.classId == classId))
            continue;
        FUnknown* instance = classes_[i].create(classes_[i].context);
        if (!instance)
            return ResultNoInterface;
        ResultCode result = instance->queryInterface(interfaceId, obj);
        instance->release();
        if (result == ResultOk)
            return ResultOk;
        *obj = nullptr;
        return ResultNoInterface;
    }
    return ResultNoInterface;
}

ResultCode CPluginFactory::setHostContext(FUnknown*) noexcept {
    return ResultNotImplemented;
}

bool CPluginFactory::registerClass(const ClassInfo2* info, CreateFunction create,
                                   void* context) noexcept {
    if (!info || !create)
        return false;
    if (used_ == allocated_) {
        int32 grown = allocated_ + 10;
        void* table = std::realloc(classes_, static_cast<std::size_t>(grown) * sizeof(ClassEntry));
        if (!table)
            return false;
        classes_ = static_cast<ClassEntry*>(table);
        allocated_ = grown;
    }
    ClassEntry& entry = classes_[used_];
    std::memcpy(&entry.info2, info, sizeof(ClassInfo2));
    ClassInfoUnicode& wide = entry.infoUnicode;
    std::memset(&wide, 0, sizeof wide);
    wide.classId = info->classId;
    wide.cardinality = info->cardinality;
    wide.classFlags = info->classFlags;
    copyNarrow(wide.category, info->category);
    copyNarrow(wide.subCategories, info->subCategories);
    widen(wide.name, info->name);
    widen(wide.vendor, info->vendor);
    widen(wide.version, info->version);
    widen(wide.sdkVersion, info->sdkVersion);
    entry.create = create;
    entry.context = context;
    ++used_;
    return true;
}

} // namespace Brennovar
