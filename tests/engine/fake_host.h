#pragma once

#include "host/host_object.h"
#include "host/i_host_object_provider.h"
#include "host/i_selection_service.h"

#include <map>
#include <set>
#include <string>
#include <utility>
#include <vector>

namespace Brennovar::Zintara::Testing {

/// An FUnknown face that answers its own interface (when it has an id) and counts references,
/// so a test can check that every reference it handed out came back.
template <class Interface>
class FakeFace : public Interface {
public:
    ResultCode queryInterface(const Guid& id, void** obj) noexcept override {
        if (!obj)
            return ResultInvalidArgument;
        bool answers = id == FUnknown::iid;
        if constexpr (requires { Interface::iid; })
            answers = answers || id == Interface::iid;
        if (!answers) {
            *obj = nullptr;
            return ResultNoInterface;
        }
        addRef();
        *obj = static_cast<Interface*>(this);
        return ResultOk;
    }
    uint32 addRef() noexcept override { return static_cast<uint32>(++references); }
    uint32 release() noexcept override { return static_cast<uint32>(--references); }

    int32 references = 0;
};

/// A host object with fixed kinds and a position. It keeps owned copies of its attributes,
/// records the order in which keys were written and counts reads, so tests can put arbitrary
/// stored values in front of the settings model.
class FakeObject : public FakeFace<IHostObject> {
public:
    explicit FakeObject(std::u16string objectName = {}, std::set<std::string> objectTypes = {},
                        double objectStart = 0, double objectEnd = 0)
        : name(std::move(objectName)), types(std::move(objectTypes)), start(objectStart),
          end(objectEnd) {}

    void put(const std::string& key, const FTaggedValue& value) { attributes[key] = value; }
    const FTaggedValue& at(const std::string& key) const { return attributes.at(key); }

    bool isType(const char* typeName) noexcept override { return types.count(typeName) != 0; }
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
    const char16_t* getName() noexcept override { return name.c_str(); }
    ResultCode setName(IHierarchyNode*, const char16_t* text, IProjectEdit*) noexcept override {
        name = text;
        return ResultOk;
    }
    ResultCode setSelected(IHierarchyNode*, bool flag) noexcept override {
        selected = flag;
        return ResultOk;
    }
    double getStart(IHierarchyNode*) noexcept override { return start; }
    ResultCode setStart(IHierarchyNode*, double, IProjectEdit*) noexcept override {
        return ResultOk;
    }
    ResultCode setLength(IHierarchyNode*, double, IProjectEdit*) noexcept override {
        return ResultOk;
    }
    double getEnd(IHierarchyNode*) noexcept override { return end; }
    FUnknown* getParent() noexcept override { return nullptr; }

    std::u16string name;
    std::set<std::string> types;
    double start;
    double end;
    bool selected = true;
    std::map<std::string, FTaggedValue> attributes;
    std::vector<std::string> written;
    bool allFlagsTrue = true;
    int reads = 0;
};

/// A place in a made-up hierarchy.
class FakeNode : public FakeFace<IHierarchyNode> {
public:
    explicit FakeNode(IHostObject* nodeObject, IHierarchyNode* parentNode = nullptr)
        : object(nodeObject), parent(parentNode) {}

    IHierarchyNode* getParentNode() noexcept override { return parent; }
    IHostObject* getObject() noexcept override { return object; }

    IHostObject* object;
    IHierarchyNode* parent;
};

/// A selection of made-up objects, in the given order.
class FakeSelection : public FakeFace<ISelectionService> {
public:
    void* getContext() noexcept override { return this; }
    ResultCode refresh(void*, int32 flags) noexcept override {
        refreshFlags.push_back(flags);
        return ResultOk;
    }
    int32 getCount(void*) noexcept override { return static_cast<int32>(entries.size()); }
    ResultCode getAt(void*, int32 index, FUnknown** object,
                     IHierarchyNode** node) noexcept override {
        ++reads;
        *object = entries[static_cast<std::size_t>(index)].first;
        *node = entries[static_cast<std::size_t>(index)].second;
        return ResultOk;
    }

    std::vector<std::pair<FUnknown*, IHierarchyNode*>> entries;
    std::vector<int32> refreshFlags;
    int reads = 0;
};

/// Serves the made-up selection and nothing else.
class SelectionProvider : public FakeFace<IHostObjectProvider> {
public:
    explicit SelectionProvider(ISelectionService& selectionService) : selection(selectionService) {}

    ResultCode getObject(const Guid& id, void** obj) noexcept override {
        if (id == ISelectionService::iid)
            return selection.queryInterface(id, obj);
        *obj = nullptr;
        return ResultNoInterface;
    }

    ISelectionService& selection;
};

} // namespace Brennovar::Zintara::Testing
