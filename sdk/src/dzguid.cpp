#include "dzguid.h"

#include <cstring>

namespace {

int hexValue(QChar c) {
    const ushort u = c.unicode();
    if (u >= '0' && u <= '9') {
        return u - '0';
    }
    if (u >= 'a' && u <= 'f') {
        return u - 'a' + 10;
    }
    if (u >= 'A' && u <= 'F') {
        return u - 'A' + 10;
    }
    return -1;
}

} // namespace

DzGuid::DzGuid(uint l, ushort w1, ushort w2, uchar b1, uchar b2, uchar b3, uchar b4, uchar b5,
               uchar b6, uchar b7, uchar b8)
    : m_data1(l), m_data2(w1), m_data3(w2), m_data4{b1, b2, b3, b4, b5, b6, b7, b8} {}

DzGuid::DzGuid(const QUuid& uuid)
    : DzGuid(uuid.data1, uuid.data2, uuid.data3, uuid.data4[0], uuid.data4[1], uuid.data4[2],
             uuid.data4[3], uuid.data4[4], uuid.data4[5], uuid.data4[6], uuid.data4[7]) {}

DzGuid DzGuid::fromString(const QString& text) {
    QString s = text.trimmed();
    if (s.size() == 38 && s.startsWith(QLatin1Char('{')) && s.endsWith(QLatin1Char('}'))) {
        s = s.mid(1, 36);
    }
    if (s.size() != 36) {
        return DzGuid();
    }
    // 32 hex digits in groups of 8-4-4-4-12.
    uchar bytes[16];
    int n = 0;
    for (int i = 0; i < 36; ++i) {
        if (i == 8 || i == 13 || i == 18 || i == 23) {
            if (s[i] != QLatin1Char('-')) {
                return DzGuid();
            }
            continue;
        }
        const int hi = hexValue(s[i]);
        const int lo = i + 1 < 36 ? hexValue(s[i + 1]) : -1;
        if (hi < 0 || lo < 0) {
            return DzGuid();
        }
        bytes[n++] = uchar(hi * 16 + lo);
        ++i;
    }
    const uint l =
        (uint(bytes[0]) << 24) | (uint(bytes[1]) << 16) | (uint(bytes[2]) << 8) | uint(bytes[3]);
    return DzGuid(l, ushort((bytes[4] << 8) | bytes[5]), ushort((bytes[6] << 8) | bytes[7]),
                  bytes[8], bytes[9], bytes[10], bytes[11], bytes[12], bytes[13], bytes[14],
                  bytes[15]);
}

DzGuid DzGuid::fromCString(const char* text) {
    return fromString(QString::fromLatin1(text != nullptr ? text : ""));
}

DzGuid DzGuid::createGuid() {
    return DzGuid(QUuid::createUuid());
}

QString DzGuid::toString() const {
    QString out = QStringLiteral("%1-%2-%3-")
                      .arg(m_data1, 8, 16, QLatin1Char('0'))
                      .arg(m_data2, 4, 16, QLatin1Char('0'))
                      .arg(m_data3, 4, 16, QLatin1Char('0'));
    for (int i = 0; i < 8; ++i) {
        if (i == 2) {
            out += QLatin1Char('-');
        }
        out += QStringLiteral("%1").arg(m_data4[i], 2, 16, QLatin1Char('0'));
    }
    return out.toUpper();
}

QUuid DzGuid::toQUuid() const {
    return QUuid(m_data1, m_data2, m_data3, m_data4[0], m_data4[1], m_data4[2], m_data4[3],
                 m_data4[4], m_data4[5], m_data4[6], m_data4[7]);
}

bool DzGuid::isNil() const {
    return *this == DzGuid();
}

bool DzGuid::operator==(const DzGuid& o) const {
    return m_data1 == o.m_data1 && m_data2 == o.m_data2 && m_data3 == o.m_data3 &&
           std::memcmp(m_data4, o.m_data4, sizeof m_data4) == 0;
}
