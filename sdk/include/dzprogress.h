// DzProgress: reports the progress of a long operation. Construct it when the
// work starts, step or update it as the work goes on, and finish it (the
// destructor finishes a progress that was not finished). Progresses nest: one
// started while another runs is shown inside it, and setCurrentInfo speaks to the
// innermost one still running.
//
// The host shows a progress dialog; the stand-in shows nothing and instead tells
// a listener (stand-in only, setListener) of each change, so that a harness can
// observe the progress, for example to print it.
// Choices of the stand-in where the host's behaviour is not known:
// - A total of 0 or less means an unknown total: steps count up without bound.
//   With a known total the current step is kept within 0 .. total.
// - update and step report only when the current step changes; setInfo reports
//   every call. Calls after finish change nothing and report nothing.
// - isCancellable and showTimeElapsed are kept and reported but change nothing:
//   there is no dialog to cancel from and no clock is shown.
//
// As in the host, a progress is not a QObject. What still differs from the
// host: there is no progress interface base (IDzProgress) and no cancel /
// isCancelled, no background progress and none of the dialog's display
// options; the getters, setTotalSteps and the listener are the stand-in's own.
#pragma once

#include "dzgeneraldefs.h"

#include <QtCore/QString>

#include <functional>

class DZ_EXPORT DzProgress {
public:
    // Stand-in only: one change, as a listener sees it.
    struct Report {
        enum Kind { Started, InfoChanged, Stepped, Finished };
        Kind kind;
        const DzProgress* progress;
        QString info;
        int currentStep;
        int totalSteps; // 0 or less: unknown
        int depth;      // 1 for an outermost progress, 2 inside it, ...
    };
    typedef std::function<void(const Report&)> Listener;

    DzProgress(const QString& info, int totalSteps = 0, bool isCancellable = false,
               bool showTimeElapsed = false);
    virtual ~DzProgress();
    DzProgress(const DzProgress&) = delete;
    DzProgress& operator=(const DzProgress&) = delete;

    // Sets the info of the innermost running progress; nothing without one.
    static void setCurrentInfo(const QString& info);

    // Stand-in only: the function told of every change of every progress; an
    // empty function stops the reports.
    static void setListener(Listener listener);

    virtual void setInfo(const QString& info);
    // Moves the current step on by numSteps.
    virtual void step(int numSteps = 1);
    // Sets the current step.
    virtual void update(int currentStep);
    // Completes the progress (the current step becomes the total when known).
    virtual void finish();

    // Stand-in only: the total and the state, for a harness.
    void setTotalSteps(int totalSteps);

    QString getInfo() const { return m_info; }
    int getCurrentStep() const { return m_current; }
    int getTotalSteps() const { return m_total; }
    bool isCancellable() const { return m_cancellable; }
    bool getShowTimeElapsed() const { return m_showTimeElapsed; }
    bool isFinished() const { return m_finished; }

private:
    void report(Report::Kind kind) const;
    void moveTo(long long step);

    QString m_info;
    int m_total;
    int m_current = 0;
    bool m_cancellable;
    bool m_showTimeElapsed;
    bool m_finished = false;
    int m_depth = 0;
};
