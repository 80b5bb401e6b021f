#pragma once

#include "hive/Store.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

#include <optional>
#include <string>
#include <vector>

// The store seen in Qt's terms, for the clock's core and for vindrel-reg: names and text cross
// in the system's 8-bit code page, and a key is closed when its holder goes.
namespace Registry {

struct NamedValue {
    QString name; // "" for the key's default value
    quint32 type = 0;
    QByteArray data;
    std::string storedName; // the name as the store holds it, when read from the store
};

std::string codePage(const QString& text);
QString fromCodePage(const std::string& text);

// A key opened (or created) for the life of the object.
class OpenedKey {
public:
    OpenedKey(Hive::Store& store, const QString& path, bool create,
              Hive::Root root = Hive::Root::CurrentUser);
    ~OpenedKey();
    OpenedKey(const OpenedKey&) = delete;
    OpenedKey& operator=(const OpenedKey&) = delete;

    Hive::Status status() const { return status_; }
    Hive::Key key() const { return key_; }

    QStringList subkeys() const;
    // The subkeys' names as the store holds them.
    std::vector<std::string> storedSubkeys() const;
    QList<NamedValue> values() const;
    // The value under name, if there is one.
    std::optional<NamedValue> value(const QString& name) const;
    Hive::Status set(const NamedValue& value) const;

private:
    Hive::Store& store_;
    Hive::Key key_;
    Hive::Status status_;
};

} // namespace Registry
