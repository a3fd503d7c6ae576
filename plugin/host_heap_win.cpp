// The module's global operator new and delete, routed to the C runtime the
// host loaded (Windows only; built into the module for the real host when its
// SDK has no dzsdkmemory library).
//
// The host frees what a plug-in hands it (the nodes, meshes, materials and
// lights an import builds) with its own runtime's heap: it was built with
// Visual Studio 2010 and frees with MSVCR100. This module needs C++17 and so a
// newer Visual Studio, whose runtime has another heap; an object allocated
// there and freed by the host would corrupt both heaps. Every allocation of
// the module therefore goes to the malloc and free of the runtime the host's
// core library (dzcore.dll) imports, found through that library's import
// table. Loaded outside the host (no dzcore.dll, or none of its imports is a
// C runtime), the module uses its own runtime, which nothing else frees from.
// The choice is made once, at the first allocation, and never changes, so a
// block is always freed by the runtime that allocated it.
#if defined(_WIN32)

#include <windows.h>

#include <cstddef>
#include <cstdlib>
#include <cstring>
#include <malloc.h>
#include <new>

namespace {

using MallocFn = void*(__cdecl*)(std::size_t);
using FreeFn = void(__cdecl*)(void*);
using AlignedMallocFn = void*(__cdecl*)(std::size_t, std::size_t);

struct Heap {
    MallocFn allocate;
    FreeFn release;
    AlignedMallocFn allocateAligned;
    FreeFn releaseAligned;
};

void* __cdecl ownMalloc(std::size_t size) {
    return std::malloc(size);
}
void __cdecl ownFree(void* block) {
    std::free(block);
}
void* __cdecl ownAlignedMalloc(std::size_t size, std::size_t alignment) {
    return _aligned_malloc(size, alignment);
}
void __cdecl ownAlignedFree(void* block) {
    _aligned_free(block);
}

// Whether an imported library's name is that of a C runtime with the heap:
// msvcr*.dll (Visual Studio 2013 and older), ucrtbase.dll, or the API set the
// universal runtime's heap functions are imported through.
bool isRuntimeName(const char* name) {
    const char* const prefixes[] = {"msvcr", "ucrtbase", "api-ms-win-crt-heap"};
    for (const char* prefix : prefixes) {
        if (_strnicmp(name, prefix, std::strlen(prefix)) == 0) {
            return true;
        }
    }
    return false;
}

// The C runtime dzcore.dll imports, when it is loaded; null otherwise.
HMODULE hostRuntime() {
    const HMODULE core = GetModuleHandleW(L"dzcore.dll");
    if (core == nullptr) {
        return nullptr;
    }
    const auto* base = reinterpret_cast<const unsigned char*>(core);
    const auto* dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(base);
    const auto* nt = reinterpret_cast<const IMAGE_NT_HEADERS*>(base + dos->e_lfanew);
    const IMAGE_DATA_DIRECTORY& imports =
        nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
    if (imports.VirtualAddress == 0) {
        return nullptr;
    }
    for (const auto* entry =
             reinterpret_cast<const IMAGE_IMPORT_DESCRIPTOR*>(base + imports.VirtualAddress);
         entry->Name != 0; ++entry) {
        const char* name = reinterpret_cast<const char*>(base + entry->Name);
        if (!isRuntimeName(name)) {
            continue;
        }
        const HMODULE runtime = GetModuleHandleA(name);
        if (runtime != nullptr && GetProcAddress(runtime, "malloc") != nullptr &&
            GetProcAddress(runtime, "free") != nullptr) {
            return runtime;
        }
    }
    return nullptr;
}

// A function of `runtime` by name (null when it has none), through the
// generic function pointer type that any function pointer converts from.
template <class Fn> Fn runtimeFunction(HMODULE runtime, const char* name) {
    return reinterpret_cast<Fn>(reinterpret_cast<void (*)()>(GetProcAddress(runtime, name)));
}

Heap findHeap() {
    Heap heap{&ownMalloc, &ownFree, &ownAlignedMalloc, &ownAlignedFree};
    const HMODULE runtime = hostRuntime();
    if (runtime == nullptr) {
        return heap;
    }
    heap.allocate = runtimeFunction<MallocFn>(runtime, "malloc");
    heap.release = runtimeFunction<FreeFn>(runtime, "free");
    const auto alignedMalloc = runtimeFunction<AlignedMallocFn>(runtime, "_aligned_malloc");
    const auto alignedFree = runtimeFunction<FreeFn>(runtime, "_aligned_free");
    if (alignedMalloc != nullptr && alignedFree != nullptr) {
        heap.allocateAligned = alignedMalloc;
        heap.releaseAligned = alignedFree;
    }
    return heap;
}

const Heap& heap() {
    static const Heap chosen = findHeap();
    return chosen;
}

void* allocate(std::size_t size) {
    if (size == 0) {
        size = 1;
    }
    for (;;) {
        if (void* block = heap().allocate(size)) {
            return block;
        }
        const std::new_handler handler = std::get_new_handler();
        if (handler == nullptr) {
            throw std::bad_alloc();
        }
        handler();
    }
}

void* allocateAligned(std::size_t size, std::align_val_t alignment) {
    if (size == 0) {
        size = 1;
    }
    for (;;) {
        if (void* block = heap().allocateAligned(size, static_cast<std::size_t>(alignment))) {
            return block;
        }
        const std::new_handler handler = std::get_new_handler();
        if (handler == nullptr) {
            throw std::bad_alloc();
        }
        handler();
    }
}

void release(void* block) noexcept {
    if (block != nullptr) {
        heap().release(block);
    }
}

void releaseAligned(void* block) noexcept {
    if (block != nullptr) {
        heap().releaseAligned(block);
    }
}

} // namespace

