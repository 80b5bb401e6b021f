#pragma once

#include <QString>

// The file that holds the settings store, which nothing vindrel-reg writes may replace.
namespace RegTool {

// Whether a file saved at the path would replace the store's file or one SQLite keeps beside
// it (its write-ahead log, shared memory or journal): symbolic links are followed, as a save
// follows them, and the path may be spelled any way. False for an empty storeFile.
bool replacesStoreFile(const QString& path, const QString& storeFile);

} // namespace RegTool
