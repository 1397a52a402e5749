#include "json/JsonDocument.h"

#include <climits>
#include <cmath>
#include <optional>
#include <string>
#include <utility>

#include "embedded/JsonDocumentScript.h"
#include "json/EngineText.h"
#include "json/JsonNumberRange.h"
#include "json/MemberPath.h"
#include "json/ScriptEngine.h"

namespace tavelo {

namespace {

using Result = ScriptResult;
using Argument = ScriptArgument;

// The engine's global variable that holds the document's value.
const std::string kVar = "da";

// A path in the engine's encoding, or nothing when it is not member syntax.
std::optional<std::string> PathText(std::string_view path) {
    std::string text = ToEngineText(path);
    if (!IsMemberPath(text)) {
        return std::nullopt;
    }
    return text;
}

// The value at `path` as GetText reaches it: a path that begins with an index is joined to
// the variable directly, any other with a dot (so the empty path reads as a syntax error).
std::optional<std::string> Joined(std::string_view path) {
    auto text = PathText(path);
    if (!text) {
        return std::nullopt;
    }
    return kVar + (text->starts_with('[') ? "" : ".") + *text;
}

// The target of the operations that default to the whole value: the variable itself for the
// empty path, otherwise the path after a dot.
std::optional<std::string> Target(std::string_view path) {
    auto text = PathText(path);
    if (!text) {
        return std::nullopt;
    }
    return text->empty() ? kVar : kVar + "." + *text;
}

// Member `key` of the value.
std::optional<std::string> Member(std::string_view key) {
    auto text = PathText(key);
    if (!text) {
        return std::nullopt;
    }
    return kVar + "." + *text;
}

ScriptOutcome Evaluate(ScriptEngine* engine, std::string_view line, Result result,
                       const Argument& argument = Argument{}) {
    if (engine == nullptr) {
        return {};
    }
    return engine->Evaluate(line, result, argument);
}

void Run(ScriptEngine* engine, std::string_view line) {
    Evaluate(engine, line, Result::Ignored);
}

Text EvalText(ScriptEngine* engine, std::string_view line) {
    const auto outcome = Evaluate(engine, line, Result::AsText);
    return outcome.ok ? FromEngineText(outcome.text) : Text();
}

double EvalNumber(ScriptEngine* engine, std::string_view line) {
    const auto outcome = Evaluate(engine, line, Result::AsNumber);
    return outcome.ok ? outcome.number : 0;
}

bool EvalBool(ScriptEngine* engine, std::string_view line) {
    const auto outcome = Evaluate(engine, line, Result::AsBool);
    return outcome.ok && outcome.flag;
}

// Runs `line` with `value` as its parameter: the text itself, or with `asJson` the value of
// the JSON text (a text that is not strict JSON runs nothing).
void RunWithValue(ScriptEngine* engine, std::string_view line, std::string_view value,
                  bool asJson) {
    const std::string text = ToEngineText(value);
    if (asJson && HoldsNumberBeyondDouble(text)) {
        return;
    }
    Evaluate(
        engine, line, Result::Ignored,
        Argument{.kind = asJson ? Argument::Kind::Json : Argument::Kind::String, .text = text});
}

}  // namespace

JsonDocument::JsonDocument() : engine_(std::make_shared<ScriptEngine>()) {
    if (!engine_->IsUsable()) {
        engine_.reset();
        return;
    }
    Run(engine_.get(), embedded::JsonDocumentScript());
    Run(engine_.get(), "var " + kVar + "={}");
}

JsonDocument::JsonDocument(std::shared_ptr<ScriptEngine> engine) : engine_(std::move(engine)) {}

JsonDocument::~JsonDocument() = default;
JsonDocument::JsonDocument(JsonDocument&& other) noexcept = default;
JsonDocument& JsonDocument::operator=(JsonDocument&& other) noexcept = default;

JsonDocument JsonDocument::Clone() const {
    return JsonDocument(engine_);
}

bool JsonDocument::Parse(std::string_view text) {
    return ParseEngineText(ToEngineText(text));
}

bool JsonDocument::ParseEngineText(std::string_view engineText) {
    Run(engine_.get(), "var " + kVar + "=null");
    if (!HoldsNumberBeyondDouble(engineText)) {
        Evaluate(engine_.get(), kVar + "=value", Result::Ignored,
                 Argument{.kind = Argument::Kind::Json, .text = engineText});
    }
    return EvalBool(engine_.get(), "null !=" + kVar);
}

Text JsonDocument::ToJson() const {
    return EvalText(engine_.get(), "JSON.stringify(" + kVar + ")");
}

void JsonDocument::Clear() {
    Run(engine_.get(), kVar + "={}");
}

void JsonDocument::SetMember(std::string_view key, std::string_view value, bool asJson) {
    if (const auto member = Member(key)) {
        RunWithValue(engine_.get(), *member + "=value", asJson && value.empty() ? "{}" : value,
                     asJson);
    }
}

void JsonDocument::SetMemberRaw(std::string_view key, std::string_view value) {
    if (const auto member = Member(key)) {
        RunWithValue(engine_.get(), *member + "=value", value, true);
    }
}

void JsonDocument::SetMemberNumber(std::string_view key, double number) {
    if (const auto member = Member(key)) {
        Evaluate(engine_.get(), *member + "=value", Result::Ignored,
                 Argument{.kind = Argument::Kind::Number, .number = number});
    }
}

double JsonDocument::GetNumber(std::string_view key) const {
    const auto member = Member(key);
    return member ? EvalNumber(engine_.get(), *member) : 0;
}

Text JsonDocument::GetMemberJson(std::string_view key) const {
    const auto member = Member(key);
    return member ? EvalText(engine_.get(), "JSON.stringify(" + *member + ")") : Text();
}

Text JsonDocument::GetText(std::string_view path, bool asJson) const {
    const auto joined = Joined(path);
    if (!joined) {
        return {};
    }
    return EvalText(engine_.get(), asJson ? "JSON.stringify(" + *joined + ")" : *joined);
}

JsonDocument JsonDocument::GetDocument(std::string_view path) const {
    JsonDocument copy;
    const auto joined = Joined(path);
    const auto outcome =
        joined ? Evaluate(engine_.get(), "JSON.stringify(" + *joined + ")", Result::AsText)
               : ScriptOutcome{};
    // The JSON text goes straight from engine to engine, so no character is lost on the way.
    copy.ParseEngineText(outcome.ok ? outcome.text : std::string());
    return copy;
}

void JsonDocument::DeleteMember(std::string_view key) {
    if (const auto member = Member(key)) {
        Run(engine_.get(), "delete " + *member);
    }
}

int JsonDocument::Count(std::string_view path) const {
    const auto target = Target(path);
    if (!target) {
        return 0;
    }
    // A for-in loop over null or undefined yields nothing, which the count's start at -2
    // would turn into -2.
    const double count = std::trunc(EvalNumber(engine_.get(), "get__count(" + *target + ")"));
    return count <= 0 ? 0 : count >= INT_MAX ? INT_MAX : static_cast<int>(count);
}

void JsonDocument::Append(std::string_view value, std::string_view path, bool asJson) {
    if (const auto target = Target(path)) {
        RunWithValue(engine_.get(),
                     "if (Object.prototype.toString.call(" + *target + ") != '[object Array]') { " +
                         *target + "=new Array();} " + *target + ".push(value)",
                     value, asJson);
    }
}

Text JsonDocument::GetElement(int index, std::string_view path, bool asJson) const {
    const auto target = Target(path);
    if (!target) {
        return {};
    }
    const std::string element = *target + "[" + std::to_string(index) + "]";
    return EvalText(engine_.get(), asJson ? "JSON.stringify(" + element + ")" : element);
}

void JsonDocument::SetElement(int index, std::string_view value, bool asJson) {
    RunWithValue(engine_.get(), kVar + "[" + std::to_string(index) + "]=value", value, asJson);
}

void JsonDocument::RemoveElement(int index) {
    Run(engine_.get(), kVar + ".splice(" + std::to_string(index) + ",1)");
}

void JsonDocument::Reset(JsonType type) {
    switch (type) {
        case JsonType::Null:
            Run(engine_.get(), "var " + kVar + "=null");
            break;
        case JsonType::Object:
            Run(engine_.get(), "var " + kVar + "={}");
            break;
        case JsonType::Array:
            Run(engine_.get(), "var " + kVar + "=new Array()");
            break;
        default:
            break;
    }
}

void JsonDocument::SetValue(std::string_view value, bool asJson) {
    RunWithValue(engine_.get(), kVar + "=value", value, asJson);
}

bool JsonDocument::HasMember(std::string_view key) const {
    const auto member = Member(key);
    return member && EvalBool(engine_.get(), *member + " !=null");
}

std::vector<Text> JsonDocument::Keys(std::string_view path) const {
    std::vector<Text> keys;
    const auto target = Target(path);
    if (!target) {
        return keys;
    }
    const Text names = EvalText(
        engine_.get(), "var ary=''; for (var key in " + *target + ") {ary=ary+ key+','; }");
    Run(engine_.get(), "ary=null");
    std::size_t start = 0;
    for (std::size_t comma = names.find(','); comma != Text::npos; comma = names.find(',', start)) {
        keys.push_back(names.substr(start, comma - start));
        start = comma + 1;
    }
    if (start < names.size()) {
        keys.push_back(names.substr(start));
    }
    return keys;
}

JsonType JsonDocument::TypeOf(std::string_view path) const {
    const auto target = Target(path);
    if (!target) {
        return JsonType::Other;
    }
    if (EvalBool(engine_.get(), *target + "==null")) {
        return JsonType::Null;
    }
    const Text type = EvalText(engine_.get(), "typeof (" + *target + ")");
    if (type == "string") {
        return JsonType::String;
    }
    if (type == "number") {
        return JsonType::Number;
    }
    if (type == "object") {
        // Told apart the way Append tells an array, so that the codes agree with Reset's.
        return EvalBool(engine_.get(),
                        "Object.prototype.toString.call(" + *target + ") == '[object Array]'")
                   ? JsonType::Array
                   : JsonType::Object;
    }
    return JsonType::Other;
}

}  // namespace tavelo
