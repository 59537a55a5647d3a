#pragma once
// Spreading independent pieces of drawing work over the cores. The pieces
// run on the calling thread and on Qt's shared pool of worker threads; each
// thread keeps its own drawing state (see vector/uDrawUtils.h), so pieces
// must not share anything they write.

#include <functional>

namespace varnik {

// The number of pieces worth splitting work into: the cores of the machine.
int ParallelParts();

// Runs task(0) to task(count - 1), each once, and returns when all are done.
// The calling thread takes pieces too, and pool threads help only when they
// are free, so a call from inside a piece (or with the pool busy) still
// finishes, on fewer threads.
void RunInParallel(int count, const std::function<void(int index)>& task);

}  // namespace varnik
