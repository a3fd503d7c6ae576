// DzHostClock: stand-in only; the real host has nothing like it, and plug-in
// code must never call it. An accumulating clock of the time spent inside the
// stand-in's expensive calls, so that a benchmark can tell the host's share of
// an export from the plug-in's own:
//   DzNode::finalize (the cached geometry with its skinning),
//   DzNode::getWSTransform and DzNode::getLocalTransform (timed forms; the
//   untimed forms go through them),
//   DzScene::setFrame and DzScene::update.
// A timed call made inside another (finalize reads transforms) counts once,
// with the outer call. The clock is the process's processor time
// (std::clock), so that other work on a shared machine does not inflate it;
// each timed call reads it twice, well under a microsecond. The scene is
// single-threaded, and so is the clock.
#pragma once

#include "dzgeneraldefs.h"

class DZ_EXPORT DzHostClock {
public:
    // Processor seconds spent inside timed calls since the process started
    // or the last reset.
    static double seconds();
    static void reset();

    // Held by a timed call for its duration.
    class DZ_EXPORT Scope {
    public:
        Scope();
        ~Scope();
        Scope(const Scope&) = delete;
        Scope& operator=(const Scope&) = delete;
    };
};
