#pragma once

#include <QPixmap>
#include <QString>
#include <QtGlobal>

#include <array>

namespace VD_Core {

// The user's four settings. Switches are 0 or 1 as stored; see the accessors for how other
// stored values count.
struct Settings {
    quint8 AlwaysOnTop = 0;  // any nonzero value counts as on
    quint8 HourSignal = 0;   // only exactly 1 counts as on
    quint8 AlarmEnabled = 0; // only exactly 1 counts as on
    QString UsedSkinPath;    // "" for the built-in look

    bool onTop() const { return AlwaysOnTop != 0; }
    bool hourSignalOn() const { return HourSignal == 1; }
    bool alarmsOn() const { return AlarmEnabled == 1; }
};

// One alarm. Day: 0 every day, 1 Monday to 7 Sunday. Month: 0 every month, 1 to 12.
struct AlarmEntry {
    QString Name; // "" marks an entry not in use
    quint8 Hour = 0;
    quint8 Mins = 0;
    quint8 Day = 0;
    quint8 Month = 0;

    bool operator==(const AlarmEntry&) const = default;
};

// Marks an entry that the next save leaves out.
inline const QString kRemovalMarker = QStringLiteral("__#RemoveAlm[0]");

// Twenty alarm entries numbered 1 to 20; entries 1 to AlarmCount are in use without gaps.
class Alarms {
public:
    static constexpr int kCapacity = 20;

    quint8 AlarmCount = 0;

    // Entry n, 1 <= n <= kCapacity. Numbers outside the table are a programming error.
    AlarmEntry& operator[](int n);
    const AlarmEntry& operator[](int n) const;

    bool full() const { return AlarmCount >= kCapacity; }
    // Puts the entry after the last one in use and returns its number; 0, with nothing
    // changed, when the table is full.
    int append(const AlarmEntry& entry);

private:
    std::array<AlarmEntry, kCapacity> entries_{};
};

// The built-in pictures captured at start-up and the current skin's two sound paths.
struct Skin {
    QPixmap DefaultTitlePicture;
    QPixmap DefaultAlarmPicture;
    QString HourSoundPath;  // "" for none
    QString AlarmSoundPath; // "" for none
};

} // namespace VD_Core
