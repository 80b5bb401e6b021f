#pragma once

#include "hive/Store.h"

#include <QString>
#include <QStringList>
#include <QTextStream>

#include <optional>

// The vindrel-reg command: reads and writes the clock's registry the way Windows' reg does.
namespace RegTool {

struct Command {
    enum class Operation { Help, Query, Add, Delete, Export, Import };
    Operation operation = Operation::Help;
    QString keyPath;                  // below HKEY_CURRENT_USER
    std::optional<QString> valueName; // /v NAME, or "" for /ve
    bool allValues = false;           // /va
    bool recurse = false;             // query /s: the key's subkeys too, at every depth
    QString typeName = QStringLiteral("REG_SZ");
    std::optional<QString> data;    // /d
    std::optional<QChar> separator; // add /s: what parts REG_MULTI_SZ text instead of \0
    bool force = false;             // /f, or /y for export
    bool utf8 = false;              // /utf8: export as plain UTF-8 rather than regedit's UTF-16
    QString file;
    std::optional<Operation> helpFor; // VERB /?: the help of that operation alone
};

struct Console {
    QTextStream& out;
    QTextStream& err;
    QTextStream& in; // answers to Yes/No questions
};

// The command the arguments (after the program's name) ask for; nothing, with `error` set,
// when they do not make one.
std::optional<Command> parseCommand(const QStringList& arguments, QString& error);

// Carries the command out on the store, whose file (if it has one) export never replaces; the
// exit status: 0 done, 1 failed.
int runCommand(const Command& command, Hive::Store& store, const Console& console,
               const QString& storeFile = QString());

// What `vindrel-reg /?` prints, or with an operation what `vindrel-reg VERB /?` prints.
QString usage(std::optional<Command::Operation> operation = std::nullopt);

} // namespace RegTool
