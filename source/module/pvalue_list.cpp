#include "module/pvalue_list.h"

namespace Brennovar {

void PValueList::removeAll() noexcept {
    for (TLinkedListIterator<PValueEntry*> it(*this); !it.done(); it.next())
        delete it.current();
    TLinkedList::removeAll();
}

} // namespace Brennovar
