// The engine's own share of a run, without a host behind it: reading, deselecting, grouping and
// sorting N selected events spread over 1 000 tracks, then cutting every group into ranges.
// The made-up objects answer in constant time, so any growth of the time per event beyond
// constant comes from the engine itself.

#include "engine/marker_creator.h"
#include "host/selection_service.h"
#include "model/model.h"
#include "module/host_context.h"

#include <benchmark/benchmark.h>
#include <cstring>
#include <deque>
#include <vector>

namespace {

using namespace Brennovar;

/// Answers its own interface; references are not counted (everything lives for the benchmark).
template <class Interface>
class Uncounted : public Interface {
public:
    ResultCode queryInterface(const Guid& id, void** obj) noexcept override {
        bool answers = id == FUnknown::iid;
        if constexpr (requires { Interface::iid; })
            answers = answers || id == Interface::iid;
        *obj = answers ? static_cast<Interface*>(this) : nullptr;
        return answers ? ResultOk : ResultNoInterface;
    }
    uint32 addRef() noexcept override { return 2; }
    uint32 release() noexcept override { return 1; }
};

class Object : public Uncounted<IHostObject> {
public:
    Object(const char* type, double start, double end) : type_(type), start_(start), end_(end) {}
    bool isType(const char* typeName) noexcept override {
        return std::strcmp(typeName, type_) == 0;
    }
    ResultCode setAttribute(const char*, const FTaggedValue&, bool) noexcept override {
        return ResultOk;
    }
    ResultCode getAttribute(const char*, FTaggedValue&) noexcept override { return ResultFalse; }
    const char16_t* getName() noexcept override { return u"Take"; }
    ResultCode setName(IHierarchyNode*, const char16_t*, IProjectEdit*) noexcept override {
        return ResultOk;
    }
    ResultCode setSelected(IHierarchyNode*, bool selected) noexcept override {
        selected_ = selected;
        return ResultOk;
    }
    double getStart(IHierarchyNode*) noexcept override { return start_; }
    ResultCode setStart(IHierarchyNode*, double, IProjectEdit*) noexcept override {
        return ResultOk;
    }
    ResultCode setLength(IHierarchyNode*, double, IProjectEdit*) noexcept override {
        return ResultOk;
    }
    double getEnd(IHierarchyNode*) noexcept override { return end_; }
    FUnknown* getParent() noexcept override { return nullptr; }

private:
    const char* type_;
    double start_;
    double end_;
    bool selected_ = true;
};

class Node : public Uncounted<IHierarchyNode> {
public:
    Node(IHostObject* object, IHierarchyNode* parent) : object_(object), parent_(parent) {}
    IHierarchyNode* getParentNode() noexcept override { return parent_; }
    IHostObject* getObject() noexcept override { return object_; }

private:
    IHostObject* object_;
    IHierarchyNode* parent_;
};

class Selection : public Uncounted<ISelectionService> {
public:
    void* getContext() noexcept override { return this; }
    ResultCode refresh(void*, int32) noexcept override { return ResultOk; }
    int32 getCount(void*) noexcept override { return static_cast<int32>(entries.size()); }
    ResultCode getAt(void*, int32 index, FUnknown** object,
                     IHierarchyNode** node) noexcept override {
        *object = entries[static_cast<std::size_t>(index)].first;
        *node = entries[static_cast<std::size_t>(index)].second;
        return ResultOk;
    }
    std::vector<std::pair<FUnknown*, IHierarchyNode*>> entries;
};

class Provider : public Uncounted<IHostObjectProvider> {
public:
    explicit Provider(Selection& selection) : selection_(selection) {}
    ResultCode getObject(const Guid& id, void** obj) noexcept override {
        if (id == ISelectionService::iid)
            return selection_.queryInterface(id, obj);
        *obj = nullptr;
        return ResultNoInterface;
    }

private:
    Selection& selection_;
};

constexpr int kTracks = 1000;

void BM_PrepareAndCut(benchmark::State& state) {
    const int64_t events = state.range(0);
    std::deque<Object> objects;
    std::deque<Node> nodes;
    Selection selection;
    Provider provider(selection);
    std::vector<Node*> trackNodes;
    for (int t = 0; t < kTracks; ++t)
        trackNodes.push_back(&nodes.emplace_back(&objects.emplace_back("track", 0, 0), nullptr));
    // Dealt round-robin and in falling start order, so every group needs sorting.
    for (int64_t i = 0; i < events; ++i) {
        const double start = static_cast<double>(events - i) * 2.0 / kTracks;
        Object& event = objects.emplace_back("audio", start, start + (i % 3 == 0 ? 3.0 : 1.0));
        Node& node = nodes.emplace_back(&event, trackNodes[static_cast<std::size_t>(i % kTracks)]);
        selection.entries.emplace_back(&event, &node);
    }
    Zintara::hostObjectProvider() = &provider;
    Zintara::Model settings;
    for (auto _ : state) {
        Zintara::MarkerCreator creator(settings);
        creator.prepare();
        std::vector<Zintara::SourceTrackGroup> groups = creator.groups();
        std::size_t ranges = 0;
        Zintara::MarkerRange range;
        for (Zintara::SourceTrackGroup& group : groups)
            while (Zintara::MarkerCreator::nextRange(group, true, range))
                ++ranges;
        benchmark::DoNotOptimize(ranges);
    }
    Zintara::hostObjectProvider() = nullptr;
    state.counters["time_per_event"] =
        benchmark::Counter(static_cast<double>(events) * static_cast<double>(state.iterations()),
                           benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}

BENCHMARK(BM_PrepareAndCut)
    ->Arg(10'000)
    ->Arg(100'000)
    ->Arg(1'000'000)
    ->Unit(benchmark::kMillisecond);

} // namespace
