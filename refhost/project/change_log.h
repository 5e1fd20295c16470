#pragma once

#include "module/tagged_value.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <unordered_map>
#include <vector>

namespace Brennovar::RefHost {

class ProjectObject;

/// The changes of one undo step in the order they were made, kept compact: a run that makes a
/// million markers records some five million changes. Each kind of change has a list of its
/// own with small fixed records, one 32-bit entry per change keeps the order, names live in one
/// text buffer and each attribute key is kept once.
class ChangeLog {
public:
    struct NameChange {
        ProjectObject* object;
        std::u16string before;
        std::u16string after;
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
    /// An empty value means that the key was not set.
    struct AttributeChange {
        ProjectObject* object;
        std::string key;
        FTaggedValue before;
        FTaggedValue after;
    };
    struct Insertion {
        ProjectObject* parent;
        ProjectObject* object;
        std::size_t index;
    };

    /// Appends a change; std::length_error past some half a billion changes of one kind.
    void add(const NameChange& change);
    void add(const StartChange& change);
    void add(const LengthChange& change);
    void add(AttributeChange change);
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
    /// The texts before and after: texts_[before, after) and texts_[after, end).
    struct Rename {
        ProjectObject* object;
        std::uint32_t before;
        std::uint32_t after;
        std::uint32_t end;
    };
    struct Attribute {
        ProjectObject* object;
        std::uint32_t key;
        FTaggedValue before;
        FTaggedValue after;
    };

    template <class Record>
    void append(std::vector<Record>& list, Record record, Kind kind);
    std::uint32_t keyOf(const std::string& key);
    void undo(std::uint32_t entry) const;
    void redo(std::uint32_t entry) const;

    // Per change: its kind in the top bits, its index in the kind's list below.
    std::vector<std::uint32_t> order_;
    std::vector<Span> spans_;
    std::vector<Rename> renames_;
    std::vector<Attribute> attributes_;
    std::vector<Insertion> insertions_;
    std::u16string texts_;
    std::unordered_map<std::string, std::uint32_t> keyIds_;
    std::vector<const std::string*> keys_;
};

} // namespace Brennovar::RefHost
