#include "refhost/project/change_log.h"

#include "refhost/project/project_object.h"

#include <limits>
#include <stdexcept>

namespace Brennovar::RefHost {

namespace {

constexpr int kIndexBits = 29;
constexpr std::uint32_t kIndexMask = (std::uint32_t{1} << kIndexBits) - 1;

} // namespace

template <class Record>
void ChangeLog::append(std::vector<Record>& list, Record record, Kind kind) {
    if (list.size() > kIndexMask)
        throw std::length_error("too many changes in one undo step");
    list.push_back(std::move(record));
    try {
        order_.push_back(static_cast<std::uint32_t>(kind) << kIndexBits |
                         static_cast<std::uint32_t>(list.size() - 1));
    } catch (...) {
        list.pop_back();
        throw;
    }
}

std::uint32_t ChangeLog::keyOf(const std::string& key) {
    auto [found, added] = keyIds_.try_emplace(key, static_cast<std::uint32_t>(keys_.size()));
    if (added) {
        try {
            keys_.push_back(&found->first);
        } catch (...) {
            keyIds_.erase(found);
            throw;
        }
    }
    return found->second;
}

void ChangeLog::add(const NameChange& change) {
    const std::size_t size = texts_.size();
    if (size + change.before.size() + change.after.size() >
        std::numeric_limits<std::uint32_t>::max())
        throw std::length_error("too many names in one undo step");
    const auto offset = [this] { return static_cast<std::uint32_t>(texts_.size()); };
    try {
        Rename rename{change.object, offset(), 0, 0};
        texts_ += change.before;
        rename.after = offset();
        texts_ += change.after;
        rename.end = offset();
        append(renames_, rename, kName);
    } catch (...) {
        texts_.resize(size);
        throw;
    }
}

void ChangeLog::add(const StartChange& change) {
    append(spans_, Span{change.object, change.before, change.after}, kStart);
}

void ChangeLog::add(const LengthChange& change) {
    append(spans_, Span{change.object, change.before, change.after}, kLength);
}

void ChangeLog::add(AttributeChange change) {
    const std::uint32_t key = keyOf(change.key);
    append(attributes_,
           Attribute{change.object, key, std::move(change.before), std::move(change.after)},
           kAttribute);
}

void ChangeLog::add(const Insertion& change) {
    append(insertions_, change, kInsertion);
}

void ChangeLog::revert() const {
    for (auto entry = order_.rbegin(); entry != order_.rend(); ++entry)
        undo(*entry);
}

void ChangeLog::apply() const {
    for (std::uint32_t entry : order_)
        redo(entry);
}

void ChangeLog::undo(std::uint32_t entry) const {
    const std::uint32_t index = entry & kIndexMask;
    switch (entry >> kIndexBits) {
    case kName: {
        const Rename& c = renames_[index];
        c.object->assignName(texts_.substr(c.before, c.after - c.before));
        break;
    }
    case kStart:
        spans_[index].object->assignStart(spans_[index].before);
        break;
    case kLength:
        spans_[index].object->assignLength(spans_[index].before);
        break;
    case kAttribute: {
        const Attribute& c = attributes_[index];
        c.object->assignAttribute(*keys_[c.key], c.before.isEmpty() ? nullptr : &c.before);
        break;
    }
    default:
        insertions_[index].object->detach();
        break;
    }
}

void ChangeLog::redo(std::uint32_t entry) const {
    const std::uint32_t index = entry & kIndexMask;
    switch (entry >> kIndexBits) {
    case kName: {
        const Rename& c = renames_[index];
        c.object->assignName(texts_.substr(c.after, c.end - c.after));
        break;
    }
    case kStart:
        spans_[index].object->assignStart(spans_[index].after);
        break;
    case kLength:
        spans_[index].object->assignLength(spans_[index].after);
        break;
    case kAttribute: {
        const Attribute& c = attributes_[index];
        c.object->assignAttribute(*keys_[c.key], c.after.isEmpty() ? nullptr : &c.after);
        break;
    }
    default: {
        const Insertion& c = insertions_[index];
        c.parent->attachChild(*c.object, c.index);
        break;
    }
    }
}

} // namespace Brennovar::RefHost
