// How long the settings file takes to read one value and to save all three (each write
// replaces the file through a flushed temporary file).
#include <benchmark/benchmark.h>

#include <stdlib.h>

#include <filesystem>
#include <string>

#include "platform/FileSystem.h"
#include "settings/SettingsFile.h"

namespace {

// A run directory of its own, with a chat.ini that holds the three keys and `padding`
// further bytes in another section.
class SettingsDirectory {
public:
    explicit SettingsDirectory(std::size_t padding) {
        std::string pattern = (std::filesystem::temp_directory_path() / "tavelo-bench-XXXXXX");
        path_ = mkdtemp(pattern.data());
        tavelo::OverrideRunDirectory(path_);
        tavelo::WriteFileRefusingReadOnly(
            tavelo::SettingsFilePath(),
            "[notes]\r\nn=" + std::string(padding, 'x') +
                "\r\n[pz]\r\nname1=Bot\r\nname2=http://a/bot.png\r\nname3=http://a/me.png\r\n");
    }
    ~SettingsDirectory() {
        tavelo::OverrideRunDirectory("");
        std::filesystem::remove_all(path_);
    }
    SettingsDirectory(const SettingsDirectory&) = delete;
    SettingsDirectory& operator=(const SettingsDirectory&) = delete;

private:
    std::string path_;
};

void BM_ReadSetting(benchmark::State& state) {
    SettingsDirectory directory(static_cast<std::size_t>(state.range(0)));
    for (auto _ : state) {
        benchmark::DoNotOptimize(tavelo::ReadSetting("name3"));
    }
}
BENCHMARK(BM_ReadSetting)->Arg(0)->Arg(64 * 1024);

void BM_SaveSettings(benchmark::State& state) {
    SettingsDirectory directory(static_cast<std::size_t>(state.range(0)));
    for (auto _ : state) {
        tavelo::WriteSetting("name1", "Bot");
        tavelo::WriteSetting("name2", "http://a/bot.png");
        tavelo::WriteSetting("name3", "http://a/me.png");
        tavelo::HideSettingsFile();
    }
}
BENCHMARK(BM_SaveSettings)->Arg(0)->Arg(64 * 1024)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
