#include "core/SkinLookup.h"

#include "core/SkinText.h"

#include "platform/FileName.h"

#include <QDir>

namespace VD_Core {
namespace {

// Names compare as Windows compares them: letter case and trailing dots and spaces aside.
QString nameKey(QStringView shown) {
    return withoutTrailingDotsAndSpaces(shown).toString().toCaseFolded();
}

} // namespace

QString shownFileName(const QString& name) {
    return skinTextFromBytes(Platform::fileNameToSystem(name));
}

SkinLookup::SkinLookup(const Platform::FileSystem& fileSystem, const SkinFolder& folder)
    : fileSystem_(fileSystem), root_(folder.root()),
      canonicalRoot_(fileSystem.canonicalPath(folder.root())) {}

std::optional<QString> SkinLookup::resolve(QStringView value) {
    const std::optional<QStringList> parts = skinValueParts(value);
    if (!parts)
        return std::nullopt;
    return resolveParts(*parts);
}

std::optional<QString> SkinLookup::resolveName(QStringView name) {
    const QStringView bare = withoutTrailingDotsAndSpaces(name);
    if (bare.isEmpty() || name.contains(u'/') || name.contains(u'\0'))
        return std::nullopt;
    return resolveParts({bare.toString()});
}

std::optional<QString> SkinLookup::resolveParts(const QStringList& parts) {
    QString path = root_;
    // Where on disk the path has led so far, without links; "" once it has left what exists.
    QString reached = canonicalRoot_;
    for (const QString& part : parts) {
        const std::optional<Entry> entry =
            reached.isEmpty() ? std::nullopt : entryNamed(reached, part);
        path += QLatin1Char('/') + (entry ? entry->name : part);
        if (!entry) {
            reached.clear();
            continue;
        }
        const std::optional<QString> next = stepInto(reached, *entry);
        if (!next)
            return std::nullopt;
        reached = *next;
    }
    return QDir::toNativeSeparators(path);
}

std::optional<SkinLookup::Entry> SkinLookup::entryNamed(const QString& folder,
                                                        const QString& part) {
    const Platform::EntryKind exact = fileSystem_.entryKind(folder + QLatin1Char('/') + part);
    if (exact != Platform::EntryKind::Missing)
        return Entry{part, exact == Platform::EntryKind::SymbolicLink};
    const QHash<QString, QString>& entries = entriesOf(folder);
    const auto found = entries.constFind(nameKey(part));
    if (found == entries.constEnd())
        return std::nullopt;
    return Entry{*found, fileSystem_.entryKind(folder + QLatin1Char('/') + *found) ==
                             Platform::EntryKind::SymbolicLink};
}

const QHash<QString, QString>& SkinLookup::entriesOf(const QString& folder) {
    const auto listed = entries_.constFind(folder);
    if (listed != entries_.constEnd())
        return *listed;
    ++listings_;
    QHash<QString, QString> byKey;
    for (const QString& name : fileSystem_.folderEntries(folder)) {
        // Where several names match, the first by name wins, whatever order the system lists.
        QString& kept = byKey[nameKey(shownFileName(name))];
        if (kept.isEmpty() || name < kept)
            kept = name;
    }
    return *entries_.insert(folder, byKey);
}

std::optional<QString> SkinLookup::stepInto(const QString& folder, const Entry& entry) {
    const QString path = folder + QLatin1Char('/') + entry.name;
    if (!entry.link)
        return path;
    const QString target = fileSystem_.canonicalPath(path);
    const bool inside = !target.isEmpty() && (target == canonicalRoot_ ||
                                              target.startsWith(canonicalRoot_ + QLatin1Char('/')));
    if (!inside)
        return std::nullopt;
    return target;
}

} // namespace VD_Core
