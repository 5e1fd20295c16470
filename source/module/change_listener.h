#pragma once

#include "module/reference.h"

#include <utility>

namespace Brennovar::Core {

/// A listener for events of one type. Subjects keep plain pointers to listeners; whoever creates
/// a listener keeps the creating reference and releases it when done.
template <class Event>
class ITChangeListener : public virtual IReference {
public:
    virtual void onChange(const Event& event) = 0;
};

namespace Detail {

/// A listener object around a callable.
template <class Listener, class Callable>
class TChangeListener;

template <class Event, class Callable>
class TChangeListener<ITChangeListener<Event>, Callable>
    : public ReferenceImpl<IVirtualReference, int32>, public ITChangeListener<Event> {
public:
    explicit TChangeListener(Callable callable) : callable_(std::move(callable)) {}
    void onChange(const Event& event) override { callable_(event); }

private:
    Callable callable_;
};

} // namespace Detail

/// Creates a listener around a callable; the result carries one reference for the caller.
template <class Event, class Callable>
ITChangeListener<Event>* makeChangeListener(Callable callable) {
    return new Detail::TChangeListener<ITChangeListener<Event>, Callable>(std::move(callable));
}

} // namespace Brennovar::Core
