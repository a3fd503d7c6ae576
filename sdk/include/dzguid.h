// DzGuid: a 128-bit class identifier in the Windows GUID layout (one 32-bit,
// two 16-bit and eight 8-bit parts). Text form: "XXXXXXXX-XXXX-XXXX-XXXX-
// XXXXXXXXXXXX", upper-case hex, no braces.
#pragma once

#include "dzgeneraldefs.h"

#include <QtCore/QString>
#include <QtCore/QUuid>

class DZ_EXPORT DzGuid {
public:
    // The nil GUID (all zero).
    DzGuid() = default;
    DzGuid(uint l, ushort w1, ushort w2, uchar b1, uchar b2, uchar b3, uchar b4, uchar b5, uchar b6,
           uchar b7, uchar b8);
    explicit DzGuid(const QUuid& uuid);

    // Parses the text form, with or without surrounding braces, hex digits in
    // any case. Text that is not a GUID gives the nil GUID.
    static DzGuid fromString(const QString& text);
    static DzGuid fromCString(const char* text);
    // A fresh random GUID.
    static DzGuid createGuid();

    QString toString() const;
    QUuid toQUuid() const;
    bool isNil() const;
    // Every GUID but the nil one is valid.
    bool isValid() const { return !isNil(); }

    bool operator==(const DzGuid& o) const;
    bool operator!=(const DzGuid& o) const { return !(*this == o); }

    uint data1() const { return m_data1; }
    ushort data2() const { return m_data2; }
    ushort data3() const { return m_data3; }
    uchar data4(int i) const { return m_data4[i & 7]; }

private:
    uint m_data1 = 0;
    ushort m_data2 = 0;
    ushort m_data3 = 0;
    uchar m_data4[8] = {0, 0, 0, 0, 0, 0, 0, 0};
};
