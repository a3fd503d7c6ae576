#include "export/phase_progress.h"

#include <limits>

#include <dzprogress.h>

namespace yfx {
namespace exporter {

PhaseProgress::PhaseProgress(const ExportSession& session, const QString& info,
                             long long totalSteps) {
    if (session.progress == nullptr) {
        return;
    }
    // A total beyond the progress's range is shown as an unknown total.
    const int total = totalSteps > std::numeric_limits<int>::max() ? 0 : int(totalSteps);
    progress_.reset(new DzProgress(info, total));
}

PhaseProgress::~PhaseProgress() {
    if (progress_) {
        progress_->finish();
    }
}

void PhaseProgress::step() {
    if (progress_) {
        progress_->step();
    }
}

} // namespace exporter
} // namespace yfx
