#include "hive/Store.h"

namespace Hive {

Transaction::Transaction(Store& store, Access access) : store_(store) {
    // A begin that fails is still ended: the store keeps the writes of the scope out.
    store_.beginTransaction(access);
}

Transaction::~Transaction() {
    if (open_)
        store_.endTransaction(false);
}

Status Transaction::commit() {
    open_ = false;
    return store_.endTransaction(true);
}

} // namespace Hive
