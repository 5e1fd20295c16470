#pragma once

#include "module/funknown.h"

#include <utility>

namespace Brennovar {

/// Holds one reference to an object of the object model and releases it exactly once, so that
/// every path out of a function gives back what it obtained.
template <class T>
class Owned {
public:
    Owned() = default;
    /// Takes over a reference the caller already owns (from queryInterface, getObject, a create
    /// function).
    explicit Owned(T* adopted) noexcept : ptr_(adopted) {}
    Owned(const Owned&) = delete;
    Owned& operator=(const Owned&) = delete;
    Owned(Owned&& other) noexcept : ptr_(other.detach()) {}
    Owned& operator=(Owned&& other) noexcept {
        if (this != &other)
            reset(other.detach());
        return *this;
    }
    ~Owned() { reset(); }

    /// Asks `from` for interface T; empty when from is null or does not offer T.
    static Owned query(FUnknown* from) noexcept {
        Owned result;
        if (from)
            from->queryInterface(T::iid, reinterpret_cast<void**>(&result.ptr_));
        return result;
    }
    /// Adds a reference to a borrowed pointer and holds it.
    static Owned share(T* borrowed) noexcept {
        if (borrowed)
            borrowed->addRef();
        return Owned(borrowed);
    }

    T* get() const noexcept { return ptr_; }
    T* operator->() const noexcept { return ptr_; }
    explicit operator bool() const noexcept { return ptr_ != nullptr; }

    /// Releases the held reference (if any) and takes over `adopted`.
    void reset(T* adopted = nullptr) noexcept {
        T* old = std::exchange(ptr_, adopted);
        if (old)
            old->release();
    }
    /// Gives the reference to the caller without releasing it.
    T* detach() noexcept { return std::exchange(ptr_, nullptr); }
    /// For out-pointer arguments: releases what is held and returns the slot to fill.
    T** put() noexcept {
        reset();
        return &ptr_;
    }
    void** putVoid() noexcept { return reinterpret_cast<void**>(put()); }

private:
    T* ptr_ = nullptr;
};

} // namespace Brennovar
