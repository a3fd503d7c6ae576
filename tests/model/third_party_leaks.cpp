// Leak-checker settings for this test program: the libraries outside this
// project that keep memory until the process ends, those of the other GUI
// test programs (fontconfig's caches, QtScript's engine, the offscreen
// platform's screens) and Assimp, whose readers keep some of what they
// allocate for a file they then refuse. Full allocation stacks are recorded
// so that allocations made inside those libraries can be told apart from ours.
extern "C" __attribute__((used, visibility("default"))) const char* __lsan_default_suppressions() {
    return "leak:libfontconfig.so\n"
           "leak:libQt5Script.so\n"
           "leak:libqoffscreen.so\n"
           "leak:libassimp.so\n";
}

extern "C" __attribute__((used, visibility("default"))) const char* __asan_default_options() {
    return "fast_unwind_on_malloc=0";
}
