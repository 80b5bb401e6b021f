#include "RegFile.h"

namespace RegTool {

void RegFileWriter::take(const RegFileEntry& entry) {
    if (status_ != Hive::kSuccess)
        return;
    if (entry.kind == RegFileEntry::Kind::CreateKey) {
        key_.reset();
        key_.emplace(store_, entry.path, true);
        status_ = key_->status();
    } else if (entry.kind == RegFileEntry::Kind::DeleteKey) {
        // The key held may be the one deleted, or below it.
        key_.reset();
        const Registry::OpenedKey root(store_, QString(), false);
        status_ = store_.deleteTree(root.key(), Registry::codePage(entry.path));
        if (status_ == Hive::kFileNotFound)
            status_ = Hive::kSuccess;
    } else if (!key_) {
        status_ = Hive::kInvalidHandle;
    } else if (entry.kind == RegFileEntry::Kind::SetValue) {
        status_ = key_->set(entry.value);
    } else if (const Hive::Status status =
                   store_.deleteValue(key_->key(), Registry::codePage(entry.value.name));
               status != Hive::kFileNotFound) {
        status_ = status;
    }
}

} // namespace RegTool
