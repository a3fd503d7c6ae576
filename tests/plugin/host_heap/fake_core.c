/* A stand-in for the host's core library, dzcore.dll: it imports its heap from
   the fake runtime and frees what it is handed, as the host frees the objects
   an import hands it. */
#include <stddef.h>

__declspec(dllimport) void* malloc(size_t size);
__declspec(dllimport) void free(void* block);

__declspec(dllexport) void dzcoreFree(void* block) {
    free(block);
}
