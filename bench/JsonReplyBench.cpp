// The cost of handling one answer-service reply without the network: a JSON document is
// made, the reply parsed into it, the lookup's four paths read, and the document destroyed.
// Beside it, the floor: a plain strict JSON parse of the same reply with the same four reads
// and the same code page conversions. Prints the ratio of the medians.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <map>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "answer/TextCodecs.h"
#include "json/JsonDocument.h"

namespace tavelo {
namespace {

// A reply shaped like the answer service's (about 2 KB of UTF-8), as the HTTP layer hands it
// over: converted to code page 936.
const Text& Reply() {
    static const Text reply = Utf8ToGbk(
        R"({"status":0,"message":"ok","data":[{)"
        R"("type":"ai_answer","sc_name":"structure_web_info","value":{)"
        R"("answer":"柠檬是芸香科柑橘属的常绿小乔木，果实呈椭圆形，果皮黄色，味道极酸。)"
        R"(柠檬富含维生素C、柠檬酸和多种矿物质，常用来泡水、调味和制作饮料。)"
        R"(一般认为，每天适量饮用柠檬水有助于补充水分，但胃酸过多的人不宜空腹饮用。)"
        R"(挑选柠檬时，宜选表皮光滑、颜色均匀、手感沉重的果实。",)"
        R"("desc":"","list":[)"
        R"({"title":"柠檬的功效与作用","desc":"柠檬含有丰富的维生素和有机酸，能够促进食欲。",)"
        R"("url":"https://example.com/a/1","site":"百科"},)"
        R"({"title":"柠檬水的正确泡法","desc":"先用温水冲洗，再切片放入凉开水中浸泡。",)"
        R"("url":"https://example.com/a/2","site":"生活"},)"
        R"({"title":"柠檬怎么保存","desc":"整个柠檬可冷藏保存两到三周，切开后应尽快食用。",)"
        R"("url":"https://example.com/a/3","site":"问答"},)"
        R"({"title":"柠檬和青柠的区别","desc":"青柠个头较小，皮薄色绿，香气更浓，酸味略淡。",)"
        R"("url":"https://example.com/a/4","site":"百科"},)"
        R"({"title":"柠檬片泡水能放多久","desc":"常温下最好在四小时内喝完，冷藏可放一天左右。",)"
        R"("url":"https://example.com/a/5","site":"生活"},)"
        R"({"title":"柠檬的种植方法","desc":"柠檬喜温暖湿润，怕寒冷，宜种在排水良好的酸性土壤中。",)"
        R"("url":"https://example.com/a/6","site":"农业"}],)"
        R"("source":"夸克AI","confidence":0.92,"tags":["水果","健康","饮品"]},)"
        R"("guide":"你还可以问我：柠檬和青柠有什么区别？"}],)"
        R"("extra":{"session_id":"a3c95f02-4b18-4e6d-9c27-5d80f6b3e1c4","cost_ms":231,)"
        R"("sc_stype":"ai","recommend":["柠檬茶","柠檬蜂蜜水","柠檬的热量"],)"
        R"("debug":{"node":"sm-ai-07","trace":"7f3e2a9c41d84b6e","cache":false}}})");
    return reply;
}

const char* const kPaths[] = {"data[0].value.answer", "data[0].value.desc",
                              "data[0].value.list[0].desc", "data[0].guide"};
const char* const kPointers[] = {"/data/0/value/answer", "/data/0/value/desc",
                                 "/data/0/value/list/0/desc", "/data/0/guide"};

std::vector<Text> ReadThroughDocument(const Text& reply) {
    std::vector<Text> texts;
    JsonDocument document;
    document.Parse(reply);
    for (const char* path : kPaths) {
        texts.push_back(document.GetText(path));
    }
    return texts;
}

Text ReadPlain(const nlohmann::json& json, const nlohmann::json::json_pointer& pointer) {
    if (!json.contains(pointer)) {
        return {};
    }
    const nlohmann::json& value = json[pointer];
    if (value.is_string()) {
        return Utf8ToGbk(value.get_ref<const std::string&>());
    }
    return value.is_number() ? Text(value.dump()) : Text();
}

