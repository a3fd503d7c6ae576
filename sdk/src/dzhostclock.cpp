#include "dzhostclock.h"

#include <ctime>

namespace {

double g_seconds = 0.0;
int g_depth = 0; // timed calls open right now
std::clock_t g_outerStart = 0;

} // namespace

double DzHostClock::seconds() {
    return g_seconds;
}

void DzHostClock::reset() {
    g_seconds = 0.0;
}

DzHostClock::Scope::Scope() {
    if (g_depth++ == 0) {
        g_outerStart = std::clock();
    }
}

DzHostClock::Scope::~Scope() {
    if (--g_depth == 0) {
        g_seconds += double(std::clock() - g_outerStart) / CLOCKS_PER_SEC;
    }
}
