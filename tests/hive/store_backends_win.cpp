#include "StoreBackend.h"

#include <UserStore.h>

std::vector<StoreBackend> storeBackends() {
    const auto registry = [] {
        std::vector<std::string> notes;
        return std::shared_ptr<Hive::Store>(Hive::openUserStore({}, notes));
    };
    return {{"Registry", registry, false}};
}
