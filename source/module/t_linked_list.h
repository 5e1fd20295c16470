#pragma once

#include "module/funknown.h"

#include <new>

namespace Brennovar {

/// A container that knows how many elements it holds.
template <class T>
class TContainer {
public:
    virtual ~TContainer() = default;
    virtual int32 count() const noexcept = 0;
    bool isEmpty() const noexcept { return count() == 0; }
};

/// Walks a container from its first element to its last.
template <class T>
class TIterator {
public:
    virtual ~TIterator() = default;
    virtual bool done() const noexcept = 0;
    /// The current element; only valid while not done.
    virtual T current() const noexcept = 0;
    virtual void next() noexcept = 0;
};

template <class T>
class TLinkedListIterator;

/// A singly linked list with first node, last node and a count. It holds the elements by value
/// and frees only its own nodes; owning element types are the derived lists' business.
template <class T>
class TLinkedList : public TContainer<T> {
public:
    TLinkedList() = default;
    TLinkedList(const TLinkedList&) = delete;
    TLinkedList& operator=(const TLinkedList&) = delete;
    ~TLinkedList() override { removeAll(); }

    int32 count() const noexcept override { return count_; }

    /// Appends after the last node; false when the node cannot be allocated (nothing changes).
    bool append(T value) noexcept {
        Node* node = new (std::nothrow) Node{value, nullptr};
        if (!node)
            return false;
        (last_ ? last_->next : first_) = node;
        last_ = node;
        ++count_;
        return true;
    }
    /// Frees every node.
    void removeAll() noexcept {
        while (first_) {
            Node* node = first_;
            first_ = node->next;
            delete node;
        }
        last_ = nullptr;
        count_ = 0;
    }

private:
    friend class TLinkedListIterator<T>;
    struct Node {
        T value;
        Node* next;
    };

    Node* first_ = nullptr;
    Node* last_ = nullptr;
    int32 count_ = 0;
};

template <class T>
class TLinkedListIterator final : public TIterator<T> {
public:
    explicit TLinkedListIterator(const TLinkedList<T>& list) noexcept : node_(list.first_) {}
    bool done() const noexcept override { return node_ == nullptr; }
    T current() const noexcept override { return node_->value; }
    void next() noexcept override { node_ = node_->next; }

private:
    const typename TLinkedList<T>::Node* node_;
};

} // namespace Brennovar
