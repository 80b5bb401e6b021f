#include "core/RegistryAccess.h"

#include <vector>

namespace Registry {

std::string codePage(const QString& text) {
    return text.toLocal8Bit().toStdString();
}

QString fromCodePage(const std::string& text) {
    return QString::fromLocal8Bit(text.data(), static_cast<qsizetype>(text.size()));
}

OpenedKey::OpenedKey(Hive::Store& store, const QString& path, bool create, Hive::Root root)
    : store_(store), status_(create ? store.createKey(root, codePage(path), key_)
                                    : store.openKey(root, codePage(path), key_)) {}

OpenedKey::~OpenedKey() {
    if (key_)
        store_.closeKey(key_);
}

QStringList OpenedKey::subkeys() const {
    QStringList names;
    for (const std::string& name : storedSubkeys())
        names << fromCodePage(name);
    return names;
}

std::vector<std::string> OpenedKey::storedSubkeys() const {
    std::vector<std::string> names;
    std::string name;
    for (std::uint32_t i = 0; store_.enumKey(key_, i, name) == Hive::kSuccess; ++i)
        names.push_back(name);
    return names;
}

QList<NamedValue> OpenedKey::values() const {
    QList<NamedValue> values;
    std::string name;
    std::uint32_t type = 0;
    std::vector<std::uint8_t> data;
    for (std::uint32_t i = 0; store_.enumValue(key_, i, name, type, data) == Hive::kSuccess; ++i)
        values.append({fromCodePage(name), type,
                       QByteArray(reinterpret_cast<const char*>(data.data()),
                                  static_cast<qsizetype>(data.size())),
                       name});
    return values;
}

std::optional<NamedValue> OpenedKey::value(const QString& name) const {
    const std::string storedName = codePage(name);
    std::uint32_t type = 0;
    std::uint32_t size = 0;
    if (store_.queryValue(key_, storedName, &type, nullptr, &size) != Hive::kSuccess)
        return std::nullopt;
    QByteArray data(static_cast<qsizetype>(size), '\0');
    if (store_.queryValue(key_, storedName, nullptr, reinterpret_cast<std::uint8_t*>(data.data()),
                          &size) != Hive::kSuccess)
        return std::nullopt;
    data.truncate(static_cast<qsizetype>(size));
    return NamedValue{name, type, data, storedName};
}

Hive::Status OpenedKey::set(const NamedValue& value) const {
    return store_.setValue(key_, codePage(value.name), value.type,
                           reinterpret_cast<const std::uint8_t*>(value.data.constData()),
                           static_cast<std::uint32_t>(value.data.size()));
}

} // namespace Registry
