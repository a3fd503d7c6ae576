#include "dzprogress.h"

#include <gtest/gtest.h>

#include <QtCore/QStringList>

namespace {

// Records every report as "kind:info:step/total@depth".
class Recorder {
public:
    Recorder() {
        DzProgress::setListener([this](const DzProgress::Report& r) {
            static const char* const kinds[] = {"start", "info", "step", "finish"};
            lines << QStringLiteral("%1:%2:%3/%4@%5")
                         .arg(QLatin1String(kinds[r.kind]), r.info)
                         .arg(r.currentStep)
                         .arg(r.totalSteps)
                         .arg(r.depth);
        });
    }
    ~Recorder() { DzProgress::setListener(DzProgress::Listener()); }
    QStringList lines;
};

} // namespace

TEST(ProgressTest, ListenerSeesNestedProgressStepByStep) {
    Recorder rec;
    {
        DzProgress outer(QStringLiteral("Exporting"), 3, true, true);
        EXPECT_TRUE(outer.isCancellable());
        outer.step();
        {
            DzProgress inner(QStringLiteral("Meshes"), 0);
            DzProgress::setCurrentInfo(QStringLiteral("Body")); // the innermost running one
            inner.step(2);
            inner.update(2); // no change: no report
            EXPECT_EQ(inner.getCurrentStep(), 2);
        }                                                      // finished by its destructor
        DzProgress::setCurrentInfo(QStringLiteral("Writing")); // back to the outer one
        outer.update(7);                                       // kept within the total
        outer.step(-10);                                       // and above 0
        outer.finish();
        EXPECT_TRUE(outer.isFinished());
        EXPECT_EQ(outer.getCurrentStep(), 3);
        outer.step();
        outer.setInfo(QStringLiteral("late")); // after finish: nothing
    }
    DzProgress::setCurrentInfo(QStringLiteral("nobody")); // none running: nothing
    EXPECT_EQ(rec.lines, QStringList({
                             QStringLiteral("start:Exporting:0/3@1"),
                             QStringLiteral("step:Exporting:1/3@1"),
                             QStringLiteral("start:Meshes:0/0@2"),
                             QStringLiteral("info:Body:0/0@2"),
                             QStringLiteral("step:Body:2/0@2"),
                             QStringLiteral("finish:Body:2/0@2"),
                             QStringLiteral("info:Writing:1/3@1"),
                             QStringLiteral("step:Writing:3/3@1"),
                             QStringLiteral("step:Writing:0/3@1"),
                             QStringLiteral("finish:Writing:3/3@1"),
                         }));
}
