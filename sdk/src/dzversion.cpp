#include "dzversion.h"

#include <QtCore/QStringList>

DzVersion::DzVersion(unsigned int version32)
    : DzVersion(ushort((version32 >> 24) & 0xff), ushort((version32 >> 16) & 0xff),
                ushort((version32 >> 8) & 0xff), ushort(version32 & 0xff)) {}

DzVersion::DzVersion(ushort major, ushort minor, ushort revision, ushort build)
    : m_version((quint64(major) << 48) | (quint64(minor) << 32) | (quint64(revision) << 16) |
                quint64(build)) {}

unsigned int DzVersion::getVersionNumber32() const {
    return ((getMajorVersion() & 0xffu) << 24) | ((getMinorVersion() & 0xffu) << 16) |
           ((getRevisionNumber() & 0xffu) << 8) | (getBuildNumber() & 0xffu);
}

QString DzVersion::getVersionString() const {
    return QStringLiteral("%1.%2.%3.%4")
        .arg(getMajorVersion())
        .arg(getMinorVersion())
        .arg(getRevisionNumber())
        .arg(getBuildNumber());
}

QString DzVersion::getLongVersionString() const {
    return QStringLiteral("Version ") + getVersionString();
}

DzVersion DzVersion::fromString(const QString& text, bool* ok) {
    const QStringList parts = text.trimmed().split(QLatin1Char('.'));
    ushort values[4] = {0, 0, 0, 0};
    bool good = !parts.isEmpty() && parts.size() <= 4;
    for (int i = 0; good && i < parts.size(); ++i) {
        bool partOk = false;
        const uint value = parts[i].toUInt(&partOk);
        good = partOk && value <= 0xffffu;
        values[i] = ushort(value);
    }
    if (ok != nullptr) {
        *ok = good;
    }
    if (!good) {
        return DzVersion();
    }
    return DzVersion(values[0], values[1], values[2], values[3]);
}
