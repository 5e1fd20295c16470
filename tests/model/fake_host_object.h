#pragma once

#include "host/host_object.h"
#include "module/implements.h"

#include <map>
#include <string>
#include <vector>

namespace Brennovar::Zintara::Testing {

/// A host object that keeps owned copies of its attributes in a map, records the order in which
/// keys were written and counts reads, so tests can put arbitrary stored values in front of the
/// settings model.
class FakeHostObject final
    : public Vorn::ImplementsImpl<Vorn::Detail::QueryInterfaceEnd<Vorn::Detail::RefCounted>,
                                  Vorn::Directly<IHostObject>, Vorn::Indirectly<>> {
public:
    void put(const std::string& key, const FTaggedValue& value) { attributes[key] = value; }
    bool has(const std::string& key) const { return attributes.contains(key); }
    const FTaggedValue& at(const std::string& key) const { return attributes.at(key); }

    bool isType(const char*) noexcept override { return false; }
    ResultCode setAttribute(const char* key, const FTaggedValue& value,
                            bool flag) noexcept override {
        attributes[key] = value;
        written.emplace_back(key);
        allFlagsTrue = allFlagsTrue && flag;
        return ResultOk;
    }
    ResultCode getAttribute(const char* key, FTaggedValue& value) noexcept override {
        ++reads;
        auto found = attributes.find(key);
        if (found == attributes.end())
            return ResultFalse;
        value = found->second;
        return ResultOk;
    }
    const char16_t* getName() noexcept override { return u""; }
    ResultCode setName(IHierarchyNode*, const char16_t*, IProjectEdit*) noexcept override {
        return ResultNotImplemented;
    }
    ResultCode setSelected(IHierarchyNode*, bool) noexcept override { return ResultNotImplemented; }
    double getStart(IHierarchyNode*) noexcept override { return 0.0; }
    ResultCode setStart(IHierarchyNode*, double, IProjectEdit*) noexcept override {
        return ResultNotImplemented;
    }
    ResultCode setLength(IHierarchyNode*, double, IProjectEdit*) noexcept override {
        return ResultNotImplemented;
    }
    double getEnd(IHierarchyNode*) noexcept override { return 0.0; }
    FUnknown* getParent() noexcept override { return nullptr; }

    std::map<std::string, FTaggedValue> attributes;
    std::vector<std::string> written;
    bool allFlagsTrue = true;
    int reads = 0;
};

} // namespace Brennovar::Zintara::Testing
