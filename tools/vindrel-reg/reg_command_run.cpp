#include "RegCommand.h"

#include "KeyName.h"
#include "RegFile.h"
#include "StoreFile.h"
#include "ValueText.h"
#include "core/RegistryAccess.h"

#include "hive/AtomicStore.h"
#include "platform/RegularFile.h"

#include <QFile>
#include <QSaveFile>

namespace RegTool {

namespace {

int done(const Console& console) {
    console.out << "The operation completed successfully.\n" << Qt::flush;
    return 0;
}

int cancelled(const Console& console) {
    console.out << "The operation was cancelled by the user.\n" << Qt::flush;
    return 0;
}

int fail(const Console& console, const QString& message) {
    console.err << "ERROR: " << message << '\n' << Qt::flush;
    return 1;
}

int notFound(const Console& console) {
    return fail(console, QStringLiteral("The system was unable to find the specified registry "
                                        "key or value."));
}

QString statusText(Hive::Status status) {
    switch (status) {
    case Hive::kAccessDenied:
        return QStringLiteral("Access is denied.");
    case Hive::kBusy:
        return QStringLiteral("Another program is writing to the settings store.");
    case Hive::kBadDatabase:
        return QStringLiteral("The settings store is damaged.");
    case Hive::kDiskFull:
        return QStringLiteral("The disk is full.");
    default:
        return QStringLiteral("The settings store answered error %1.").arg(status);
    }
}

bool confirmed(const Console& console, const QString& question) {
    if (console.in.atEnd())
        return false;
    console.out << question << ' ' << Qt::flush;
    // Only the start of a line: input without line ends, such as /dev/zero, was read without end.
    constexpr qint64 kLongestAnswer = 64;
    const QString answer = console.in.readLine(kLongestAnswer).trimmed();
    return answer.compare(QLatin1String("y"), Qt::CaseInsensitive) == 0 ||
           answer.compare(QLatin1String("yes"), Qt::CaseInsensitive) == 0;
}

QString shownName(const QString& name) {
    return name.isEmpty() ? QStringLiteral("(Default)") : name;
}

QString queryLine(const Registry::NamedValue& value) {
    return QStringLiteral("    %1    %2    %3\n")
        .arg(shownName(value.name), typeName(value.type), displayData(value.type, value.data));
}

QString subkeyPath(const QString& path, const QString& subkey) {
    return path.isEmpty() ? subkey : path + u'\\' + subkey;
}

// The key's values under its name, then its subkeys: listed by name, or with `recurse` each
// shown the same way. A key without values shows no name of its own unless it is a subkey
// shown whole.
void queryKey(Hive::Store& store, const QString& path, bool recurse, bool shownWhole,
              QTextStream& out) {
    const Registry::OpenedKey key(store, path, false);
    const QList<Registry::NamedValue> values = key.values();
    const bool named = shownWhole || !values.isEmpty();
    if (named)
        out << fullKeyName(path) << '\n';
    for (const Registry::NamedValue& value : values)
        out << queryLine(value);
    if (named)
        out << '\n';
    for (const QString& subkey : key.subkeys()) {
        if (recurse)
            queryKey(store, subkeyPath(path, subkey), true, true, out);
        else
            out << fullKeyName(subkeyPath(path, subkey)) << '\n';
    }
}

// The value named in every key from path down, each under its key's name; how many there are.
int findValue(Hive::Store& store, const QString& path, const QString& name, QTextStream& out) {
    const Registry::OpenedKey key(store, path, false);
    int found = 0;
    if (const std::optional<Registry::NamedValue> value = key.value(name)) {
        out << fullKeyName(path) << '\n' << queryLine(*value) << '\n';
        ++found;
    }
    for (const QString& subkey : key.subkeys())
        found += findValue(store, subkeyPath(path, subkey), name, out);
    return found;
}

int queryValue(const Command& command, Hive::Store& store, const Console& console) {
    const QString& name = *command.valueName;
    if (command.recurse) {
        const int found = findValue(store, command.keyPath, name, console.out);
        console.out << "End of search: " << found << " match(es) found.\n";
        return 0;
    }
    const std::optional<Registry::NamedValue> value =
        Registry::OpenedKey(store, command.keyPath, false).value(name);
    if (!value && !name.isEmpty())
        return notFound(console);
    console.out << fullKeyName(command.keyPath) << '\n';
    if (value)
        console.out << queryLine(*value) << '\n';
    else
        console.out << "    (Default)    REG_SZ    (value not set)\n";
    return 0;
}

int query(const Command& command, Hive::Store& store, const Console& console) {
    // One snapshot: a save by the clock meanwhile is shown whole or not at all.
    Hive::Transaction snapshot(store, Hive::Access::Read);
    if (Registry::OpenedKey(store, command.keyPath, false).status() != Hive::kSuccess)
        return notFound(console);
    console.out << '\n';
    if (command.valueName)
        return queryValue(command, store, console);
    queryKey(store, command.keyPath, command.recurse, false, console.out);
    return 0;
}

int add(const Command& command, Hive::Store& store, const Console& console) {
    // Without /v or /ve, as with /ve, the key's default value.
    const QString name = command.valueName.value_or(QString());
    QString why;
    if (!isMakeable(command.keyPath, why))
        return fail(console, QStringLiteral("Invalid key name: ") + why + u'.');
    if (!isValueName(name, why))
        return fail(console, QStringLiteral("Invalid value name: ") + why + u'.');
    const std::optional<quint32> type = addableType(command.typeName);
    if (!type)
        return fail(
            console,
            QStringLiteral("Invalid syntax: %1 is not a type /t takes.").arg(command.typeName));
    const std::optional<QByteArray> data = dataFor(*type, command.data, command.separator, why);
    if (!data)
        return fail(console, QStringLiteral("Invalid syntax: ") + why);
    // Asked before the store is written to, so that the clock can save while the user answers.
    if (!command.force && Registry::OpenedKey(store, command.keyPath, false).value(name) &&
        !confirmed(console,
                   QStringLiteral("Value %1 exists, overwrite(Yes/No)?").arg(shownName(name))))
        return cancelled(console);
    // One change: a key made for a value that then cannot be set does not stay.
    Hive::Transaction scope(store);
    Hive::Status status = Hive::kSuccess;
    {
        const Registry::OpenedKey key(store, command.keyPath, true);
        status = key.status();
        if (status == Hive::kSuccess)
            status = key.set({name, *type, *data, {}});
    }
    if (status == Hive::kSuccess)
        status = scope.commit();
    return status == Hive::kSuccess ? done(console) : fail(console, statusText(status));
}

int deleteKey(const Command& command, Hive::Store& store, const Console& console) {
    if (command.keyPath.isEmpty())
        return fail(console, QStringLiteral("Invalid key name: the root cannot be deleted."));
    if (Registry::OpenedKey(store, command.keyPath, false).status() != Hive::kSuccess)
        return notFound(console);
    if (!command.force &&
        !confirmed(console, QStringLiteral("Permanently delete the registry key %1 (Yes/No)?")
                                .arg(fullKeyName(command.keyPath))))
        return cancelled(console);
    const Registry::OpenedKey root(store, QString(), false);
    const Hive::Status status = store.deleteTree(root.key(), Registry::codePage(command.keyPath));
    return status == Hive::kSuccess ? done(console) : fail(console, statusText(status));
}

// The names of the values that delete takes: all of them, or the one named if it is there.
QStringList namesToDelete(const Command& command, const Registry::OpenedKey& key) {
    QStringList names;
    if (command.allValues) {
        for (const Registry::NamedValue& value : key.values())
            names << value.name;
    } else if (key.value(*command.valueName)) {
        names << *command.valueName;
    }
    return names;
}

int deleteValues(const Command& command, Hive::Store& store, const Console& console) {
    {
        Hive::Transaction snapshot(store, Hive::Access::Read);
        const Registry::OpenedKey key(store, command.keyPath, false);
        if (key.status() != Hive::kSuccess ||
            (!command.allValues && namesToDelete(command, key).isEmpty()))
            return notFound(console);
    }
    const QString question =
        command.allValues ? QStringLiteral("Delete all values under the registry key %1 (Yes/No)?")
                                .arg(fullKeyName(command.keyPath))
                          : QStringLiteral("Delete the registry value %1 (Yes/No)?")
                                .arg(shownName(*command.valueName));
    if (!command.force && !confirmed(console, question))
        return cancelled(console);
    // What is there once the answer is in goes, listed and deleted as one.
    Hive::Transaction scope(store);
    const Registry::OpenedKey key(store, command.keyPath, false);
    if (key.status() != Hive::kSuccess)
        return notFound(console);
    for (const QString& name : namesToDelete(command, key))
        store.deleteValue(key.key(), Registry::codePage(name));
    const Hive::Status status = scope.commit();
    return status == Hive::kSuccess ? done(console) : fail(console, statusText(status));
}

int notAFile(const Console& console, const QString& path) {
    return fail(console, QStringLiteral("Cannot write %1: it is a folder, pipe or device, not a "
                                        "file; it was left as it is.")
                             .arg(path));
}

// Written as an editor saves: to a new file beside the old one, renamed over it whole once
// written, so that a failure leaves the old one as it was.
int saveExport(const Command& command, Hive::Store& store, const Console& console) {
    QSaveFile file(command.file);
    if (!file.open(QIODevice::WriteOnly))
        return fail(console,
                    QStringLiteral("Cannot write %1: %2").arg(command.file, file.errorString()));
    QString refusal;
    if (!exportKey(store, command.keyPath, file, command.utf8, refusal)) {
        file.cancelWriting();
        return refusal.isEmpty() ? notFound(console) : fail(console, refusal);
    }
    // Something else may have been put in the file's place while it was written.
    if (!Platform::isRegularFileOrMissing(command.file)) {
        file.cancelWriting();
        return notAFile(console, command.file);
    }
    // commit() closes the file first, which forgets why a write failed (a full disk): ask now.
    if (file.error() != QFileDevice::NoError || !file.flush()) {
        const QString why = file.errorString();
        file.cancelWriting();
        return fail(console, QStringLiteral("Cannot write %1: %2").arg(command.file, why));
    }
    if (!file.commit())
        return fail(console,
                    QStringLiteral("Cannot write %1: %2").arg(command.file, file.errorString()));
    return done(console);
}

// Only where a regular file or nothing stands: the rename would replace a pipe or device with
// a file. Never over the store, whose settings would all go with it.
int exportFile(const Command& command, Hive::Store& store, const Console& console,
               const QString& storeFile) {
    if (Registry::OpenedKey(store, command.keyPath, false).status() != Hive::kSuccess)
        return notFound(console);
    if (!Platform::isRegularFileOrMissing(command.file))
        return notAFile(console, command.file);
    if (replacesStoreFile(command.file, storeFile))
        return fail(console, QStringLiteral("Cannot write %1: it is the settings store's own file; "
                                            "it was left as it is.")
                                 .arg(command.file));
    if (QFile::exists(command.file) && !command.force &&
        !confirmed(console,
                   QStringLiteral("File %1 already exists. Overwrite (Yes/No)?").arg(command.file)))
        return cancelled(console);
    return saveExport(command, store, console);
}

// The warnings for the lines passed over: the first few by their line, then how many more.
void warnSkipped(const Console& console, const QString& file, const SkippedLines& skipped) {
    for (const QString& line : skipped.named)
        console.err << "WARNING: " << file << ", " << line << ", skipped.\n";
    if (const qsizetype more = skipped.count - skipped.named.size(); more > 0)
        console.err << "WARNING: " << file << ", " << more << " more lines skipped.\n";
}

// Each change is made as its line is read, in one transaction: a list of them all could take
// many times the file's size, and making them one by one from it reopened each value's key.
int importFile(const Command& command, Hive::Store& store, const Console& console) {
    QString error;
    const std::optional<QString> text = readRegFile(command.file, error);
    if (!text)
        return fail(console, error);
    Hive::Transaction scope(store);
    std::optional<SkippedLines> skipped;
    Hive::Status status = Hive::kSuccess;
    {
        RegFileWriter writer(store);
        skipped = parseRegFile(*text, writer, error);
        status = writer.status();
    }
    if (!skipped)
        return fail(console,
                    QStringLiteral("%1, %2. Nothing was imported.").arg(command.file, error));
    // As regedit, what can be read is imported; what cannot is named by its line.
    warnSkipped(console, command.file, *skipped);
    if (status == Hive::kSuccess)
        status = scope.commit();
    return status == Hive::kSuccess ? done(console) : fail(console, statusText(status));
}

} // namespace

int runCommand(const Command& command, Hive::Store& given, const Console& console,
               const QString& storeFile) {
    // A change that fails anywhere keeps nothing, whatever write of it failed.
    Hive::AtomicStore store(given);
    switch (command.operation) {
    case Command::Operation::Query:
        return query(command, store, console);
    case Command::Operation::Add:
        return add(command, store, console);
    case Command::Operation::Delete:
        return command.valueName || command.allValues ? deleteValues(command, store, console)
                                                      : deleteKey(command, store, console);
    case Command::Operation::Export:
        return exportFile(command, store, console, storeFile);
    case Command::Operation::Import:
        return importFile(command, store, console);
    case Command::Operation::Help:
        break;
    }
    console.out << usage(command.helpFor) << Qt::flush;
    return 0;
}

} // namespace RegTool
