#include "dzprogress.h"

#include <QtCore/QtGlobal>

#include <algorithm>
#include <climits>
#include <vector>

namespace {

// The running progresses, outermost first.
std::vector<DzProgress*>& running() {
    static std::vector<DzProgress*> list;
    return list;
}

DzProgress::Listener& listener() {
    static DzProgress::Listener fn;
    return fn;
}

} // namespace

DzProgress::DzProgress(const QString& info, int totalSteps, bool isCancellable,
                       bool showTimeElapsed)
    : m_info(info), m_total(totalSteps), m_cancellable(isCancellable),
      m_showTimeElapsed(showTimeElapsed) {
    running().push_back(this);
    m_depth = int(running().size());
    report(Report::Started);
}

DzProgress::~DzProgress() {
    finish();
}

void DzProgress::setCurrentInfo(const QString& info) {
    if (!running().empty()) {
        running().back()->setInfo(info);
    }
}

void DzProgress::setListener(Listener fn) {
    listener() = std::move(fn);
}

void DzProgress::report(Report::Kind kind) const {
    if (listener()) {
        listener()(Report{kind, this, m_info, m_current, m_total, m_depth});
    }
}

void DzProgress::setInfo(const QString& info) {
    if (m_finished) {
        return;
    }
    m_info = info;
    report(Report::InfoChanged);
}

void DzProgress::setTotalSteps(int totalSteps) {
    if (m_finished) {
        return;
    }
    m_total = totalSteps;
    moveTo(m_current);
}

void DzProgress::moveTo(long long step) {
    const long long top = m_total > 0 ? m_total : INT_MAX;
    const int next = int(std::min(std::max(step, 0LL), top));
    if (next != m_current) {
        m_current = next;
        report(Report::Stepped);
    }
}

void DzProgress::step(int numSteps) {
    if (!m_finished) {
        moveTo(static_cast<long long>(m_current) + numSteps);
    }
}

void DzProgress::update(int currentStep) {
    if (!m_finished) {
        moveTo(currentStep);
    }
}

void DzProgress::finish() {
    if (m_finished) {
        return;
    }
    if (m_total > 0) {
        m_current = m_total;
    }
    m_finished = true;
    auto& list = running();
    list.erase(std::remove(list.begin(), list.end(), this), list.end());
    report(Report::Finished);
}
