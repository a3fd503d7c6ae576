// The host's error type and the error codes the plug-in and the stand-in use.
// As in the host, these live here and not in dzgeneraldefs.h; dzbase.h brings
// them in for every host object.
// What still differs from the host: only the codes in use are defined (the
// host has many more), and there is no function that turns a code into a
// message.
#pragma once

#include "dzgeneraldefs.h"

typedef unsigned int DzError;
#define DZ_NO_ERROR 0x0
#define DZ_ILLEGAL_HIERARCHY_ERROR 0x53
#define DZ_ILLEGAL_ARGUMENT_ERROR 0x60
#define DZ_ILLEGAL_OPERATION_ERROR 0x61
#define DZ_OPERATION_FAILED_ERROR 0x62
#define DZ_USER_CANCELLED_OPERATION 0x64
#define DZ_UNABLE_TO_OPEN_FILE_ERROR 0x200
#define DZ_FORMAT_NOT_SUPPORTED_ERROR 0x203
