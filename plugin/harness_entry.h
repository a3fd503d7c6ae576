// An entry point of the plug-in module for a host harness (the yfx tool, the
// tests), not for the real host, which never calls it: it hands the harness
// every message the filters would show in a message box, instead of the box.
//
// The harness resolves the entry point by name after loading the module:
//
//   auto setSink = reinterpret_cast<YfxSetHarnessMessageSinkFn>(
//       library.resolve(kYfxSetHarnessMessageSinkName));
//   setSink(&onMessage, &state);
//
// From then on each message goes to `onMessage` and no box is shown; the
// sink's result is the index of the button "pressed" (0, the only button).
// Passing a null sink shows the boxes again. Calls come on the thread that
// runs the filter, during the filter's operation.
#pragma once

#if defined(_WIN32)
#define YFX_HARNESS_ENTRY extern "C" __declspec(dllexport)
#else
#define YFX_HARNESS_ENTRY extern "C" __attribute__((visibility("default")))
#endif

// What kind of box the message would have been shown in.
enum YfxHarnessMessageKind { kYfxHarnessWarning = 0, kYfxHarnessInformation = 1 };

// Receives one message: its kind, its title ("Error", "Success", ...) and its
// text, both UTF-8 and zero-terminated, valid only during the call; `user` is
// the pointer given with the sink.
typedef int (*YfxHarnessMessageSink)(void* user, int kind, const char* title, const char* text);

typedef void (*YfxSetHarnessMessageSinkFn)(YfxHarnessMessageSink sink, void* user);

// The name to resolve.
constexpr const char* kYfxSetHarnessMessageSinkName = "yfxSetHarnessMessageSink";

// Installs `sink` (null: the boxes again). Defined by the module built for the
// stand-in host (plugin/harness_entry.cpp), not by the real host's; a harness
// resolves it by name rather than linking to it.
YFX_HARNESS_ENTRY void yfxSetHarnessMessageSink(YfxHarnessMessageSink sink, void* user);
