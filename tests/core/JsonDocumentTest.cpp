#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "json/JsonDocument.h"

namespace tavelo {
namespace {

// Code page 936 texts.
const std::string kNiHao = "\xC4\xE3\xBA\xC3";     // 你好
const std::string kZhongWen = "\xD6\xD0\xCE\xC4";  // 中文
const std::string kMingZi = "\xC3\xFB\xD7\xD6";    // 名字

// Shaped like the answer service's reply, with a member of every kind beside the answer.
const std::string kReply = R"({"data":[{"value":{"answer":")" + kNiHao +
                           R"(","empty":"","none":null,"twelve":12,"half":0.5,"yes":true,)"
                           R"("quote":"a\"b\n","list":[{"desc":"d0"}],"obj":{"k":1}},)"
                           R"("guide":"g"}],"wide":"x\ud83d\ude00y","thai":"\u0e01"})";

template <typename Row>
std::string RowName(const ::testing::TestParamInfo<Row>& info) {
    return info.param.name;
}

struct ReadCase {
    const char* name;
    std::string path;
    bool asJson;
    std::string expected;
};

void PrintTo(const ReadCase& row, std::ostream* os) {
    *os << row.name;
}

class GetTextTest : public ::testing::TestWithParam<ReadCase> {};

TEST_P(GetTextTest, ReadsThePath) {
    JsonDocument document;
    ASSERT_TRUE(document.Parse(kReply));
    EXPECT_EQ(document.GetText(GetParam().path, GetParam().asJson), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Reply, GetTextTest,
    ::testing::Values(
        ReadCase{"string", "data[0].value.answer", false, kNiHao},
        ReadCase{"missing_member", "data[0].value.desc", false, ""},
        ReadCase{"index_beyond_end", "data[1].value.answer", false, ""},
        ReadCase{"through_missing_member", "data[0].nothing.answer", false, ""},
        ReadCase{"null", "data[0].value.none", false, ""},
        ReadCase{"empty_string", "data[0].value.empty", false, ""},
        ReadCase{"integer", "data[0].value.twelve", false, "12"},
        ReadCase{"fraction", "data[0].value.half", false, "0.5"},
        ReadCase{"boolean", "data[0].value.yes", false, "true"},
        ReadCase{"last_path_of_the_lookup", "data[0].guide", false, "g"},
        ReadCase{"index_inside", "data[0].value.list[0].desc", false, "d0"},
        ReadCase{"quoted_names", R"(data[0]['value']["answer"])", false, kNiHao},
        ReadCase{"empty_path", "", false, ""},
        ReadCase{"json_of_string_keeps_quotes_and_escapes", "data[0].value.quote", true,
                 R"("a\"b\n")"},
        ReadCase{"json_of_chinese_string", "data[0].value.answer", true, "\"" + kNiHao + "\""},
        ReadCase{"json_of_object", "data[0].value.obj", true, R"({"k":1})"},
        ReadCase{"json_of_missing_member", "data[0].value.desc", true, ""},
        ReadCase{"inherited_method", "data[0].value.obj.toJSONString()", false, R"({"k":1})"},
        ReadCase{"beyond_basic_plane_is_one_question_mark", "wide", false, "x?y"},
        ReadCase{"outside_code_page", "thai", false, "?"}),
    RowName<ReadCase>);

TEST(JsonDocumentTest, PathBeginningWithIndexIsJoinedWithoutDot) {
    JsonDocument document;
    ASSERT_TRUE(document.Parse(R"(["a",{"b":"c"}])"));
    EXPECT_EQ(document.GetText("[0]"), "a");
    EXPECT_EQ(document.GetText("[1].b"), "c");
}

TEST(JsonDocumentTest, NewDocumentHoldsEmptyObject) {
    JsonDocument document;
    EXPECT_EQ(document.ToJson(), "{}");
    EXPECT_EQ(document.TypeOf(), JsonType::Object);
}

TEST(JsonDocumentTest, ChineseNamesAndTextsRoundTrip) {
    JsonDocument document;
    document.SetMember(kMingZi, kZhongWen);
    EXPECT_EQ(document.GetText(kMingZi), kZhongWen);
    EXPECT_EQ(document.ToJson(), "{\"" + kMingZi + "\":\"" + kZhongWen + "\"}");
    ASSERT_TRUE(document.Parse(document.ToJson()));
    EXPECT_EQ(document.GetText(kMingZi), kZhongWen);
}

struct ParseCase {
    const char* name;
    std::string text;
    bool parsed;
};

void PrintTo(const ParseCase& row, std::ostream* os) {
    *os << row.name;
}

class ParseTest : public ::testing::TestWithParam<ParseCase> {};

// Every parse starts from a document that holds the reply, to show that a failed parse
// leaves nothing of it.
TEST_P(ParseTest, ReadsOnlyStrictJson) {
    JsonDocument document;
    ASSERT_TRUE(document.Parse(kReply));
    EXPECT_EQ(document.Parse(GetParam().text), GetParam().parsed);
    if (!GetParam().parsed) {
        EXPECT_EQ(document.ToJson(), "null");
        EXPECT_EQ(document.GetText("data[0].value.answer"), "");
        EXPECT_EQ(document.TypeOf(), JsonType::Null);
    } else {
        EXPECT_NE(document.ToJson(), "null");
    }
}

std::string Repeat(std::string_view piece, int times) {
    std::string out;
    for (int i = 0; i < times; ++i) {
        out += piece;
    }
    return out;
}

constexpr int kDeep = 100000;

INSTANTIATE_TEST_SUITE_P(
    Texts, ParseTest,
    ::testing::Values(
        ParseCase{"empty", "", false},
        ParseCase{"html_page", "<html><body><h1>502 Bad Gateway</h1></body></html>", false},
        ParseCase{"truncated", R"({"data":[{"value":{"answer":"x")", false},
        ParseCase{"truncated_in_string", R"({"data":[{"value":{"answer":"x)", false},
        ParseCase{"single_quotes", "{'a':1}", false}, ParseCase{"unquoted_names", "{a:1}", false},
        ParseCase{"trailing_comma", "[1,]", false}, ParseCase{"comment", "[1]//", false},
        ParseCase{"two_values", "{} {}", false},
        ParseCase{"script", "(function(){Object.prototype.ran='yes';return {};})()", false},
        ParseCase{"script_after_value", "{}; Object.prototype.ran='yes'", false},
        ParseCase{"undefined", "undefined", false}, ParseCase{"null", "null", false},
        ParseCase{"not_a_number", "[NaN]", false}, ParseCase{"infinity", "[Infinity]", false},
        ParseCase{"number_beyond_double", "[1e400]", false},
        ParseCase{"negative_number_beyond_double", "{\"a\":-1e400}", false},
        ParseCase{"integer_beyond_double", "[1" + std::string(400, '0') + "]", false},
        ParseCase{"largest_double", "[1.7976931348623157e308]", true},
        ParseCase{"number_below_double_reads_as_zero", "[1e-400]", true},
        ParseCase{"huge_number_inside_string", R"(["1e400","\"1e400"])", true},
        ParseCase{"number", "12", true}, ParseCase{"string", R"("x")", true},
        ParseCase{"false", "false", true}, ParseCase{"blanks_around", " \r\n\t{}\r\n", true},
        ParseCase{"bytes_outside_code_page", "\xFF\xFE{}", false},
        ParseCase{"lone_lead_byte_in_string_reads_as_question_mark", "[\"\x81\"]", true},
        ParseCase{"deep_arrays", Repeat("[", kDeep) + Repeat("]", kDeep), false},
        ParseCase{"deep_objects", Repeat(R"({"a":)", kDeep) + "1" + Repeat("}", kDeep), false},
        ParseCase{"deep_and_unclosed", Repeat("[", kDeep), false},
        ParseCase{"moderate_nesting", Repeat("[", 100) + Repeat("]", 100), true}),
    RowName<ParseCase>);

