#include "platform/WorkerThread.h"

#include <algorithm>
#include <condition_variable>
#include <mutex>
#include <system_error>
#include <utility>

namespace tavelo {

// The start of a suspended thread: it waits here until its holder resumes it or gives it up.
class WorkerGate {
public:
    void Open(bool run) {
        {
            std::lock_guard lock(mutex_);
            if (state_ != State::Suspended) {
                return;
            }
            state_ = run ? State::Running : State::Cancelled;
        }
        changed_.notify_one();
    }

    // Blocks while suspended; true when the routine may run.
    bool WaitForStart() {
        std::unique_lock lock(mutex_);
        changed_.wait(lock, [this] { return state_ != State::Suspended; });
        return state_ == State::Running;
    }

private:
    enum class State { Suspended, Running, Cancelled };
    std::mutex mutex_;
    std::condition_variable changed_;
    State state_ = State::Suspended;
};

namespace {

// Runs on the new thread, which owns the routine and the copies from here on. Both are
// parameters of this frame, so they are released on this thread when it returns, whether
// the routine ran, threw, or was never let run.
void WorkerThreadProc(WorkerRoutine routine, std::vector<WorkerValue> values,
                      std::shared_ptr<WorkerGate> gate) {
    if (gate && !gate->WaitForStart()) {
        return;
    }
    try {
        routine(values);
    } catch (...) {
        // A routine that fails ends its thread like one that returns; nobody reads the result.
    }
}

std::vector<WorkerValue> CopyArguments(const WorkerArguments& arguments) {
    std::vector<WorkerValue> values;
    values.reserve(std::min(arguments.size(), kMaxWorkerArguments));
    for (const auto& argument : arguments) {
        if (!argument || values.size() == kMaxWorkerArguments) {
            break;
        }
        values.push_back({argument->kind, argument->kind == WorkerArgumentKind::TextKind
                                              ? CutAtZero(argument->bytes)
                                              : ByteArray(argument->bytes)});
    }
    return values;
}

}  // namespace

WorkerHandle::WorkerHandle(std::thread thread, std::shared_ptr<WorkerGate> gate)
    : thread_(std::move(thread)), gate_(std::move(gate)) {}

WorkerHandle::~WorkerHandle() {
    Release();
}

WorkerHandle& WorkerHandle::operator=(WorkerHandle&& other) noexcept {
    if (this != &other) {
        Release();
        thread_ = std::move(other.thread_);
        gate_ = std::move(other.gate_);
    }
    return *this;
}

void WorkerHandle::Resume() {
    if (gate_) {
        gate_->Open(true);
    }
}

void WorkerHandle::Join() {
    Resume();
    if (thread_.joinable()) {
        thread_.join();
    }
    gate_.reset();
}

void WorkerHandle::Release() {
    if (gate_) {
        gate_->Open(false);  // a thread still suspended ends without running
        gate_.reset();
    }
    if (thread_.joinable()) {
        thread_.detach();
    }
}

WorkerHandle StartWorker(WorkerRoutine routine, const WorkerStartOptions& options,
                         const WorkerArguments& arguments) {
    if (!routine) {
        return {};
    }
    std::vector<WorkerValue> values = CopyArguments(arguments);
    auto gate = options.createSuspended ? std::make_shared<WorkerGate>() : nullptr;
    std::thread thread;
    try {
        thread = std::thread(WorkerThreadProc, std::move(routine), std::move(values), gate);
    } catch (const std::system_error&) {
        return {};  // the copies went with the thread's discarded start state
    }
    if (options.threadId) {
        *options.threadId = thread.get_id();
    }
    return WorkerHandle(std::move(thread), std::move(gate));
}

}  // namespace tavelo
