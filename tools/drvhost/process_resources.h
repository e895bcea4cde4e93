// What this process holds, counted from outside the code that made it: GDI
// objects and USER objects by probing Wine's handle tables (GetGuiResources
// answers 0 under Wine), the TLS slots taken, and the bytes in use in the
// process's heaps.
#pragma once

#include <cstddef>

namespace vornik::host {

// GDI objects alive in this process: Wine accepts a handle's table index
// alone, so every index is asked for its object type.
int CountGdiObjects();

// USER objects of this process: its windows (top-level, child and
// message-only), menus, and icons and cursors.
int CountUserObjects();

// The lowest TLS index free in this process: it moves up for good when a
// module takes a slot and never gives it back.
unsigned long FirstFreeTlsSlot();

// Bytes in busy blocks of every heap of the process, by HeapWalk. Under Wine
// this misses the C runtime's small blocks and moves with Wine's own caches:
// a figure to show, not one to check.
size_t HeapBytesInUse();

}  // namespace vornik::host
