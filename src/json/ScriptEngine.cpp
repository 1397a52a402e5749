#include "json/ScriptEngine.h"

#include <cmath>
#include <csetjmp>
#include <cstdlib>
#include <utility>

#include "json/CappedMemory.h"

namespace tavelo {

struct ScriptEngine::State {
    explicit State(std::size_t cap) : memory(cap) {}

    CappedMemory memory;
    // Where a fatal error jumps to: set only while a step runs.
    std::jmp_buf* fatalExit = nullptr;
};

namespace {

using State = ScriptEngine::State;

void* AllocateOnHeap(void* udata, duk_size_t size) {
    return static_cast<State*>(udata)->memory.Allocate(size);
}

void* ReallocateOnHeap(void* udata, void* block, duk_size_t size) {
    return static_cast<State*>(udata)->memory.Reallocate(block, size);
}

void FreeOnHeap(void* udata, void* block) {
    static_cast<State*>(udata)->memory.Free(block);
}

// Duktape calls this for errors that nothing can catch; it must not return. Every entry
// into the engine is made through ScriptEngine::Run, which has set the exit.
[[noreturn]] void OnFatalError(void* udata, const char* /*message*/) {
    auto* state = static_cast<State*>(udata);
    if (state != nullptr && state->fatalExit != nullptr) {
        std::longjmp(*state->fatalExit, 1);
    }
    std::abort();
}

struct CreateJob {
    State* state;
    duk_context* context;
};

void CreateHeap(duk_context* /*context*/, void* data) {
    auto* job = static_cast<CreateJob*>(data);
    job->context =
        duk_create_heap(AllocateOnHeap, ReallocateOnHeap, FreeOnHeap, job->state, OnFatalError);
}

void DestroyHeap(duk_context* context, void* /*data*/) {
    duk_destroy_heap(context);
}

struct EvaluateJob {
    std::string_view line;
    ScriptResult result;
    const ScriptArgument* argument;
    ScriptOutcome* outcome;
};

void PushArgument(duk_context* context, const ScriptArgument& argument) {
    using Kind = ScriptArgument::Kind;
    switch (argument.kind) {
        case Kind::Number:
            duk_push_number(context, argument.number);
            break;
        case Kind::String:
        case Kind::Json:
            duk_push_lstring(context, argument.text.data(), argument.text.size());
            if (argument.kind == Kind::Json) {
                duk_json_decode(context, -1);
            }
            break;
        case Kind::None:
            break;
    }
}

// Turns the value on top of the stack into what `result` asks for.
void ConvertResult(duk_context* context, ScriptResult result) {
    switch (result) {
        case ScriptResult::AsText:
            if (duk_is_null_or_undefined(context, -1)) {
                duk_pop(context);
                duk_push_lstring(context, "", 0);
            } else {
                duk_to_string(context, -1);
            }
            break;
        case ScriptResult::AsNumber:
            if (!duk_is_number(context, -1)) {
                const double number =
                    duk_is_null_or_undefined(context, -1) ? 0 : duk_to_number(context, -1);
                duk_pop(context);
                duk_push_number(context, std::isnan(number) ? 0 : number);
            }
            break;
        case ScriptResult::AsBool:
            duk_to_boolean(context, -1);
            break;
        case ScriptResult::Ignored:
            break;
    }
}

// Runs inside duk_safe_call: whatever the engine throws here ends up as the call's result.
duk_ret_t EvaluateProtected(duk_context* context, void* data) {
    const auto* job = static_cast<const EvaluateJob*>(data);
    if (job->argument->kind == ScriptArgument::Kind::None) {
        duk_eval_lstring(context, job->line.data(), job->line.size());
    } else {
        // The argument is made first, so that a bad one stops the line before it runs.
        PushArgument(context, *job->argument);
        duk_push_string(context, "(function (value) {");
        duk_push_lstring(context, job->line.data(), job->line.size());
        duk_push_string(context, "\n})");
        duk_concat(context, 3);
        duk_eval(context);
        duk_swap(context, -1, -2);
        duk_call(context, 1);
    }
    ConvertResult(context, job->result);
    return 1;
}

void EvaluateStep(duk_context* context, void* data) {
    auto* job = static_cast<EvaluateJob*>(data);
    ScriptOutcome& outcome = *job->outcome;
    outcome.ok = duk_safe_call(context, EvaluateProtected, job, 0, 1) == DUK_EXEC_SUCCESS;
    if (outcome.ok) {
        switch (job->result) {
            case ScriptResult::AsText: {
                duk_size_t length = 0;
                const char* text = duk_get_lstring(context, -1, &length);
                outcome.text.assign(text != nullptr ? text : "", text != nullptr ? length : 0);
                break;
            }
            case ScriptResult::AsNumber:
                outcome.number = duk_get_number(context, -1);
                break;
            case ScriptResult::AsBool:
                outcome.flag = duk_get_boolean(context, -1) != 0;
                break;
            case ScriptResult::Ignored:
                break;
        }
    }
    duk_pop(context);
}

}  // namespace

ScriptEngine::ScriptEngine(std::size_t memoryCap) : state_(std::make_unique<State>(memoryCap)) {
    CreateJob job{state_.get(), nullptr};
    if (Run(CreateHeap, &job)) {
        context_ = job.context;
    }
}

ScriptEngine::~ScriptEngine() {
    Release();
}

ScriptEngine::ScriptEngine(ScriptEngine&& other) noexcept
    : state_(std::move(other.state_)), context_(std::exchange(other.context_, nullptr)) {}

ScriptEngine& ScriptEngine::operator=(ScriptEngine&& other) noexcept {
    if (this != &other) {
        Release();
        state_ = std::move(other.state_);
        context_ = std::exchange(other.context_, nullptr);
    }
    return *this;
}

void ScriptEngine::Release() {
    if (context_ != nullptr) {
        Run(DestroyHeap, nullptr);
        context_ = nullptr;
    }
    state_.reset();
}

std::size_t ScriptEngine::MemoryUsed() const {
    return state_ != nullptr ? state_->memory.Used() : 0;
}

bool ScriptEngine::Run(Step step, void* data) {
    if (state_ == nullptr) {
        return false;
    }
    // Nothing between here and the engine's fatal handler has a destructor to run, so the
    // jump back is safe; the exit is cleared however this function is left.
    struct ExitArm {
        State* state;
        ~ExitArm() { state->fatalExit = nullptr; }
    } arm{state_.get()};
    std::jmp_buf fatalExit;
    state_->fatalExit = &fatalExit;
    if (setjmp(fatalExit) != 0) {
        // The heap is in an unknown state after a fatal error: drop all of its memory
        // without asking the engine.
        context_ = nullptr;
        state_->memory.ReleaseAll();
        return false;
    }
    step(context_, data);
    return true;
}

ScriptOutcome ScriptEngine::Evaluate(std::string_view line, ScriptResult result,
                                     const ScriptArgument& argument) {
    ScriptOutcome outcome;
    if (context_ == nullptr) {
        return outcome;
    }
    EvaluateJob job{line, result, &argument, &outcome};
    if (!Run(EvaluateStep, &job)) {
        outcome = ScriptOutcome{};
    }
    return outcome;
}

}  // namespace tavelo
