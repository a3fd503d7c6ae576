// Leak-checker settings of this test program.
#include "plugin/third_party_leaks.h"
