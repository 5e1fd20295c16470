#include "refhost/project/change_log.h"

#include "refhost/project/project_object.h"

#include <algorithm>
#include <cstring>
#include <limits>
#include <stdexcept>

namespace Brennovar::RefHost {

namespace {

constexpr int kIndexBits = 29;
constexpr std::uint32_t kIndexMask = (std::uint32_t{1} << kIndexBits) - 1;

/// The store's pieces: of the size the allocator serves from the memory it keeps.
constexpr std::size_t kPieceSize = std::size_t{1} << 15;

template <class Unit>
std::size_t lengthOf(const Unit* text) noexcept {
    std::size_t length = 0;
    while (text[length])
        ++length;
    return length;
}

} // namespace

void* ChangeLog::Store::allocate(std::size_t bytes) {
    // Texts of 8 and 16 bits: two bytes alignment is all they need.
    used_ = (used_ + 1) & ~std::size_t{1};
    if (pieces_.empty() || used_ + bytes > size_) {
        const std::size_t size = std::max(bytes, kPieceSize);
        pieces_.reserve(pieces_.size() + 1);
        pieces_.push_back(std::make_unique_for_overwrite<std::byte[]>(size));
        used_ = 0;
        size_ = size;
    }
    void* at = pieces_.back().get() + used_;
    used_ += bytes;
    return at;
}

template <class Unit>
const Unit* ChangeLog::Store::copy(const Unit* text, std::size_t size) {
    auto* copied = static_cast<Unit*>(allocate((size + 1) * sizeof(Unit)));
    if (size > 0)
        std::memcpy(copied, text, size * sizeof(Unit));
    copied[size] = Unit();
    return copied;
}

FTaggedValue ChangeLog::Store::copy(const FTaggedValue* value) {
    FTaggedValue copied;
    if (!value)
        return copied;
    // The type without the owner flag: the store keeps the string.
    copied.type = value->kind();
    switch (value->kind()) {
    case FTaggedValue::kString8:
        copied.string8 = value->string8
                             ? const_cast<char*>(copy(value->string8, lengthOf(value->string8)))
                             : nullptr;
        break;
    case FTaggedValue::kString16:
        copied.string16 =
            value->string16
                ? const_cast<char16_t*>(copy(value->string16, lengthOf(value->string16)))
                : nullptr;
        break;
    default:
        // Integers, and nothing else: the attribute store takes no object.
        copied.integer = value->integer;
        break;
    }
    return copied;
}

template <class Record>
void ChangeLog::append(SegmentedList<Record>& list, Record record, Kind kind) {
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

std::uint32_t ChangeLog::keyOf(std::string_view key) {
    if (auto found = keyIds_.find(key); found != keyIds_.end())
        return found->second;
    auto [added, inserted] =
        keyIds_.try_emplace(std::string(key), static_cast<std::uint32_t>(keys_.size()));
    try {
        keys_.push_back(&added->first);
    } catch (...) {
        keyIds_.erase(added);
        throw;
    }
    return added->second;
}

void ChangeLog::add(const NameChange& change) {
    if (change.before.size() > std::numeric_limits<std::uint32_t>::max() ||
        change.after.size() > std::numeric_limits<std::uint32_t>::max())
        throw std::length_error("a name too long for an undo step");
    append(renames_,
           Rename{change.object, store_.copy(change.before.data(), change.before.size()),
                  store_.copy(change.after.data(), change.after.size()),
                  static_cast<std::uint32_t>(change.before.size()),
                  static_cast<std::uint32_t>(change.after.size())},
           kName);
}

void ChangeLog::add(const StartChange& change) {
    append(spans_, Span{change.object, change.before, change.after}, kStart);
}

void ChangeLog::add(const LengthChange& change) {
    append(spans_, Span{change.object, change.before, change.after}, kLength);
}

void ChangeLog::add(const AttributeChange& change) {
    const std::uint32_t key = keyOf(change.key);
    append(attributes_,
           Attribute{change.object, key, store_.copy(change.before), store_.copy(change.after)},
           kAttribute);
}

void ChangeLog::add(const Insertion& change) {
    append(insertions_, change, kInsertion);
}

void ChangeLog::revert() const {
    for (std::size_t i = order_.size(); i-- > 0;)
        undo(order_[i]);
}

void ChangeLog::apply() const {
    for (std::size_t i = 0; i < order_.size(); ++i)
        redo(order_[i]);
}

void ChangeLog::undo(std::uint32_t entry) const {
    const std::uint32_t index = entry & kIndexMask;
    switch (entry >> kIndexBits) {
    case kName: {
        const Rename& c = renames_[index];
        c.object->assignName(std::u16string(c.before, c.beforeSize));
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
        c.object->assignName(std::u16string(c.after, c.afterSize));
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
