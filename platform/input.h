// Keyboard and mouse state as the test action reads it, without waiting for input: whether a key is
// down at this moment, and whether a left-button double click waits in the thread's queue.
#pragma once

namespace nimbo::platform {

constexpr int kKeyLeft = 0x25;
constexpr int kKeyDown = 0x28;

// True while the key with the virtual-key code `virtualKey` is held down.
bool keyDown(int virtualKey);

// True when a left-button double click waits in the calling thread's message queue; it stays there for
// the host to handle.
bool doubleClickPending();

}  // namespace nimbo::platform
