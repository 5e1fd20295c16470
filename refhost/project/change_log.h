#pragma once

#include "module/tagged_value.h"
#include "refhost/project/segmented_list.h"

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace Brennovar::RefHost {

class ProjectObject;

/// The changes of one undo step in the order they were made, kept compact: a run that makes a
/// million markers records some five million changes. Each kind of change has a list of its
/// own with small fixed records, one 32-bit entry per change keeps the order, the texts and
/// values of the changes live in pieces of a store of their own rather than one allocation each,
/// and each attribute key is kept once.
class ChangeLog {
public:
    /// The texts are copied into the log.
    struct NameChange {
        ProjectObject* object;
        std::u16string_view before;
        std::u16string_view after;
    };
    struct StartChange {
        ProjectObject* object;
        double before;
        double after;
    };
    struct LengthChange {
        ProjectObject* object;
        double before;
        double after;
    };
    /// The values are copied into the log; null (or an empty value) means that the key was not
    /// set.
    struct AttributeChange {
        ProjectObject* object;
        std::string_view key;
        const FTaggedValue* before;
        const FTaggedValue* after;
    };
    struct Insertion {
        ProjectObject* parent;
        ProjectObject* object;
        std::size_t index;
    };

    ChangeLog() = default;
    ChangeLog(ChangeLog&&) noexcept = default;
    ChangeLog& operator=(ChangeLog&&) noexcept = default;

    /// Appends a change; std::length_error past some half a billion changes of one kind.
    void add(const NameChange& change);
    void add(const StartChange& change);
    void add(const LengthChange& change);
    void add(const AttributeChange& change);
    void add(const Insertion& change);

    std::size_t size() const noexcept { return order_.size(); }
    bool empty() const noexcept { return order_.empty(); }

    /// Takes every change back, newest first.
    void revert() const;
    /// Makes every change again, oldest first.
    void apply() const;

private:
    enum Kind : std::uint32_t { kName, kStart, kLength, kAttribute, kInsertion };
    struct Span {
        ProjectObject* object;
        double before;
        double after;
    };
    /// The texts before and after, in the store.
    struct Rename {
        ProjectObject* object;
        const char16_t* before;
        const char16_t* after;
        std::uint32_t beforeSize;
        std::uint32_t afterSize;
    };
    /// The values before and after; their strings (which they do not own) are in the store.
    struct Attribute {
        ProjectObject* object;
        std::uint32_t key;
        FTaggedValue before;
        FTaggedValue after;
    };

    /// Copies that live as long as the log, in pieces that never move, so that what a record
    /// points to stays where it is.
    class Store {
    public:
        Store() = default;
        Store(Store&&) noexcept = default;
        Store& operator=(Store&&) noexcept = default;

        template <class Unit>
        const Unit* copy(const Unit* text, std::size_t size);
        /// A value whose string (a zero-terminated copy) lives here; the value owns nothing.
        FTaggedValue copy(const FTaggedValue* value);

    private:
        void* allocate(std::size_t bytes);

        std::vector<std::unique_ptr<std::byte[]>> pieces_;
        std::size_t used_ = 0;
        std::size_t size_ = 0;
    };

    template <class Record>
    void append(SegmentedList<Record>& list, Record record, Kind kind);
    std::uint32_t keyOf(std::string_view key);
    void undo(std::uint32_t entry) const;
    void redo(std::uint32_t entry) const;

    // Per change: its kind in the top bits, its index in the kind's list below.
    // Segmented lists, which grow without copying: a log of millions of changes is never held
    // twice while it grows.
    SegmentedList<std::uint32_t> order_;
    SegmentedList<Span> spans_;
    SegmentedList<Rename> renames_;
    SegmentedList<Attribute> attributes_;
    SegmentedList<Insertion> insertions_;
    Store store_;
    struct KeyHash {
        using is_transparent = void;
        std::size_t operator()(std::string_view key) const noexcept {
            return std::hash<std::string_view>()(key);
        }
    };
    std::unordered_map<std::string, std::uint32_t, KeyHash, std::equal_to<>> keyIds_;
    std::vector<const std::string*> keys_;
};

} // namespace Brennovar::RefHost