TEST(JsonDocumentTest, ParseNeverRunsTheText) {
    JsonDocument document;
    EXPECT_FALSE(document.Parse("(function(){Object.prototype.ran='yes';return {};})()"));
    EXPECT_FALSE(document.Parse("Object.prototype.ran='yes'"));
    ASSERT_TRUE(document.Parse("{}"));
    EXPECT_EQ(document.GetText("ran"), "");
}

TEST(JsonDocumentTest, LoneLeadByteInStringReadsAsQuestionMark) {
    JsonDocument document;
    ASSERT_TRUE(document.Parse("[\"a\x81\"]"));
    EXPECT_EQ(document.GetText("[0]"), "a?");
}

// Paths are script member syntax only: anything else is refused before it reaches the
// engine, so a path can neither change the document nor run code.
class HostilePathTest : public ::testing::TestWithParam<const char*> {};

TEST_P(HostilePathTest, IsRefused) {
    JsonDocument document;
    ASSERT_TRUE(document.Parse(R"({"a":1})"));
    const std::string path = GetParam();
    EXPECT_EQ(document.GetText(path), "");
    EXPECT_EQ(document.GetText(path, true), "");
    EXPECT_EQ(document.Count(path), 0);
    EXPECT_FALSE(document.HasMember(path));
    EXPECT_EQ(document.TypeOf(path), JsonType::Other);
    document.SetMember(path, "v");
    document.DeleteMember(path);
    EXPECT_EQ(document.ToJson(), R"({"a":1})");
}

