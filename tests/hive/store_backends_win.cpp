#include "StoreBackend.h"

#include <UserStore.h>

std::vector<StoreBackend> storeBackends() {
    const auto registry = [] {
        return std::shared_ptr<Hive::Store>(Hive::openUserStore({}).store);
    };
    return {{"Registry", registry, false}};
}
