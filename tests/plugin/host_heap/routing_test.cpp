// The module's heap routing at run time (under Wine): linked with
// plugin/host_heap_win.cpp, a program whose own C runtime is another one
// allocates with the runtime the fake dzcore.dll imports, so that the core
// library frees those blocks with the runtime that allocated them.
// Exit status 0 when every allocation went there, 1 otherwise.
#include <windows.h>

#include <cstdint>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

extern "C" __declspec(dllimport) void dzcoreFree(void* block);

namespace {

long runtimeCalls() {
    const HMODULE runtime = GetModuleHandleA("msvcr_fake.dll");
    if (runtime == nullptr) {
        return -1;
    }
    const auto calls = reinterpret_cast<long (*)()>(
        reinterpret_cast<void (*)()>(GetProcAddress(runtime, "fakeRuntimeCalls")));
    return calls != nullptr ? calls() : -1;
}

struct alignas(64) Wide {
    char bytes[64];
};

} // namespace

int main() {
    const long before = runtimeCalls();
    int* handed = new int(42);
    const long afterNew = runtimeCalls();
    dzcoreFree(handed); // the host frees what the module allocated
    const long afterFree = runtimeCalls();

    // Containers, arrays and over-aligned blocks keep working.
    std::vector<std::string> texts(1000, std::string(100, 'x'));
    auto wide = std::make_unique<Wide[]>(10);
    const bool aligned = reinterpret_cast<std::uintptr_t>(wide.get()) % alignof(Wide) == 0;

    const bool routed = before >= 0 && afterNew == before + 1 && afterFree == afterNew + 1 &&
                        runtimeCalls() > afterFree + 1000;
    std::printf("heap routing: %s (runtime calls %ld -> %ld -> %ld -> %ld), aligned: %s\n",
                routed ? "to the core library's runtime" : "NOT to the core library's runtime",
                before, afterNew, afterFree, runtimeCalls(), aligned ? "yes" : "no");
    return routed && aligned && texts.size() == 1000 ? 0 : 1;
}
