// Settings for the address sanitizer's leak checker, used only when the tool
// is built with it (nothing calls these functions otherwise). The tool runs
// Qt's GUI library on the offscreen platform and loads the plug-in module,
// which brings in QtScript; Qt 5 keeps the offscreen platform's screens, and
// QtScript its engine internals, until the process ends; Assimp's readers
// keep some of what they allocated for a model they refuse. Those are not the
// tool's leaks and are not reported; every other leak still is.
#if defined(__GNUC__)

extern "C" __attribute__((used, visibility("default"))) const char* __lsan_default_suppressions() {
    return "leak:libqoffscreen.so\n"
           "leak:libQt5Script.so\n"
           "leak:libassimp.so\n";
}

#endif