INSTANTIATE_TEST_SUITE_P(Paths, HostilePathTest,
                         ::testing::Values("a=2", "a;da.b=1", "a,da.b=1", "[0]+(da.b=1)",
                                           "constructor.constructor('da.b=1')()",
                                           "a['x'];da.b=1;//']", "a['\\'];da.b=1;//']", "a\nda.b=1",
                                           "a //", "a.", "a[]", "a(1)", "a[0",
                                           "a\xA1\xA1[0]"));  // ends in 　 (U+3000)

struct OperationCase {
    const char* name;
    // The JSON text parsed first; empty for a new document.
    std::string start;
    // Runs the operation and gives its result in words ("" when it has none).
    std::function<std::string(JsonDocument&)> operation;
    std::string result;
    // The whole value afterwards.
    std::string json;
};

void PrintTo(const OperationCase& row, std::ostream* os) {
    *os << row.name;
}

std::string Words(bool value) {
    return value ? "true" : "false";
}

std::string Words(double value) {
    std::string text = std::to_string(value);
    text.erase(text.find_last_not_of('0') + 1);
    if (text.ends_with('.')) {
        text.pop_back();
    }
    return text;
}

std::string Words(const std::vector<Text>& keys) {
    std::string text;
    for (const auto& key : keys) {
        text += (text.empty() ? "" : "|") + key;
    }
    return text;
}

class OperationTest : public ::testing::TestWithParam<OperationCase> {};

TEST_P(OperationTest, GivesItsResult) {
    JsonDocument document;
    if (!GetParam().start.empty()) {
        ASSERT_TRUE(document.Parse(GetParam().start));
    }
    EXPECT_EQ(GetParam().operation(document), GetParam().result);
    EXPECT_EQ(document.ToJson(), GetParam().json);
}

using D = JsonDocument&;
const std::string kAB = R"({"a":1,"b":2})";

