// Shared basic definitions of the host SDK: export macro, time, points.
//
// What still differs from the host: the maths constants, file extensions,
// DzLocation, the debug and connect helpers and dzMalloc/dzFree are left out,
// and only QtGlobal is included (the host's brings in QObject and QString too).
// Off Windows DZ_EXPORT gives default visibility, so that the stand-in library
// exports its classes. The error type and codes live in dzerrorcodes.h.
#pragma once

#include <QtCore/QtGlobal>

#if defined(_WIN32)
#if defined(DZ_MAKEDLL)
#define DZ_EXPORT __declspec(dllexport)
#else
#define DZ_EXPORT __declspec(dllimport)
#endif
#else
#define DZ_EXPORT __attribute__((visibility("default")))
#endif

// Time in ticks of 1/4800 s.
typedef int DzTime;
#define DZ_TICKS_PER_SECOND 4800
#define DZ_MIN_TIME (int(0xffffffff))
#define DZ_MAX_TIME 0x7fffffff

typedef float DzPnt2[2];
typedef float DzPnt3[3];
