// Runs a routine on a thread of its own with private copies of up to ten text or byte-array
// arguments. The copies are complete before the thread exists, so callers may change or drop
// their own variables as soon as StartWorker returns; the thread releases them when it ends.
#pragma once

#include <cstddef>
#include <functional>
#include <memory>
#include <optional>
#include <string_view>
#include <thread>
#include <vector>

#include "text/Text.h"

namespace tavelo {

enum class WorkerArgumentKind { TextKind = 10, ByteArrayKind = 11 };

// An argument as the caller hands it over: a view of the caller's bytes, copied by StartWorker.
struct WorkerArgument {
    WorkerArgumentKind kind;
    std::string_view bytes;
};

// A text argument; its copy ends at the first zero byte, as a zero-terminated text reads.
inline WorkerArgument TextArgument(std::string_view text) {
    return {WorkerArgumentKind::TextKind, text};
}

// A byte-array argument; its copy keeps every byte, zero bytes included.
inline WorkerArgument ByteArrayArgument(std::string_view bytes) {
    return {WorkerArgumentKind::ByteArrayKind, bytes};
}

// A private copy of one argument, as the routine receives it.
struct WorkerValue {
    WorkerArgumentKind kind;
    ByteArray bytes;

    bool operator==(const WorkerValue&) const = default;
};

// The routine gets its copies in the order they were given; its result is the thread's exit
// code, which nobody reads.
using WorkerRoutine = std::function<int(const std::vector<WorkerValue>& values)>;

constexpr std::size_t kMaxWorkerArguments = 10;

// Shared between a suspended thread and its handle: whether the routine may run.
class WorkerGate;

// The holder's hold on a worker thread. Movable, not copyable. Dropping it lets a running
// thread go on by itself; a thread that was started suspended and never resumed then ends
// without running its routine (and still releases its copies).
class WorkerHandle {
public:
    WorkerHandle() = default;
    WorkerHandle(std::thread thread, std::shared_ptr<WorkerGate> gate);
    ~WorkerHandle();
    WorkerHandle(WorkerHandle&& other) noexcept = default;
    WorkerHandle& operator=(WorkerHandle&& other) noexcept;
    WorkerHandle(const WorkerHandle&) = delete;
    WorkerHandle& operator=(const WorkerHandle&) = delete;

    // False when no thread was started.
    explicit operator bool() const { return thread_.joinable(); }
    std::thread::id threadId() const { return thread_.get_id(); }

    // Lets a suspended thread run its routine; nothing for a thread that already runs.
    void Resume();
    // Waits until the thread has ended, copies released; the handle is empty afterwards.
    // Resumes a suspended thread first, so the routine runs once.
    void Join();
    // Gives the thread up, as the destructor does.
    void Release();

private:
    std::thread thread_;
    std::shared_ptr<WorkerGate> gate_;
};

struct WorkerStartOptions {
    // Start suspended: the routine runs only after WorkerHandle::Resume.
    bool createSuspended = false;
    // When given, receives the new thread's identifier.
    std::thread::id* threadId = nullptr;
};

using WorkerArguments = std::vector<std::optional<WorkerArgument>>;

// Starts `routine` on a new thread. Arguments are taken in order up to the first omitted one
// (std::nullopt); later ones are ignored, and so is any past the tenth. No routine, no thread:
// an empty handle. An empty handle is also the answer when the system refuses a new thread.
WorkerHandle StartWorker(WorkerRoutine routine, const WorkerStartOptions& options = {},
                         const WorkerArguments& arguments = {});

}  // namespace tavelo
