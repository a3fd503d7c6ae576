#include "dzsettings.h"

#include <cmath>
#include <limits>

namespace {

// The value as a double, or false when it is not a number.
bool toNumber(const QVariant& value, double& out) {
    if (value.type() == QVariant::String) {
        const QString text = value.toString().trimmed();
        if (text == QLatin1String("true")) {
            out = 1.0;
            return true;
        }
        if (text == QLatin1String("false")) {
            out = 0.0;
            return true;
        }
        bool ok = false;
        out = text.toDouble(&ok);
        return ok;
    }
    bool ok = false;
    out = value.toDouble(&ok);
    return ok;
}

} // namespace

DzSettings::DzSettings() = default;

DzSettings::DzSettings(const DzSettings* other) {
    if (other != nullptr) {
        m_entries = other->m_entries;
        m_index = other->m_index;
    }
}

DzSettings::~DzSettings() = default;

QString DzSettings::getKey(int index) const {
    if (index < 0 || index >= getNumValues()) {
        return QString();
    }
    return m_entries[std::size_t(index)].key;
}

DzSettings::Type DzSettings::getValueType(int index) const {
    if (index < 0 || index >= getNumValues()) {
        return StringValue;
    }
    return m_entries[std::size_t(index)].type;
}

int DzSettings::getIntValue(const QString& key, int def) const {
    const Entry* entry = find(key);
    double number = 0.0;
    if (entry == nullptr || !toNumber(entry->value, number) || !std::isfinite(number)) {
        return def;
    }
    // Out-of-range numbers saturate instead of overflowing the conversion.
    if (number >= double(std::numeric_limits<int>::max())) {
        return std::numeric_limits<int>::max();
    }
    if (number <= double(std::numeric_limits<int>::min())) {
        return std::numeric_limits<int>::min();
    }
    return int(number);
}

void DzSettings::setIntValue(const QString& key, int value) {
    set(key, IntValue, QVariant(value));
}

double DzSettings::getFloatValue(const QString& key, float def) const {
    const Entry* entry = find(key);
    double number = 0.0;
    if (entry == nullptr || !toNumber(entry->value, number)) {
        return def;
    }
    return number;
}

void DzSettings::setFloatValue(const QString& key, double value) {
    set(key, FloatValue, QVariant(value));
}

bool DzSettings::getBoolValue(const QString& key, bool def) const {
    const Entry* entry = find(key);
    double number = 0.0;
    if (entry == nullptr || !toNumber(entry->value, number)) {
        return def;
    }
    return number != 0.0;
}

void DzSettings::setBoolValue(const QString& key, bool value) {
    set(key, BoolValue, QVariant(value));
}

QString DzSettings::getStringValue(const QString& key, const QString& def) const {
    const Entry* entry = find(key);
    if (entry == nullptr) {
        return def;
    }
    if (entry->type == BoolValue) {
        return entry->value.toBool() ? QStringLiteral("true") : QStringLiteral("false");
    }
    return entry->value.toString();
}

void DzSettings::setStringValue(const QString& key, const QString& value) {
    set(key, StringValue, QVariant(value));
}

int DzSettings::hasKey(const QString& key) const {
    return find(key) != nullptr ? 1 : 0;
}

void DzSettings::removeValue(const QString& key) {
    const auto it = m_index.constFind(key);
    if (it == m_index.constEnd()) {
        return;
    }
    m_entries.erase(m_entries.begin() + it.value());
    reindex();
}

void DzSettings::clear() {
    m_entries.clear();
    m_index.clear();
}

void DzSettings::set(const QString& key, Type type, const QVariant& value) {
    const auto it = m_index.constFind(key);
    if (it != m_index.constEnd()) {
        Entry& entry = m_entries[std::size_t(it.value())];
        entry.type = type;
        entry.value = value;
        return;
    }
    m_index.insert(key, int(m_entries.size()));
    m_entries.push_back(Entry{key, type, value});
}

const DzSettings::Entry* DzSettings::find(const QString& key) const {
    const auto it = m_index.constFind(key);
    return it == m_index.constEnd() ? nullptr : &m_entries[std::size_t(it.value())];
}

void DzSettings::reindex() {
    m_index.clear();
    for (std::size_t i = 0; i < m_entries.size(); ++i) {
        m_index.insert(m_entries[i].key, int(i));
    }
}
