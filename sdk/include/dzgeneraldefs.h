// Shared basic definitions of the host SDK: export macro, time, error codes.
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

typedef unsigned int DzError;
#define DZ_NO_ERROR 0x0
#define DZ_ILLEGAL_HIERARCHY_ERROR 0x53
#define DZ_ILLEGAL_ARGUMENT_ERROR 0x60
#define DZ_ILLEGAL_OPERATION_ERROR 0x61
#define DZ_OPERATION_FAILED_ERROR 0x62
#define DZ_USER_CANCELLED_OPERATION 0x64
#define DZ_UNABLE_TO_OPEN_FILE_ERROR 0x200
#define DZ_FORMAT_NOT_SUPPORTED_ERROR 0x203
