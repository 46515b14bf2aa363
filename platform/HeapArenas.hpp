#pragma once

namespace brindleaf {

// Lets every thread allocate from one heap. A folder's names are allocated on a worker
// thread and freed on another; with a heap per thread, as glibc keeps by default, each heap
// holds on to its own peak, and a folder of a million names costs a hundred megabytes more.
// Call before a second thread starts. Does nothing where the C library shares one heap.
void shareOneHeapAcrossThreads();

} // namespace brindleaf
