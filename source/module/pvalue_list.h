#pragma once

#include "host/parameters.h"
#include "module/t_linked_list.h"
#include "text/text_string.h"

namespace Brennovar {

/// One parameter kept by a PValueContainer: the parameter (one reference, owned) and the name
/// by which the skin refers to it.
struct PValueEntry {
    PValueEntry(IHostParameter* adopted, const char* entryName) noexcept
        : parameter(adopted), name(entryName) {}
    PValueEntry(const PValueEntry&) = delete;
    PValueEntry& operator=(const PValueEntry&) = delete;
    ~PValueEntry() {
        if (parameter)
            parameter->release();
    }

    IHostParameter* parameter;
    String name;
};

/// The entries of a PValueContainer in the order added. The list owns them: clearing or
/// destroying it releases each parameter, destroys its name and frees the entry.
class PValueList : public TLinkedList<PValueEntry*> {
public:
    PValueList() = default;
    ~PValueList() override { removeAll(); }

    void removeAll() noexcept;
};

} // namespace Brennovar
