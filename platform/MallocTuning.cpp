#include "MallocTuning.h"

#include <malloc.h>

void MallocTuning::apply()
{
#ifdef M_ARENA_MAX
    mallopt(M_ARENA_MAX, kArenas);
#endif
#ifdef M_MMAP_THRESHOLD
    mallopt(M_MMAP_THRESHOLD, kOwnMappingFrom);
#endif
}
