#include "tools/yfx/progress_printer.h"

#include <dzprogress.h>

#include <QtCore/QByteArray>

namespace yfx {

ProgressPrinter::ProgressPrinter(std::FILE* out, const char* prefix)
    : m_out(out), m_prefix(prefix) {
    DzProgress::setListener([this](const DzProgress::Report& report) {
        const int indent = 2 * (report.depth > 1 ? report.depth - 1 : 0);
        const QByteArray info = report.info.toUtf8();
        switch (report.kind) {
        case DzProgress::Report::Started:
        case DzProgress::Report::InfoChanged:
            std::fprintf(m_out, "%s: %*s%s\n", m_prefix, indent, "", info.constData());
            break;
        case DzProgress::Report::Stepped: {
            if (report.totalSteps <= 0) {
                break;
            }
            const long long quarter = 4LL * report.currentStep / report.totalSteps; // 0 .. 4
            int& shown = m_quarters[report.progress];
            if (quarter > shown) {
                shown = int(quarter);
                std::fprintf(m_out, "%s: %*s%s %d%%\n", m_prefix, indent, "", info.constData(),
                             25 * shown);
            }
            break;
        }
        case DzProgress::Report::Finished:
            m_quarters.remove(report.progress);
            break;
        }
        std::fflush(m_out);
    });
}

ProgressPrinter::~ProgressPrinter() {
    DzProgress::setListener(DzProgress::Listener());
}

} // namespace yfx
