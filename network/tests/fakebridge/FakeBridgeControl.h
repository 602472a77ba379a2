#pragma once

// Control exports of the fake bridge, used by tests only. Replies are scripted
// per export: queued replies are used first, then the export's default. A
// null reply stands for a null text; numbers are given as decimal text.

#define FAKE_BRIDGE_EXPORT __attribute__((visibility("default")))

extern "C" {
// Drops the queues, the defaults set by tests and the call log.
FAKE_BRIDGE_EXPORT void fakeBridgeReset(void);
FAKE_BRIDGE_EXPORT void fakeBridgeQueue(const char* exportName, const char* reply);
FAKE_BRIDGE_EXPORT void fakeBridgeSetDefault(const char* exportName, const char* reply);
// A call of that export waits until fakeBridgeRelease (one export at a time).
FAKE_BRIDGE_EXPORT void fakeBridgeHold(const char* exportName);
FAKE_BRIDGE_EXPORT void fakeBridgeRelease(void);
// Every call of a bridge export since the last reset, in order.
FAKE_BRIDGE_EXPORT int fakeBridgeCallCount(void);
FAKE_BRIDGE_EXPORT const char* fakeBridgeCallName(int call);
FAKE_BRIDGE_EXPORT int fakeBridgeArgCount(int call);
FAKE_BRIDGE_EXPORT const char* fakeBridgeArg(int call, int arg);
}
