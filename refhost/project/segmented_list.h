#pragma once

#include <bit>
#include <cstddef>
#include <new>
#include <utility>
#include <vector>

namespace Brennovar::RefHost {

/// A list that grows without moving what it holds. Its elements lie in segments, each (from the
/// second on) as large as all before it together, so that appending takes constant time and an
/// index finds its element in constant time, as in a vector; but growing copies nothing and
/// frees nothing, so a list of millions of records never holds two copies of itself, and no
/// memory is written beyond what the elements take.
template <class T>
class SegmentedList {
    static_assert(alignof(T) <= __STDCPP_DEFAULT_NEW_ALIGNMENT__);

public:
    SegmentedList() = default;
    SegmentedList(const SegmentedList&) = delete;
    SegmentedList& operator=(const SegmentedList&) = delete;
    SegmentedList(SegmentedList&& other) noexcept
        : segments_(std::move(other.segments_)), size_(std::exchange(other.size_, 0)) {
        other.segments_.clear();
    }
    SegmentedList& operator=(SegmentedList&& other) noexcept {
        if (this != &other) {
            clear();
            segments_ = std::move(other.segments_);
            other.segments_.clear();
            size_ = std::exchange(other.size_, 0);
        }
        return *this;
    }
    ~SegmentedList() { clear(); }

    std::size_t size() const noexcept { return size_; }
    bool empty() const noexcept { return size_ == 0; }

    T& operator[](std::size_t index) noexcept {
        const Place at = placeOf(index);
        return segments_[at.segment][at.offset];
    }
    const T& operator[](std::size_t index) const noexcept {
        const Place at = placeOf(index);
        return segments_[at.segment][at.offset];
    }
    T& back() noexcept { return (*this)[size_ - 1]; }

    void push_back(T value) {
        const Place at = placeOf(size_);
        if (at.segment == segments_.size()) {
            segments_.reserve(segments_.size() + 1);
            segments_.push_back(
                static_cast<T*>(::operator new(capacityOf(at.segment) * sizeof(T))));
        }
        new (segments_[at.segment] + at.offset) T(std::move(value));
        ++size_;
    }
    /// Removes the last element; its segment stays for the next.
    void pop_back() noexcept {
        --size_;
        const Place at = placeOf(size_);
        segments_[at.segment][at.offset].~T();
    }
    void clear() noexcept {
        for (std::size_t i = 0; i < size_; ++i)
            (*this)[i].~T();
        for (T* segment : segments_)
            ::operator delete(segment);
        segments_.clear();
        size_ = 0;
    }

private:
    /// The first two segments hold this many elements each.
    static constexpr unsigned kFirstBits = 4;

    struct Place {
        std::size_t segment;
        std::size_t offset;
    };
    /// Segment 0 holds [0, 16), segment k > 0 holds [2^(k+3), 2^(k+4)).
    static Place placeOf(std::size_t index) noexcept {
        if (index < (std::size_t{1} << kFirstBits))
            return {0, index};
        const auto top = static_cast<std::size_t>(std::bit_width(index)) - 1;
        return {top - kFirstBits + 1, index - (std::size_t{1} << top)};
    }
    static std::size_t capacityOf(std::size_t segment) noexcept {
        return std::size_t{1} << (segment == 0 ? kFirstBits : kFirstBits + segment - 1);
    }

    std::vector<T*> segments_;
    std::size_t size_ = 0;
};

} // namespace Brennovar::RefHost
