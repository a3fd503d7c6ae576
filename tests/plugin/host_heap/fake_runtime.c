/* A stand-in for the host's C runtime (its name starts with "msvcr", as the
   host's does): malloc and free on the process heap, counted. */
#include <windows.h>

static long g_calls;

__declspec(dllexport) void* malloc(size_t size) {
    ++g_calls;
    return HeapAlloc(GetProcessHeap(), 0, size != 0 ? size : 1);
}

__declspec(dllexport) void free(void* block) {
    if (block != NULL) {
        ++g_calls;
        HeapFree(GetProcessHeap(), 0, block);
    }
}

__declspec(dllexport) long fakeRuntimeCalls(void) {
    return g_calls;
}
