#include "TestStore.h"

#include "hive/UserStore.h"

std::unique_ptr<Hive::Store> TestStore::makeBackend() {
    std::unique_ptr<Hive::Store> registry = Hive::openUserStore({}).store;
    Hive::Key user;
    if (registry->openKey(Hive::Root::CurrentUser, "Software", user) == Hive::kSuccess) {
        registry->deleteTree(user, "Brambleton");
        registry->closeKey(user);
    }
    return registry;
}
