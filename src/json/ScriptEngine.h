// A private Duktape heap that evaluates lines of script. Its memory is capped, every script
// error is caught, and a fatal engine error ends this engine only, never the program.
#pragma once

#include <cstddef>
#include <memory>
#include <string>
#include <string_view>

#include <duktape.h>

namespace tavelo {

// What the result of a line of script is turned into.
enum class ScriptResult { Ignored, AsText, AsNumber, AsBool };

// The value that a line of script sees as its parameter `value`.
struct ScriptArgument {
    enum class Kind { None, String, Number, Json };
    Kind kind = Kind::None;
    std::string_view text;  // String: the string; Json: a JSON text, read strictly
    double number = 0;
};

struct ScriptOutcome {
    // The line ran without error (and its argument, if any, was valid).
    bool ok = false;
    // AsText: the result in the engine's own encoding (UTF-8, but with characters beyond
    // U+FFFF as pairs of encoded surrogates); empty for null and undefined.
    std::string text;
    // AsNumber: the result as a number, 0 when it does not convert.
    double number = 0;
    // AsBool: the result's truth.
    bool flag = false;
};

class ScriptEngine {
public:
    static constexpr std::size_t kDefaultMemoryCap = std::size_t{64} << 20;

    // A step run with the engine's context; its own locals must all be trivially
    // destructible, since a fatal error leaves it without unwinding.
    using Step = void (*)(duk_context* context, void* data);

    explicit ScriptEngine(std::size_t memoryCap = kDefaultMemoryCap);
    ~ScriptEngine();
    ScriptEngine(ScriptEngine&& other) noexcept;
    ScriptEngine& operator=(ScriptEngine&& other) noexcept;
    ScriptEngine(const ScriptEngine&) = delete;
    ScriptEngine& operator=(const ScriptEngine&) = delete;

    // False when the heap could not be created or has met a fatal error.
    bool IsUsable() const { return context_ != nullptr; }

    // Evaluates `line` (UTF-8 script source). Without an argument the line runs as global
    // code and its result is the completion value; with one it runs as the body of a
    // function whose parameter `value` holds the argument, and it has no result. A Json
    // argument that is not strict JSON fails before the line runs.
    ScriptOutcome Evaluate(std::string_view line, ScriptResult result,
                           const ScriptArgument& argument = ScriptArgument{});

    // Runs `step` on the engine's context. Errors thrown by the engine outside a protected
    // call are fatal: the engine is then released and this returns false.
    bool Run(Step step, void* data);

    // Bytes that the heap holds now.
    std::size_t MemoryUsed() const;

    // The heap's memory and fatal-error exit, shared with the engine's callbacks.
    struct State;

private:
    void Release();

    std::unique_ptr<State> state_;
    duk_context* context_ = nullptr;
};

}  // namespace tavelo
