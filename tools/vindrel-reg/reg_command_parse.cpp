#include "RegCommand.h"

#include "KeyName.h"
#include "RegFile.h"

#include <algorithm>
#include <initializer_list>

namespace RegTool {

namespace {

using Operation = Command::Operation;

struct Switches {
    bool value = false;       // /v, /ve, /va
    bool typeAndData = false; // /t, /d, and /s for a REG_MULTI_SZ separator
    bool force = false;       // /f
    bool overwrite = false;   // /y
    bool utf8 = false;        // /utf8
    bool recurse = false;     // /s for the subkeys
};

Switches allowedFor(Operation operation) {
    switch (operation) {
    case Operation::Query:
        return {.value = true, .recurse = true};
    case Operation::Add:
        return {.value = true, .typeAndData = true, .force = true};
    case Operation::Delete:
        return {.value = true, .force = true};
    case Operation::Export:
        return {.overwrite = true, .utf8 = true};
    default:
        return {};
    }
}

std::optional<Operation> operationNamed(const QString& name) {
    const std::pair<const char*, Operation> operations[] = {{"query", Operation::Query},
                                                            {"add", Operation::Add},
                                                            {"delete", Operation::Delete},
                                                            {"export", Operation::Export},
                                                            {"import", Operation::Import}};
    for (const auto& [text, operation] : operations) {
        if (name.compare(QLatin1String(text), Qt::CaseInsensitive) == 0)
            return operation;
    }
    return std::nullopt;
}

bool isSwitch(const QString& argument) {
    return argument.size() >= 2 && (argument.startsWith(u'/') || argument.startsWith(u'-'));
}

bool isHelp(const QString& argument) {
    return argument == QLatin1String("/?") || argument == QLatin1String("-?") ||
           argument.compare(QLatin1String("/h"), Qt::CaseInsensitive) == 0 ||
           argument.compare(QLatin1String("-h"), Qt::CaseInsensitive) == 0;
}

// Takes the switch `name` (without its / or -) and its text, if it takes one; false for one
// that does not belong to the operation.
bool takeSwitch(const QString& name, const QString& text, const Switches& allowed,
                Command& command) {
    if (allowed.value && (name == QLatin1String("v") || name == QLatin1String("ve")))
        command.valueName = text;
    else if (allowed.value && name == QLatin1String("va"))
        command.allValues = true;
    else if (allowed.typeAndData && name == QLatin1String("t"))
        command.typeName = text;
    else if (allowed.typeAndData && name == QLatin1String("d"))
        command.data = text;
    else if (allowed.typeAndData && name == QLatin1String("s") && text.size() == 1)
        command.separator = text[0];
    else if (allowed.recurse && name == QLatin1String("s"))
        command.recurse = true;
    else if ((allowed.force && name == QLatin1String("f")) ||
             (allowed.overwrite && name == QLatin1String("y")))
        command.force = true;
    else if (allowed.utf8 && name == QLatin1String("utf8"))
        command.utf8 = true;
    else
        return false;
    return true;
}

// Reads the switches from `at` on; false with `error` set for one that does not belong or is
// given twice, as reg refuses them.
bool readSwitches(const QStringList& arguments, qsizetype at, Command& command, QString& error) {
    const Switches allowed = allowedFor(command.operation);
    QStringList given;
    for (; at < arguments.size(); ++at) {
        const QString name = arguments[at].mid(1).toLower();
        const bool takesText = name == QLatin1String("v") || name == QLatin1String("t") ||
                               name == QLatin1String("d") ||
                               (name == QLatin1String("s") && allowed.typeAndData);
        if (!isSwitch(arguments[at]) || (takesText && at + 1 == arguments.size())) {
            error = QStringLiteral("Invalid syntax.");
            return false;
        }
        // /v and /ve both name the one value.
        const QString slot = name == QLatin1String("ve") ? QStringLiteral("v") : name;
        if (given.contains(slot)) {
            error = QStringLiteral("Invalid syntax: %1 is given twice.").arg(arguments[at]);
            return false;
        }
        given << slot;
        const QString text = takesText ? arguments[++at] : QString();
        if (!takeSwitch(name, text, allowed, command)) {
            error = QStringLiteral("Invalid syntax: %1 is not a switch of this operation.")
                        .arg(arguments[at - (takesText ? 1 : 0)]);
            return false;
        }
    }
    if (command.allValues && command.valueName) {
        error = QStringLiteral("Invalid syntax: /va goes without /v or /ve.");
        return false;
    }
    return true;
}

// The part of the usage that states the limits, in the numbers the code holds to.
QString limits() {
    return QStringLiteral(
               "Import reads regular files of at most %1 MiB. Keys are made at most %2 levels\n"
               "deep, as in the registry; deeper ones are not exported, but can be deleted.\n"
               "Export writes only a file, never a pipe, a device or the settings store's own,\n"
               "through a new file renamed over the old one once it is whole.\n")
        .arg(kMaxRegFileMiB)
        .arg(kDeepestKey);
}

} // namespace

std::optional<Command> parseCommand(const QStringList& arguments, QString& error) {
    Command command;
    if (arguments.isEmpty() || arguments[0] == QLatin1String("/?") ||
        arguments[0] == QLatin1String("-?") || arguments[0] == QLatin1String("--help"))
        return command;
    const std::optional<Operation> operation = operationNamed(arguments[0]);
    if (!operation) {
        error = QStringLiteral("Invalid syntax: %1 is not an operation.").arg(arguments[0]);
        return std::nullopt;
    }
    if (arguments.size() == 2 && isHelp(arguments[1])) {
        command.helpFor = operation;
        return command;
    }
    command.operation = *operation;
    if (command.operation == Operation::Import) {
        if (arguments.size() != 2) {
            error = QStringLiteral("Invalid syntax: import takes one file.");
            return std::nullopt;
        }
        command.file = arguments[1];
        return command;
    }
    const qsizetype fixed = command.operation == Operation::Export ? 3 : 2;
    if (arguments.size() < fixed || isSwitch(arguments[1])) {
        error = QStringLiteral("Invalid syntax: a key name is missing.");
        return std::nullopt;
    }
    const std::optional<QString> path = keyPath(arguments[1]);
    // "HKCU\" names no key, though a registry file's [HKEY_CURRENT_USER\] is the root.
    if (!path || (path->isEmpty() && arguments[1].endsWith(u'\\'))) {
        error = QStringLiteral("Invalid key name: %1 is not a key of HKCU (HKEY_CURRENT_USER).")
                    .arg(arguments[1]);
        return std::nullopt;
    }
    command.keyPath = *path;
    if (command.operation == Operation::Export)
        command.file = arguments[2];
    if (!readSwitches(arguments, fixed, command, error))
        return std::nullopt;
    return command;
}

namespace {

// Each operation's line of the usage.
const std::pair<Operation, const char*> kUsageLines[] = {
    {Operation::Query, "  vindrel-reg query KEY [/v NAME | /ve] [/s]\n"},
    {Operation::Add,
     "  vindrel-reg add KEY [/v NAME | /ve] [/t TYPE] [/s SEPARATOR] [/d DATA] [/f]\n"},
    {Operation::Delete, "  vindrel-reg delete KEY [/v NAME | /ve | /va] [/f]\n"},
    {Operation::Export, "  vindrel-reg export KEY FILE [/y] [/utf8]\n"},
    {Operation::Import, "  vindrel-reg import FILE\n"},
};

// The switches, each with the operations it applies to.
struct SwitchHelp {
    const char* text;
    std::initializer_list<Operation> operations;
};

const SwitchHelp kSwitches[] = {
    {"  /v NAME  the value NAME; /ve, or add without /v, the key's default value;\n"
     "           /va all its values (delete)\n",
     {Operation::Query, Operation::Add, Operation::Delete}},
    {"  /s       query: the subkeys too; add: the one character that parts REG_MULTI_SZ\n"
     "           text instead of \\0\n",
     {Operation::Query, Operation::Add}},
    {"  /t TYPE  REG_SZ (the default), REG_EXPAND_SZ, REG_MULTI_SZ, REG_DWORD,\n"
     "           REG_DWORD_BIG_ENDIAN, REG_QWORD, REG_BINARY or REG_NONE\n",
     {Operation::Add}},
    {"  /d DATA  text; a number in decimal or 0x hex; REG_BINARY as hex digits\n",
     {Operation::Add}},
    {"  /f       change or delete without asking\n", {Operation::Add, Operation::Delete}},
    {"  /y       replace the file without asking\n", {Operation::Export}},
    {"  /utf8    export as UTF-8 with LF line ends instead of regedit's UTF-16\n",
     {Operation::Export}},
};

// The switches that apply to the operation, or to any.
QString switchesOf(std::optional<Operation> operation) {
    QString text;
    for (const SwitchHelp& help : kSwitches) {
        if (!operation || std::ranges::find(help.operations, *operation) != help.operations.end())
            text += QLatin1String(help.text);
    }
    return text;
}

} // namespace

QString usage(std::optional<Operation> operation) {
    QString lines;
    for (const auto& [lineOperation, line] : kUsageLines) {
        if (!operation || lineOperation == *operation)
            lines += QLatin1String(line);
    }
    if (operation) {
        const QString switches = switchesOf(operation);
        return switches.isEmpty() ? lines : lines + u'\n' + switches;
    }
    const QString text = QStringLiteral(
        "vindrel-reg: reads and changes the clock's settings store as Windows' reg command\n"
        "reads and changes the registry. Keys are written HKCU\\Software\\...\n"
        "\n"
        "%1\n"
        "%2\n"
        "Files are in the regedit format (\"Windows Registry Editor Version 5.00\", or\n"
        "REGEDIT4 to import). Export writes UTF-16 with a byte order mark and CR LF, as\n"
        "regedit does. Import reads UTF-16 and UTF-8 files; a file without a byte order\n"
        "mark that is not valid UTF-8 is read as Windows-1252, as regedit reads ANSI.\n"
        "A line of a file that cannot be read is passed over, with a warning naming it.\n"
        "%3\n"
        "Example:\n"
        "  vindrel-reg query 'HKCU\\Software\\Brambleton\\Vindrel' /v AlarmCount\n");
    return text.arg(lines, switchesOf(std::nullopt), limits());
}

} // namespace RegTool
