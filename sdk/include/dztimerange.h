// DzTimeRange: a closed range of host time [start, end] in ticks.
#pragma once

#include "dzgeneraldefs.h"

#include <QtCore/QMetaType>

class DZ_EXPORT DzTimeRange {
public:
    DzTimeRange() : m_start(0), m_end(0) {}
    DzTimeRange(DzTime start, DzTime end) : m_start(start), m_end(end) {}

    DzTime getStart() const { return m_start; }
    DzTime getEnd() const { return m_end; }
    // end - start, computed without overflow and clamped to DZ_MAX_TIME.
    DzTime getDuration() const;
    void setStart(DzTime t) { m_start = t; }
    void setEnd(DzTime t) { m_end = t; }
    void setEnds(DzTime start, DzTime end);

    // Widens the range to contain t.
    void include(DzTime t);
    // True when end is before start.
    bool isEmpty() const { return m_end < m_start; }
    bool isIncluded(DzTime t) const { return t >= m_start && t <= m_end; }

    bool operator==(const DzTimeRange& r) const { return m_start == r.m_start && m_end == r.m_end; }
    bool operator!=(const DzTimeRange& r) const { return !(*this == r); }

private:
    DzTime m_start;
    DzTime m_end;
};

#define DZ_ETERNITY DzTimeRange(DZ_MIN_TIME, DZ_MAX_TIME)

Q_DECLARE_METATYPE(DzTimeRange)
