// DzVersion: a four-part version number (major.minor.revision.build) packed
// into one 64-bit integer, 16 bits per part, major in the highest bits, so that
// versions compare as plain integers.
//
// What still differs from the host: the constructors from one integer are
// explicit, and setVersionNumber is left out; the part-wise version macros
// (DZ_VERSION_MAJOR and the like) are not defined.
#pragma once

#include "dzgeneraldefs.h"

#include <QtCore/QString>

class DZ_EXPORT DzVersion {
public:
    DzVersion() = default;
    // A 32-bit version: 8 bits per part, major in the highest byte.
    explicit DzVersion(unsigned int version32);
    explicit DzVersion(quint64 version) : m_version(version) {}
    DzVersion(ushort major, ushort minor, ushort revision, ushort build);

    quint64 getVersionNumber() const { return m_version; }
    // The version squeezed into 8 bits per part (each part cut to its low byte).
    unsigned int getVersionNumber32() const;
    ushort getMajorVersion() const { return ushort(m_version >> 48); }
    ushort getMinorVersion() const { return ushort(m_version >> 32); }
    ushort getRevisionNumber() const { return ushort(m_version >> 16); }
    ushort getBuildNumber() const { return ushort(m_version); }

    // "major.minor.revision.build", e.g. "4.5.0.100".
    QString getVersionString() const;
    // "Version major.minor.revision.build".
    QString getLongVersionString() const;
    // A version is valid when it is not 0.0.0.0.
    bool isValid() const { return m_version != 0; }

    // Parses "a.b.c.d"; missing trailing parts count as 0. Text that is not
    // one to four dot-separated numbers of at most 65535 gives 0.0.0.0 and
    // sets *ok to false.
    static DzVersion fromString(const QString& text, bool* ok = nullptr);

    bool operator==(const DzVersion& o) const { return m_version == o.m_version; }
    bool operator!=(const DzVersion& o) const { return m_version != o.m_version; }
    bool operator<(const DzVersion& o) const { return m_version < o.m_version; }
    bool operator<=(const DzVersion& o) const { return m_version <= o.m_version; }
    bool operator>(const DzVersion& o) const { return m_version > o.m_version; }
    bool operator>=(const DzVersion& o) const { return m_version >= o.m_version; }

private:
    quint64 m_version = 0;
};

// The SDK the plug-ins are built against, the host's own version, and the
// oldest SDK a plug-in may be built against to be loaded.
#define DZ_SDK_VERSION DzVersion(4, 5, 0, 100)
#define DZ_VERSION DzVersion(4, 5, 0, 114)
#define DZ_MIN_SDK_VERSION DzVersion(4, 5, 0, 100)
