#include "model/model.h"

#include "model/attribute_catalogue.h"
#include "model/model_storage.h"

namespace Brennovar::Zintara {

Model::Model() {
    addCatalogue(mappingModel_);
    addDefaultMapping(mappingModel_);
}

void Model::store(FUnknown* object) const noexcept {
    storeModel(*this, object);
}

void Model::restore(FUnknown* object) noexcept {
    restoreModel(*this, object);
}

} // namespace Brennovar::Zintara
