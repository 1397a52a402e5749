#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "json/CappedMemory.h"
#include "json/ScriptEngine.h"

namespace tavelo {
namespace {

struct ConversionCase {
    const char* name;
    const char* line;
    ScriptResult result;
    bool ok;
    std::string text;
    double number;
    bool flag;
};

void PrintTo(const ConversionCase& row, std::ostream* os) {
    *os << row.name;
}

class ConversionTest : public ::testing::TestWithParam<ConversionCase> {};

TEST_P(ConversionTest, ConvertsTheResult) {
    ScriptEngine engine;
    const ConversionCase& row = GetParam();
    const ScriptOutcome outcome = engine.Evaluate(row.line, row.result);
    EXPECT_EQ(outcome.ok, row.ok);
    EXPECT_EQ(outcome.text, row.text);
    EXPECT_EQ(outcome.number, row.number);
    EXPECT_EQ(outcome.flag, row.flag);
}

using R = ScriptResult;

INSTANTIATE_TEST_SUITE_P(
    Lines, ConversionTest,
    ::testing::Values(
        ConversionCase{"text", "'a'+1", R::AsText, true, "a1", 0, false},
        ConversionCase{"number_as_text", "0.5", R::AsText, true, "0.5", 0, false},
        ConversionCase{"null_as_text", "null", R::AsText, true, "", 0, false},
        ConversionCase{"undefined_as_text", "undefined", R::AsText, true, "", 0, false},
        ConversionCase{"completion_value", "var a=''; a=a+'x'", R::AsText, true, "x", 0, false},
        ConversionCase{"number", "6*7", R::AsNumber, true, "", 42, false},
        ConversionCase{"numeric_text", "'7'", R::AsNumber, true, "", 7, false},
        ConversionCase{"other_text_is_zero", "'x'", R::AsNumber, true, "", 0, false},
        ConversionCase{"null_is_zero", "null", R::AsNumber, true, "", 0, false},
        ConversionCase{"bool", "1 != null", R::AsBool, true, "", 0, true},
        ConversionCase{"syntax_error", "1+", R::AsText, false, "", 0, false},
        ConversionCase{"member_of_null", "null.x", R::AsText, false, "", 0, false},
        ConversionCase{"thrown", "throw 'x'", R::AsBool, false, "", 0, false}),
    [](const auto& row) { return std::string(row.param.name); });

TEST(ScriptEngineTest, ArgumentIsPassedAsValue) {
    ScriptEngine engine;
    const std::string text = "'); throw 1; ('";
    ASSERT_TRUE(engine.Evaluate("var kept = null", R::Ignored).ok);
    EXPECT_TRUE(engine
                    .Evaluate("kept = value", R::Ignored,
                              ScriptArgument{.kind = ScriptArgument::Kind::String, .text = text})
                    .ok);
    EXPECT_EQ(engine.Evaluate("kept", R::AsText).text, text);
}

TEST(ScriptEngineTest, BadJsonArgumentStopsTheLine) {
    ScriptEngine engine;
    ASSERT_TRUE(engine.Evaluate("var ran = false", R::Ignored).ok);
    EXPECT_FALSE(engine
                     .Evaluate("ran = true", R::Ignored,
                               ScriptArgument{.kind = ScriptArgument::Kind::Json, .text = "{"})
                     .ok);
    EXPECT_FALSE(engine.Evaluate("ran", R::AsBool).flag);
}

using Step = ScriptEngine::Step;

struct FatalCase {
    const char* name;
    Step step;
};

void PrintTo(const FatalCase& row, std::ostream* os) {
    *os << row.name;
}

class FatalErrorTest : public ::testing::TestWithParam<FatalCase> {};

// The engine's fatal errors would otherwise end the process.
TEST_P(FatalErrorTest, EndsOnlyTheEngine) {
    ScriptEngine engine;
    ASSERT_TRUE(engine.IsUsable());
    EXPECT_FALSE(engine.Run(GetParam().step, nullptr));
    EXPECT_FALSE(engine.IsUsable());
    EXPECT_EQ(engine.MemoryUsed(), 0u);
    EXPECT_FALSE(engine.Evaluate("1", R::AsText).ok);

    ScriptEngine next;
    EXPECT_EQ(next.Evaluate("1+1", R::AsText).text, "2");
}

INSTANTIATE_TEST_SUITE_P(Steps, FatalErrorTest,
                         ::testing::Values(FatalCase{"fatal",
                                                     [](duk_context* context, void*) {
                                                         duk_fatal(context, "test");
                                                     }},
                                           FatalCase{"error_outside_protected_call",
                                                     [](duk_context* context, void*) {
                                                         duk_error(context, DUK_ERR_ERROR, "test");
                                                     }}),
                         [](const auto& row) { return std::string(row.param.name); });

constexpr std::size_t kSmallCap = std::size_t{4} << 20;

TEST(ScriptEngineTest, MemoryCapStopsRunawayScript) {
    ScriptEngine engine(kSmallCap);
    ASSERT_TRUE(engine.IsUsable());
    EXPECT_FALSE(
        engine.Evaluate("var grow = []; for (;;) { grow.push('x' + grow.length); }", R::Ignored)
            .ok);
    EXPECT_LE(engine.MemoryUsed(), kSmallCap);
    EXPECT_EQ(engine.Evaluate("grow = null; 1+1", R::AsText).text, "2");
}

TEST(ScriptEngineTest, MemoryCapStopsJsonThatExpands) {
    ScriptEngine engine(kSmallCap);
    std::string json = "[";
    for (int i = 0; i < 100000; ++i) {
        json += "{},";
    }
    json += "{}]";
    EXPECT_FALSE(engine
                     .Evaluate("var kept = value", R::Ignored,
                               ScriptArgument{.kind = ScriptArgument::Kind::Json, .text = json})
                     .ok);
    EXPECT_EQ(engine.Evaluate("1+1", R::AsText).text, "2");
}

TEST(ScriptEngineTest, MovedEngineKeepsItsHeap) {
    ScriptEngine engine;
    ASSERT_TRUE(engine.Evaluate("var x = 'kept'", R::Ignored).ok);
    ScriptEngine moved = std::move(engine);
    EXPECT_EQ(moved.Evaluate("x", R::AsText).text, "kept");
    // NOLINTNEXTLINE(bugprone-use-after-move): a moved-from engine must stay harmless.
    EXPECT_FALSE(engine.IsUsable());
    EXPECT_FALSE(engine.Evaluate("1", R::AsText).ok);
}

TEST(CappedMemoryTest, RefusedGrowthKeepsTheBlock) {
    CappedMemory memory(100);
    auto* block = static_cast<char*>(memory.Allocate(60));
    ASSERT_NE(block, nullptr);
    std::memset(block, 'x', 60);
    EXPECT_EQ(memory.Reallocate(block, 101), nullptr);
    EXPECT_EQ(memory.Used(), 60u);
    EXPECT_EQ(std::string(block, 60), std::string(60, 'x'));
    EXPECT_EQ(memory.Allocate(41), nullptr);

    block = static_cast<char*>(memory.Reallocate(block, 100));
    ASSERT_NE(block, nullptr);
    EXPECT_EQ(std::string(block, 60), std::string(60, 'x'));
    EXPECT_EQ(memory.Used(), 100u);
    memory.Free(block);
    EXPECT_EQ(memory.Used(), 0u);
}

}  // namespace
}  // namespace tavelo
