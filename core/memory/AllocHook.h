#pragma once

// The only two memory calls the core makes. Strings, list nodes, array elements, map nodes and
// stream buffers all come from here, so that every library of a process takes its container
// memory from the one memory module and a block taken in one library can be returned in another.

// Container and string memory of this library. Implemented by the library's allocation hook
// (modules/), which forwards to the memory module when it is loaded, else to the runtime heap.
void QVHookAllocate(void** out, int size);
void QVHookFree(void** p);  // frees *p (null is fine) and always leaves *p null
