#include "dztimerange.h"

DzTime DzTimeRange::getDuration() const {
    const long long d = static_cast<long long>(m_end) - static_cast<long long>(m_start);
    return d > DZ_MAX_TIME ? DZ_MAX_TIME : static_cast<DzTime>(d);
}

void DzTimeRange::setEnds(DzTime start, DzTime end) {
    m_start = start;
    m_end = end;
}

void DzTimeRange::include(DzTime t) {
    if (isEmpty()) {
        m_start = m_end = t;
        return;
    }
    if (t < m_start) {
        m_start = t;
    }
    if (t > m_end) {
        m_end = t;
    }
}
