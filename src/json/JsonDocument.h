// A JSON value held in a private script engine and read or changed by path, a path being
// script member syntax such as "data[0].value.answer". Texts are in code page 936.
//
// Every operation reports failure by its empty result (the empty text, 0, false, an empty
// list) and carries on. Reading the value as JSON never runs it as script, and values given
// to the setters are passed to the engine as values, never as script source. A document and
// its clones are used on one thread; documents on different threads share nothing.
#pragma once

#include <cstdint>
#include <memory>
#include <string_view>
#include <vector>

#include "text/Text.h"

namespace tavelo {

class ScriptEngine;

// The type codes of Reset and TypeOf.
enum class JsonType : std::int32_t {
    Other = -1,
    Null = 0,  // null or undefined
    Number = 2,
    Object = 4,
    Array = 5,
    String = 6,
};

class JsonDocument {
public:
    // A new document holding an empty object, on an engine of its own. When the engine
    // cannot be made, every operation gives its empty result.
    JsonDocument();
    // Ends the document; the engine goes with the last document that shares it.
    ~JsonDocument();
    JsonDocument(JsonDocument&& other) noexcept;
    JsonDocument& operator=(JsonDocument&& other) noexcept;
    JsonDocument(const JsonDocument&) = delete;
    JsonDocument& operator=(const JsonDocument&) = delete;

    // A second document on the same engine and value: a change through one shows in both.
    JsonDocument Clone() const;

    // Reads `text` as strict JSON. True when the document then holds neither null nor
    // undefined. The earlier value is gone either way: a text that is not JSON leaves null.
    bool Parse(std::string_view text);

    // The whole value as JSON text.
    Text ToJson() const;

    // Makes the value an empty object.
    void Clear();

    // Sets member `key` (a path) to the text `value`, or, with `asJson`, to the value of the
    // JSON text `value` (the empty text counting as "{}").
    void SetMember(std::string_view key, std::string_view value, bool asJson = false);
    // Sets member `key` to the value of the JSON text `value`.
    void SetMemberRaw(std::string_view key, std::string_view value);
    void SetMemberNumber(std::string_view key, double number);

    // The member as a number; 0 when it is missing or does not read as one.
    double GetNumber(std::string_view key) const;
    // The member as JSON text.
    Text GetMemberJson(std::string_view key) const;

    // The value at `path` as text (a string as it is, a number as its decimal text), or
    // with `asJson` as JSON text. A path that begins with "[" is joined to the value
    // without a dot. The empty text for null, undefined and paths that lead nowhere.
    Text GetText(std::string_view path, bool asJson = false) const;

    // A new document on an engine of its own, holding a copy of the value at `path`.
    JsonDocument GetDocument(std::string_view path) const;

    void DeleteMember(std::string_view key);

    // The number of own members of the object at `path`, or of elements of the array there
    // (the empty path: the value itself); 0 for null and missing targets.
    int Count(std::string_view path = {}) const;

    // Appends `value` (a text, or with `asJson` the value of a JSON text) to the array at
    // `path`; a target that is not an array is first made an empty array.
    void Append(std::string_view value, std::string_view path = {}, bool asJson = false);
    // Element `index` of the array at `path`, as text or as JSON text.
    Text GetElement(int index, std::string_view path = {}, bool asJson = false) const;
    // Element `index` of the value itself.
    void SetElement(int index, std::string_view value, bool asJson = false);
    void RemoveElement(int index);

    // Replaces the value with null, an empty object or an empty array; other types do
    // nothing.
    void Reset(JsonType type);
    // Replaces the value with the text `value`, or with `asJson` with the value of a JSON
    // text.
    void SetValue(std::string_view value, bool asJson = false);

    // True when member `key` is neither null nor undefined.
    bool HasMember(std::string_view key) const;

    // The names that a for-in loop over the target yields, in order: its own names, then
    // the two methods that every object inherits, "toJSONString" and "parseJSON".
    std::vector<Text> Keys(std::string_view path = {}) const;

    JsonType TypeOf(std::string_view path = {}) const;

private:
    explicit JsonDocument(std::shared_ptr<ScriptEngine> engine);

    // Parse of a text already in the engine's encoding.
    bool ParseEngineText(std::string_view engineText);

    std::shared_ptr<ScriptEngine> engine_;
};

}  // namespace tavelo
