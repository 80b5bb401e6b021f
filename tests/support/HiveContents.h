#pragma once

#include "hive/Store.h"

#include <QByteArray>
#include <QList>
#include <QString>

#include <ostream>

// One stored value as the store holds it.
struct StoredValue {
    QString name;
    quint32 type = 0;
    QByteArray data;

    bool operator==(const StoredValue&) const = default;
};

inline void PrintTo(const StoredValue& value, std::ostream* out) {
    *out << value.name.toStdString() << " type " << value.type << " ["
         << value.data.toHex(' ').toStdString() << "]";
}

// The values of root\path, in the order the store lists them; empty for a missing key.
QList<StoredValue> storedValues(Hive::Store& store, const QString& path);

// Everything under the clock's two keys, read in one snapshot, the alarms' names after
// "Alarms\", in the order of their names whatever the order they were written in.
QList<StoredValue> clockValues(Hive::Store& store);

// Writes a value straight into the store, creating the key, as another program could.
void storeRaw(Hive::Store& store, const QString& path, const QString& name, quint32 type,
              const QByteArray& data);

// The stored state after a save with the window at 1200, 900 twips, alarms on, and two alarms:
// Wake at 7:30 every day, Meeting at 14:05 on Mondays in March.
void storeExampleState(Hive::Store& store);

// A REG_SZ value as the clock writes it: the UTF-8 text and one NUL.
StoredValue textValue(const QString& name, const QString& text);