std::vector<Text> ReadThroughPlainParse(const Text& reply) {
    std::vector<Text> texts;
    const nlohmann::json json = nlohmann::json::parse(GbkToUtf8(reply), nullptr, false);
    for (const char* pointer : kPointers) {
        texts.push_back(
            json.is_discarded() ? Text() : ReadPlain(json, nlohmann::json::json_pointer(pointer)));
    }
    return texts;
}

void BM_ReplyThroughJsonDocument(benchmark::State& state) {
    for (auto _ : state) {
        benchmark::DoNotOptimize(ReadThroughDocument(Reply()));
    }
    state.SetLabel(std::to_string(GbkToUtf8(Reply()).size()) + " bytes of UTF-8");
}

void BM_ReplyThroughPlainParse(benchmark::State& state) {
    for (auto _ : state) {
        benchmark::DoNotOptimize(ReadThroughPlainParse(Reply()));
    }
}

// The share of the engine's start-up and end in the whole.
void BM_DocumentCreateDestroy(benchmark::State& state) {
    for (auto _ : state) {
        JsonDocument document;
        benchmark::DoNotOptimize(document);
    }
}

constexpr int kRepetitions = 10;

BENCHMARK(BM_ReplyThroughJsonDocument)
    ->Unit(benchmark::kMicrosecond)
    ->Repetitions(kRepetitions)
    ->ReportAggregatesOnly(true);
BENCHMARK(BM_ReplyThroughPlainParse)
    ->Unit(benchmark::kMicrosecond)
    ->Repetitions(kRepetitions)
    ->ReportAggregatesOnly(true);
BENCHMARK(BM_DocumentCreateDestroy)
    ->Unit(benchmark::kMicrosecond)
    ->Repetitions(kRepetitions)
    ->ReportAggregatesOnly(true);

struct Median {
    double real = 0;
    double cpu = 0;
};

// Shows the runs as usual and keeps each benchmark's medians.
class MedianReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& reports) override {
        for (const Run& run : reports) {
            if (run.aggregate_name == "median") {
                medians[run.run_name.function_name] = {run.GetAdjustedRealTime(),
                                                       run.GetAdjustedCPUTime()};
            }
        }
        ConsoleReporter::ReportRuns(reports);
    }

    std::map<std::string, Median> medians;
};

}  // namespace
}  // namespace tavelo

int main(int argc, char** argv) {
    using namespace tavelo;
    // Both ways must read the same texts, or the comparison means nothing.
    if (ReadThroughDocument(Reply()) != ReadThroughPlainParse(Reply()) ||
        ReadThroughDocument(Reply())[0].empty()) {
        std::fprintf(stderr, "The two ways read different texts from the reply.\n");
        return EXIT_FAILURE;
    }
    benchmark::Initialize(&argc, argv);
    MedianReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();

    const auto document = reporter.medians.find("BM_ReplyThroughJsonDocument");
    const auto floor = reporter.medians.find("BM_ReplyThroughPlainParse");
    if (document != reporter.medians.end() && floor != reporter.medians.end() &&
        floor->second.real > 0 && floor->second.cpu > 0) {
        const Median& doc = document->second;
        const Median& plain = floor->second;
        // On a shared machine the wall-clock time also counts waits for a core; the CPU time
        // is the cost of the work itself.
        std::printf(
            "\nOne reply through a JSON document: median %.1f us wall, %.1f us CPU "
            "(target: under 1000 us)\n",
            doc.real, doc.cpu);
        std::printf(
            "Floor, plain strict parse with the same reads: median %.1f us wall, "
            "%.1f us CPU\n",
            plain.real, plain.cpu);
        std::printf("Ratio to the floor: %.1f wall, %.1f CPU\n", doc.real / plain.real,
                    doc.cpu / plain.cpu);
    }
    return EXIT_SUCCESS;
}
