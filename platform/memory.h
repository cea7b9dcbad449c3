#pragma once

namespace pw {

// Gives memory that was freed back to the system. The C library keeps freed heap pages for
// reuse; after laying out a large text that was tens of megabytes held for nothing.
void releaseFreedMemory();

}  // namespace pw
