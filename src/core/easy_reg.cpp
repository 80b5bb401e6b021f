#include "core/EasyReg.h"

#include "core/ValueConversions.h"

#include "core/RegistryAccess.h"
#include "platform/RegistryLog.h"

#include <QtEndian>

#include <algorithm>
#include <vector>

namespace VD_Core {

namespace {

constexpr Hive::Status kUnhandledType = -1;
constexpr Hive::Status kTooLarge = -2;

using Registry::codePage;

// One open, one use, one close: no handle outlives the call.
template <typename Use>
void withOpenKey(Hive::Store& store, Hive::Root root, const QString& path, Use use) {
    const Registry::OpenedKey opened(store, path, false, root);
    if (opened.status() == Hive::kSuccess)
        use(opened.key());
}

} // namespace

void EasyReg::CreateNewKey(const QString& path, Hive::Root root) const {
    // Made, or found, and closed again at once.
    const Registry::OpenedKey made(store_, path, true, root);
}

void EasyReg::SaveValue(Hive::Root root, const QString& path, const QString& name,
                        const RegValue& value, quint32 type) const {
    withOpenKey(store_, root, path, [&](Hive::Key key) { SetKeyValue(key, name, type, value); });
}

void EasyReg::DeleteValue(Hive::Root root, const QString& path, const QString& name) const {
    withOpenKey(store_, root, path,
                [&](Hive::Key key) { store_.deleteValue(key, codePage(name)); });
}

RegValue EasyReg::GetValue(Hive::Root root, const QString& path, const QString& name) const {
    RegValue result;
    withOpenKey(store_, root, path, [&](Hive::Key key) { QueryKeyValue(key, name, result); });
    return result;
}

Hive::Status EasyReg::SetKeyValue(Hive::Key key, const QString& name, quint32 type,
                                  const RegValue& value) const {
    if (type == Hive::kRegSz) {
        std::string text = codePage(value.toText());
        text.push_back('\0');
        return store_.setValue(key, codePage(name), type,
                               reinterpret_cast<const std::uint8_t*>(text.data()),
                               static_cast<std::uint32_t>(text.size()));
    }
    if (type == Hive::kRegDword) {
        const std::optional<qint32> number = toInt32(value);
        if (!number)
            return Hive::kInvalidParameter;
        std::uint8_t bytes[4];
        qToLittleEndian(*number, bytes);
        return store_.setValue(key, codePage(name), type, bytes, sizeof bytes);
    }
    return Hive::kSuccess;
}

Hive::Status EasyReg::QueryKeyValue(Hive::Key key, const QString& name, RegValue& value) const {
    const std::string storedName = codePage(name);
    std::uint32_t type = 0;
    std::uint32_t size = 0;
    const Hive::Status status = store_.queryValue(key, storedName, &type, nullptr, &size);
    if (status != Hive::kSuccess)
        return status;
    // Only the size is known yet: a huge value, which another program may have stored, is
    // never read, nor shown in the log.
    if (size > kLargestValue) {
        qCWarning(lcRegistry).noquote()
            << QStringLiteral(
                   "%1 holds %2 bytes, more than the %3 the clock reads; it is left unread")
                   .arg(name)
                   .arg(size)
                   .arg(kLargestValue);
        return kTooLarge;
    }
    if (type == Hive::kRegSz)
        return queryText(key, storedName, size, value);
    if (type == Hive::kRegDword)
        return queryNumber(key, storedName, size, value);
    return kUnhandledType;
}

Hive::Status EasyReg::queryText(Hive::Key key, const std::string& name, std::uint32_t size,
                                RegValue& value) const {
    // With nothing stored there is no terminator to drop: the value stays as it was.
    if (size == 0)
        return Hive::kSuccess;
    QByteArray buffer(static_cast<qsizetype>(size), '\0');
    std::uint32_t written = size;
    const Hive::Status status = store_.queryValue(
        key, name, nullptr, reinterpret_cast<std::uint8_t*>(buffer.data()), &written);
    if (status != Hive::kSuccess) {
        value = RegValue();
        return status;
    }
    // The last byte is taken for the terminating NUL, whether it is one or not.
    if (written > 0)
        value = Registry::fromCodePage(std::string(buffer.constData(), written - 1));
    return status;
}

Hive::Status EasyReg::queryNumber(Hive::Key key, const std::string& name, std::uint32_t size,
                                  RegValue& value) const {
    // A number stored in fewer or more than 4 bytes by another writer still reads safely.
    std::vector<std::uint8_t> buffer(std::max<std::uint32_t>(size, 4), 0);
    std::uint32_t written = size;
    const Hive::Status status = store_.queryValue(key, name, nullptr, buffer.data(), &written);
    if (status == Hive::kSuccess)
        value = qFromLittleEndian<qint32>(buffer.data());
    return status;
}

} // namespace VD_Core
