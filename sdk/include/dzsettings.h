// DzSettings: a flat set of string-keyed, typed values (string, int, bool,
// float). Keys keep the order in which they were first set; setting a key
// again replaces its value and type in place.
//
// Reading a key that holds another type: int, bool and float convert into one
// another (a float read as int is truncated toward zero, a number read as
// bool is true when non-zero); a string converts when it is a number or
// "true"/"false", otherwise the default is returned. Nested settings values are
// not supported by the stand-in.
#pragma once

#include "dzgeneraldefs.h"

#include <QtCore/QHash>
#include <QtCore/QObject>
#include <QtCore/QString>
#include <QtCore/QVariant>

#include <vector>

class DZ_EXPORT DzSettings : public QObject {
    Q_OBJECT
public:
    enum Type { StringValue, IntValue, BoolValue, FloatValue, SettingsValue };
    Q_ENUM(Type)

    DzSettings();
    // A copy of the keys and values of `other` (none when it is null).
    explicit DzSettings(const DzSettings* other);
    ~DzSettings() override;

    int getNumValues() const { return int(m_entries.size()); }
    // The key at a position, or an empty string outside 0..getNumValues()-1.
    QString getKey(int index) const;
    // The type at a position; StringValue outside the range.
    Type getValueType(int index) const;

public slots:
    int getIntValue(const QString& key, int def = 0) const;
    void setIntValue(const QString& key, int value);
    double getFloatValue(const QString& key, float def = 0.0f) const;
    void setFloatValue(const QString& key, double value);
    bool getBoolValue(const QString& key, bool def = false) const;
    void setBoolValue(const QString& key, bool value);
    QString getStringValue(const QString& key, const QString& def = QString()) const;
    void setStringValue(const QString& key, const QString& value);

    // 1 when the key is present, 0 otherwise.
    int hasKey(const QString& key) const;
    void removeValue(const QString& key);
    void clear();

private:
    struct Entry {
        QString key;
        Type type;
        QVariant value;
    };

    void set(const QString& key, Type type, const QVariant& value);
    const Entry* find(const QString& key) const;
    void reindex();

    std::vector<Entry> m_entries;
    QHash<QString, int> m_index;
};