void* operator new(std::size_t size) {
    return allocate(size);
}
void* operator new[](std::size_t size) {
    return allocate(size);
}
void* operator new(std::size_t size, const std::nothrow_t&) noexcept {
    try {
        return allocate(size);
    } catch (...) {
        return nullptr;
    }
}
void* operator new[](std::size_t size, const std::nothrow_t&) noexcept {
    try {
        return allocate(size);
    } catch (...) {
        return nullptr;
    }
}
void* operator new(std::size_t size, std::align_val_t alignment) {
    return allocateAligned(size, alignment);
}
void* operator new[](std::size_t size, std::align_val_t alignment) {
    return allocateAligned(size, alignment);
}
void* operator new(std::size_t size, std::align_val_t alignment, const std::nothrow_t&) noexcept {
    try {
        return allocateAligned(size, alignment);
    } catch (...) {
        return nullptr;
    }
}
void* operator new[](std::size_t size, std::align_val_t alignment, const std::nothrow_t&) noexcept {
    try {
        return allocateAligned(size, alignment);
    } catch (...) {
        return nullptr;
    }
}

void operator delete(void* block) noexcept {
    release(block);
}
void operator delete[](void* block) noexcept {
    release(block);
}
void operator delete(void* block, const std::nothrow_t&) noexcept {
    release(block);
}
void operator delete[](void* block, const std::nothrow_t&) noexcept {
    release(block);
}
void operator delete(void* block, std::size_t) noexcept {
    release(block);
}
void operator delete[](void* block, std::size_t) noexcept {
    release(block);
}
void operator delete(void* block, std::align_val_t) noexcept {
    releaseAligned(block);
}
void operator delete[](void* block, std::align_val_t) noexcept {
    releaseAligned(block);
}
void operator delete(void* block, std::size_t, std::align_val_t) noexcept {
    releaseAligned(block);
}
void operator delete[](void* block, std::size_t, std::align_val_t) noexcept {
    releaseAligned(block);
}
void operator delete(void* block, std::align_val_t, const std::nothrow_t&) noexcept {
    releaseAligned(block);
}
void operator delete[](void* block, std::align_val_t, const std::nothrow_t&) noexcept {
    releaseAligned(block);
}

#endif
