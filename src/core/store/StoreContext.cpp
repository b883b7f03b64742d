#include "StoreContext.h"

#include "StoreLocations.h"

namespace wex {

StoreContext StoreContext::fromStoreLocations()
{
    return StoreContext{wexSettingPath(), wexRootPath(), wexRootPathString()};
}

} // namespace wex