INSTANTIATE_TEST_SUITE_P(
    All, OperationTest,
    ::testing::Values(
        OperationCase{"to_json", kAB, [](D d) { return d.ToJson(); }, kAB, kAB},
        OperationCase{"clear", kAB, [](D d) { return d.Clear(), ""; }, "", "{}"},
        // A text value is passed as a value: quotes and line breaks need no escaping.
        OperationCase{"set_member_text", R"({"a":1})",
                      [](D d) { return d.SetMember("b", "it's \"x\"\r\n"), ""; }, "",
                      R"({"a":1,"b":"it's \"x\"\r\n"})"},
        OperationCase{"set_member_nested", R"({"o":{}})",
                      [](D d) { return d.SetMember("o.p", "v"), ""; }, "", R"({"o":{"p":"v"}})"},
        OperationCase{"set_member_json", R"({"a":1})",
                      [](D d) { return d.SetMember("b", R"([1,"x"])", true), ""; }, "",
                      R"({"a":1,"b":[1,"x"]})"},
        OperationCase{"set_member_json_string", R"({"a":1})",
                      [](D d) { return d.SetMember("b", R"("x")", true), ""; }, "",
                      R"({"a":1,"b":"x"})"},
        OperationCase{"set_member_empty_json_is_object", R"({"a":1})",
                      [](D d) { return d.SetMember("b", "", true), ""; }, "", R"({"a":1,"b":{}})"},
        OperationCase{"set_member_bad_json_changes_nothing", R"({"a":1})",
                      [](D d) { return d.SetMember("a", "[1,", true), ""; }, "", R"({"a":1})"},
        OperationCase{"set_member_raw", R"({"a":1})",
                      [](D d) { return d.SetMemberRaw("b", "true"), ""; }, "",
                      R"({"a":1,"b":true})"},
        OperationCase{"set_member_raw_script_is_not_run", R"({"a":1})",
                      [](D d) { return d.SetMemberRaw("b", "(function(){return 2})()"), ""; }, "",
                      R"({"a":1})"},
        OperationCase{"set_member_number", R"({"a":1})",
                      [](D d) { return d.SetMemberNumber("b", -2.5), ""; }, "",
                      R"({"a":1,"b":-2.5})"},
        OperationCase{"get_number", R"({"a":12.5})", [](D d) { return Words(d.GetNumber("a")); },
                      "12.5", R"({"a":12.5})"},
        OperationCase{"get_number_of_numeric_text", R"({"a":"7"})",
                      [](D d) { return Words(d.GetNumber("a")); }, "7", R"({"a":"7"})"},
        OperationCase{"get_number_of_other_text", R"({"a":"x"})",
                      [](D d) { return Words(d.GetNumber("a")); }, "0", R"({"a":"x"})"},
        OperationCase{"get_number_of_missing", "{}", [](D d) { return Words(d.GetNumber("a")); },
                      "0", "{}"},
        OperationCase{"get_member_json", R"({"a":{"b":[1,"x"]}})",
                      [](D d) { return d.GetMemberJson("a"); }, R"({"b":[1,"x"]})",
                      R"({"a":{"b":[1,"x"]}})"},
        OperationCase{"get_document", R"({"a":{"b":"x"}})",
                      [](D d) { return d.GetDocument("a").ToJson(); }, R"({"b":"x"})",
                      R"({"a":{"b":"x"}})"},
        OperationCase{"get_document_of_missing_holds_null", "{}",
                      [](D d) { return d.GetDocument("a").ToJson(); }, "null", "{}"},
        OperationCase{"delete_member", kAB, [](D d) { return d.DeleteMember("a"), ""; }, "",
                      R"({"b":2})"},
        OperationCase{"count_object", R"({"a":1,"b":2,"c":3})",
                      [](D d) { return std::to_string(d.Count()); }, "3", R"({"a":1,"b":2,"c":3})"},
        OperationCase{"count_empty_object", "{}", [](D d) { return std::to_string(d.Count()); },
                      "0", "{}"},
        OperationCase{"count_array_at_path", R"({"l":[1,2]})",
                      [](D d) { return std::to_string(d.Count("l")); }, "2", R"({"l":[1,2]})"},
        // A for-in loop over null yields nothing; the count is 0, not -2.
        OperationCase{"count_null", R"({"n":null})",
                      [](D d) { return std::to_string(d.Count("n")); }, "0", R"({"n":null})"},
        OperationCase{"count_missing", "{}", [](D d) { return std::to_string(d.Count("m")); }, "0",
                      "{}"},
        OperationCase{"append_text", "[1]", [](D d) { return d.Append("x'\n"), ""; }, "",
                      R"([1,"x'\n"])"},
        OperationCase{"append_json", "[1]",
                      [](D d) { return d.Append(R"({"k":1})", "", true), ""; }, "",
                      R"([1,{"k":1}])"},
        OperationCase{"append_makes_target_array", R"({"a":1})",
                      [](D d) { return d.Append("x", "a"), ""; }, "", R"({"a":["x"]})"},
        OperationCase{"append_bad_json_changes_nothing", R"({"a":1})",
                      [](D d) { return d.Append("[", "a", true), ""; }, "", R"({"a":1})"},
        OperationCase{"get_element", R"(["a","b"])", [](D d) { return d.GetElement(1); }, "b",
                      R"(["a","b"])"},
        OperationCase{"get_element_beyond_end", R"(["a"])", [](D d) { return d.GetElement(5); }, "",
                      R"(["a"])"},
        OperationCase{"get_element_as_json", R"(["a"])",
                      [](D d) { return d.GetElement(0, "", true); }, R"("a")", R"(["a"])"},
        OperationCase{"get_element_at_path", R"({"l":[1,2]})",
                      [](D d) { return d.GetElement(1, "l"); }, "2", R"({"l":[1,2]})"},
        OperationCase{"set_element", R"(["a"])", [](D d) { return d.SetElement(0, "z"), ""; }, "",
                      R"(["z"])"},
        OperationCase{"set_element_json", R"(["a"])",
                      [](D d) { return d.SetElement(1, R"({"k":null})", true), ""; }, "",
                      R"(["a",{"k":null}])"},
        OperationCase{"remove_element", "[1,2,3]", [](D d) { return d.RemoveElement(1), ""; }, "",
                      "[1,3]"},
        OperationCase{"remove_element_of_object_does_nothing", R"({"a":1})",
                      [](D d) { return d.RemoveElement(0), ""; }, "", R"({"a":1})"},
        OperationCase{"reset_null", kAB, [](D d) { return d.Reset(JsonType::Null), ""; }, "",
                      "null"},
        OperationCase{"reset_object", "[1]", [](D d) { return d.Reset(JsonType::Object), ""; }, "",
                      "{}"},
        OperationCase{"reset_array", kAB, [](D d) { return d.Reset(JsonType::Array), ""; }, "",
                      "[]"},
        OperationCase{"reset_other_type_does_nothing", kAB,
                      [](D d) { return d.Reset(JsonType::String), ""; }, "", kAB},
        OperationCase{"set_value_text", kAB, [](D d) { return d.SetValue("x"), ""; }, "", R"("x")"},
        OperationCase{"set_value_json", kAB, [](D d) { return d.SetValue("[1]", true), ""; }, "",
                      "[1]"},
        OperationCase{"has_member", kAB, [](D d) { return Words(d.HasMember("a")); }, "true", kAB},
        OperationCase{"has_member_null", R"({"n":null})",
                      [](D d) { return Words(d.HasMember("n")); }, "false", R"({"n":null})"},
        OperationCase{"has_member_missing", kAB, [](D d) { return Words(d.HasMember("x.y")); },
                      "false", kAB},
        OperationCase{"keys_include_inherited_methods", kAB, [](D d) { return Words(d.Keys()); },
                      "a|b|toJSONString|parseJSON", kAB},
        OperationCase{"keys_of_empty_object", "{}", [](D d) { return Words(d.Keys()); },
                      "toJSONString|parseJSON", "{}"},
        OperationCase{"keys_of_array_at_path", R"({"l":["x"]})",
                      [](D d) { return Words(d.Keys("l")); }, "0|toJSONString|parseJSON",
                      R"({"l":["x"]})"},
        OperationCase{"keys_of_missing", "{}", [](D d) { return Words(d.Keys("m.n")); }, "", "{}"},
        OperationCase{"clone_shares_the_value", R"({"a":1})",
                      [](D d) { return d.Clone().SetMember("b", "x"), ""; }, "",
                      R"({"a":1,"b":"x"})"}),
    RowName<OperationCase>);

struct TypeCase {
    const char* name;
    std::string path;
    JsonType type;
};

void PrintTo(const TypeCase& row, std::ostream* os) {
    *os << row.name;
}

class TypeOfTest : public ::testing::TestWithParam<TypeCase> {};

TEST_P(TypeOfTest, AgreesWithReset) {
    JsonDocument document;
    ASSERT_TRUE(document.Parse(R"({"n":null,"i":2,"o":{},"l":[],"s":"","b":true})"));
    EXPECT_EQ(document.TypeOf(GetParam().path), GetParam().type);
}

INSTANTIATE_TEST_SUITE_P(Members, TypeOfTest,
                         ::testing::Values(TypeCase{"whole_value", "", JsonType::Object},
                                           TypeCase{"null", "n", JsonType::Null},
                                           TypeCase{"number", "i", JsonType::Number},
                                           TypeCase{"object", "o", JsonType::Object},
                                           TypeCase{"array", "l", JsonType::Array},
                                           TypeCase{"string", "s", JsonType::String},
                                           TypeCase{"boolean", "b", JsonType::Other},
                                           TypeCase{"missing", "m", JsonType::Null},
                                           TypeCase{"through_missing", "m.x", JsonType::Other}),
                         RowName<TypeCase>);

TEST(JsonDocumentTest, ResetTypesReadBackThroughTypeOf) {
    JsonDocument document;
    for (const JsonType type : {JsonType::Null, JsonType::Object, JsonType::Array}) {
        document.Reset(type);
        EXPECT_EQ(document.TypeOf(), type);
    }
}

TEST(JsonDocumentTest, CloneOutlivesTheOriginal) {
    auto original = std::make_unique<JsonDocument>();
    ASSERT_TRUE(original->Parse(R"({"a":"x"})"));
    JsonDocument clone = original->Clone();
    original.reset();
    EXPECT_EQ(clone.GetText("a"), "x");
}

TEST(JsonDocumentTest, GetDocumentGivesIndependentCopy) {
    JsonDocument document;
    ASSERT_TRUE(document.Parse(R"({"a":{"b":"x"}})"));
    JsonDocument copy = document.GetDocument("a");
    copy.SetMember("b", "y");
    EXPECT_EQ(copy.GetText("b"), "y");
    EXPECT_EQ(document.GetText("a.b"), "x");
}

TEST(JsonDocumentTest, MovedFromDocumentGivesEmptyResults) {
    JsonDocument document;
    ASSERT_TRUE(document.Parse(R"({"a":"x"})"));
    JsonDocument moved = std::move(document);
    EXPECT_EQ(moved.GetText("a"), "x");
    // NOLINTNEXTLINE(bugprone-use-after-move): a moved-from document must stay harmless.
    EXPECT_FALSE(document.Parse(R"({"a":"x"})"));
    EXPECT_EQ(document.GetText("a"), "");
    EXPECT_EQ(document.ToJson(), "");
}

// Lookups run on one worker thread per question, so documents are made and used on many
// threads at once.
TEST(JsonDocumentTest, DocumentsOnDifferentThreadsShareNothing) {
    constexpr int kThreads = 4;
    constexpr int kDocuments = 10;
    std::vector<std::string> answers(kThreads);
    std::vector<std::thread> threads;
    for (int t = 0; t < kThreads; ++t) {
        threads.emplace_back([t, &answers] {
            for (int i = 0; i < kDocuments; ++i) {
                JsonDocument document;
                document.Parse(R"({"data":[{"value":{"answer":"t)" + std::to_string(t) +
                               R"("}}]})");
                answers[t] = document.GetText("data[0].value.answer");
            }
        });
    }
    for (auto& thread : threads) {
        thread.join();
    }
    for (int t = 0; t < kThreads; ++t) {
        EXPECT_EQ(answers[t], "t" + std::to_string(t));
    }
}

}  // namespace
}  // namespace tavelo
