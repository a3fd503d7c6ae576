// Leak-checker settings for the test programs that run Qt's GUI: libraries
// outside this project that keep memory until the process ends (fontconfig's
// caches, QtScript's engine internals, the offscreen platform's screens,
// which Qt 5 does not free). Full allocation stacks are recorded so that
// allocations made inside those libraries can be told apart from ours.
// Include in exactly one source file of a test program.
#pragma once

extern "C" __attribute__((used, visibility("default"))) const char* __lsan_default_suppressions() {
    return "leak:libfontconfig.so\n"
           "leak:libQt5Script.so\n"
           "leak:libqoffscreen.so\n";
}

extern "C" __attribute__((used, visibility("default"))) const char* __asan_default_options() {
    return "fast_unwind_on_malloc=0";
}
