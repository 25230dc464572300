// Tasks run on several threads at once, their results taken in order on the calling thread.
#pragma once

#include "platform/FileSystem.h"

#include <cstddef>
#include <functional>

namespace corvane {

// Runs task(i, worker) for every i below n on up to `workers` threads at once (`worker`, below
// `workers`, numbers the thread, for state of its own) and hands each result to `each` on the
// calling thread in the order of i, as soon as it is there. Once `each` returns false no further
// task is begun; the call returns when the tasks begun have ended. Where no thread can be
// started, the calling thread runs the tasks itself, one after the other.
void RunInOrder(std::size_t n, unsigned workers,
                const std::function<FileResult(std::size_t, unsigned)>& task,
                const FileSystem::CopyResultHandler& each);

} // namespace corvane
