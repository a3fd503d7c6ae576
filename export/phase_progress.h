// One phase of the gathering shown as a progress inside the write step's
// progress: only when the session has one, and nothing at all otherwise.
#pragma once

#include <memory>

#include "export/export_session.h"

class DzProgress;
class QString;

namespace yfx {
namespace exporter {

class PhaseProgress {
public:
    PhaseProgress(const ExportSession& session, const QString& info, long long totalSteps);
    ~PhaseProgress();
    PhaseProgress(const PhaseProgress&) = delete;
    PhaseProgress& operator=(const PhaseProgress&) = delete;

    void step();

private:
    std::unique_ptr<DzProgress> progress_;
};

} // namespace exporter
} // namespace yfx
