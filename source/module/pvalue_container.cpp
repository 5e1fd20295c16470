#include "module/pvalue_container.h"

#include "host/plug_controller.h"
#include "module/owned.h"

namespace Brennovar {

namespace {

constexpr int32 kFlagOne = 1;
constexpr int32 kFlagSixteen = 16;

} // namespace

PValueContainer::PValueContainer(IHostObjectProvider* factory, IPlugController* controller) noexcept
    : factory_(factory), controller_(controller) {
    if (factory_)
        factory_->addRef();
}

PValueContainer::~PValueContainer() {
    removeAll();
    if (factory_)
        factory_->release();
}

IHostParameter* PValueContainer::create(const Guid& classId) noexcept {
    if (!factory_)
        return nullptr;
    void* object = nullptr;
    if (factory_->getObject(classId, &object) != ResultOk)
        return nullptr;
    return static_cast<IHostParameter*>(object);
}

IHostParameter* PValueContainer::append(IHostParameter* parameter, const char* name) noexcept {
    auto* entry = new (std::nothrow) PValueEntry(parameter, name);
    if (!entry) {
        parameter->release();
        return nullptr;
    }
    if (!entries_.append(entry)) {
        delete entry;
        return nullptr;
    }
    return parameter;
}

void PValueContainer::connect(IHostParameter* parameter, int32 tag) noexcept {
    if (controller_)
        parameter->connect(controller_, tag);
}

IHostParameter* PValueContainer::addToggle(int32 tag, const char* name, bool value,
                                           bool flag) noexcept {
    IHostParameter* parameter = create(HostClass::kToggleParameter);
    if (!parameter)
        return nullptr;
    parameter->setValue(value ? 1 : 0, 0);
    if (auto display = Owned<IParameterDisplay>::query(parameter)) {
        display->setDisplayValue(value ? 1.0f : 0.0f);
        display->setDisplayFlag(kFlagOne, flag);
    }
    connect(parameter, tag);
    return append(parameter, name);
}

IHostParameter* PValueContainer::addInteger(int32 tag, const char* name, int32 minimum,
                                            int32 maximum, int32 value, bool flag1,
                                            bool flag2) noexcept {
    IHostParameter* parameter = create(HostClass::kIntegerParameter);
    if (!parameter)
        return nullptr;
    parameter->setMinimum(minimum);
    parameter->setMaximum(maximum);
    parameter->setValue(value, 0);
    if (auto display = Owned<IParameterDisplay>::query(parameter)) {
        display->setDisplayValue(static_cast<float>(value));
        display->setDisplayFlag(kFlagOne, flag1);
        display->setDisplayFlag(kFlagSixteen, flag2);
    }
    connect(parameter, tag);
    return append(parameter, name);
}

IHostParameter* PValueContainer::addText(int32 tag, const char* name, const char16_t* text,
                                         bool flag) noexcept {
    IHostParameter* parameter = create(HostClass::kTextParameter);
    if (!parameter)
        return nullptr;
    parameter->setText(text, 0);
    connect(parameter, tag);
    if (auto display = Owned<IParameterDisplay>::query(parameter))
        display->setDisplayFlag(kFlagOne, flag);
    return append(parameter, name);
}

IHostParameter* PValueContainer::addStringList(int32 tag, const char* name, const void* strings,
                                               const char16_t* initialText, bool flag) noexcept {
    IHostParameter* parameter = create(HostClass::kStringListParameter);
    if (!parameter)
        return nullptr;
    if (strings) {
        if (auto list = Owned<IStringListParameter>::query(parameter))
            list->setStrings(strings);
        if (!initialText)
            initialText = static_cast<const char16_t* const*>(strings)[0];
    }
    if (initialText)
        parameter->setText(initialText, 0);
    connect(parameter, tag);
    if (auto display = Owned<IParameterDisplay>::query(parameter))
        display->setDisplayFlag(kFlagOne, flag);
    return append(parameter, name);
}

void PValueContainer::addParameter(IHostParameter* parameter, int32 tag,
                                   const char* name) noexcept {
    if (!parameter)
        return;
    // The caller handed over its reference: dropping the parameter must not leak it.
    if (!name) {
        parameter->release();
        return;
    }
    connect(parameter, tag);
    append(parameter, name);
}

IHostParameter* PValueContainer::findByName(const char* name) const noexcept {
    if (!name)
        return nullptr;
    const ConstString wanted(name);
    for (TLinkedListIterator<PValueEntry*> it(entries_); !it.done(); it.next())
        if (it.current()->name.compare(wanted) == 0)
            return it.current()->parameter;
    return nullptr;
}

IHostParameter* PValueContainer::findByTag(int32 tag) const noexcept {
    for (TLinkedListIterator<PValueEntry*> it(entries_); !it.done(); it.next()) {
        IHostParameter* parameter = it.current()->parameter;
        if (parameter && parameter->getTag() == tag)
            return parameter;
    }
    return nullptr;
}

void PValueContainer::removeAll() noexcept {
    entries_.removeAll();
}

} // namespace Brennovar
