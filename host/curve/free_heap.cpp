#include "free_heap.h"

#include <cstdlib>  // defines __GLIBC__ where the C library is glibc

#if defined(__GLIBC__)
#include <malloc.h>
#endif

void ReturnFreeHeapPages() {
#if defined(__GLIBC__)
    malloc_trim(0);
#endif
    // Elsewhere there is no such call: the allocator returns pages by its
    // own rules.
}
