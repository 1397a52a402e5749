// Start-up of the chat window beside a bare Qt WebEngine window that loads the same page
// file: the time from starting the process to the page having loaded, and the memory (PSS)
// of the whole process tree, Qt WebEngine's helper processes included, once it has loaded.
//
//   xvfb-run -a -s "-screen 0 1280x1024x24" build/bench/tavelo_bench_startup [rounds]
//
// Each round starts one process of each kind, in turns, and each process measures its own
// tree and ends. Medians are printed, and the chat window's figures as multiples of the bare
// window's.
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QProcess>
#include <QTemporaryDir>
#include <QTimer>
#include <QWebEngineView>

#include "app/AppState.h"
#include "app/ExitRoutine.h"
#include "app/MainWindow.h"
#include "page/ChatPage.h"
#include "platform/FileSystem.h"
#include "toolkit/ChatView.h"
#include "toolkit/WebEngineSetup.h"

namespace {

// The Pss line of /proc/PID/smaps_rollup, in kB; 0 when the process is gone.
long PssKb(int pid) {
    std::ifstream rollup("/proc/" + std::to_string(pid) + "/smaps_rollup");
    std::string line;
    while (std::getline(rollup, line)) {
        if (line.rfind("Pss:", 0) == 0) {
            return std::stol(line.substr(4));
        }
    }
    return 0;
}

// The parent of every process, from /proc/PID/stat.
std::map<int, int> ParentsOfAll() {
    std::map<int, int> parents;
    for (const auto& entry : std::filesystem::directory_iterator("/proc")) {
        const std::string name = entry.path().filename().string();
        if (name.find_first_not_of("0123456789") != std::string::npos) {
            continue;
        }
        std::ifstream stat(entry.path() / "stat");
        std::string content((std::istreambuf_iterator<char>(stat)), {});
        const auto close = content.rfind(')');  // the command may hold spaces and parentheses
        if (close == std::string::npos) {
            continue;
        }
        std::istringstream rest(content.substr(close + 2));
        char state = 0;
        int parent = 0;
        rest >> state >> parent;
        parents[std::stoi(name)] = parent;
    }
    return parents;
}

long TreePssKb(int root) {
    const std::map<int, int> parents = ParentsOfAll();
    long total = 0;
    for (const auto& [pid, parent] : parents) {
        for (int up = pid; up > 1;) {
            if (up == root) {
                total += PssKb(pid);
                break;
            }
            const auto found = parents.find(up);
            up = found == parents.end() ? 0 : found->second;
        }
    }
    return total;
}

// Reports "loaded", lets the page settle for a moment, reports the tree's memory and ends.
void ReportLoadedThenMemory() {
    std::printf("loaded\n");
    std::fflush(stdout);
    QTimer::singleShot(1000, [] {
        std::printf("pss %ld\n", TreePssKb(getpid()));
        std::fflush(stdout);
        std::_Exit(0);
    });
}

int RunChatWindow(int argc, char** argv, const char* directory) {
    tavelo::PrepareWebEngineEnvironment();
    QApplication app(argc, argv);
    tavelo::OverrideRunDirectory(directory);
    tavelo::CreateAppState();
    tavelo::RegisterExitRoutine();
    auto* window = new tavelo::MainWindow;
    QObject::connect(window->chatView(), &QWebEngineView::loadFinished,
                     [](bool) { ReportLoadedThenMemory(); });
    window->show();
    return QApplication::exec();
}

int RunBareWindow(int argc, char** argv, const char* directory) {
    tavelo::PrepareWebEngineEnvironment();
    QApplication app(argc, argv);
    QWebEngineView view;
    view.resize(567, 430);
    QObject::connect(&view, &QWebEngineView::loadFinished, [](bool) { ReportLoadedThenMemory(); });
    view.load(QUrl::fromLocalFile(QDir(directory).filePath("ct7.html")));
    view.show();
    return QApplication::exec();
}

struct Sample {
    double loadMs = 0;
    long pssKb = 0;
};

bool RunOnce(const QString& self, const QString& kind, const QString& directory, Sample& sample) {
    QProcess child;
    child.setProcessChannelMode(QProcess::SeparateChannels);
    child.setStandardErrorFile(QProcess::nullDevice());
    QElapsedTimer clock;
    clock.start();
    child.start(self, {"--child", kind, directory});
    QByteArray output;
    while (!output.contains("loaded\n")) {
        if (!child.waitForReadyRead(60000)) {
            return false;
        }
        output += child.readAllStandardOutput();
    }
    sample.loadMs = static_cast<double>(clock.nsecsElapsed()) / 1e6;
    while (!output.contains("pss ")) {
        if (!child.waitForReadyRead(60000)) {
            return false;
        }
        output += child.readAllStandardOutput();
    }
    child.waitForFinished(60000);
    output += child.readAllStandardOutput();
    sample.pssKb = output.mid(output.indexOf("pss ") + 4).trimmed().toLong();
    return true;
}

template <typename T>
T Median(std::vector<T> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

int RunDriver(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const int rounds = argc > 1 ? std::max(1, std::atoi(argv[1])) : 7;
    QTemporaryDir bareDirectory;
    // The bare window loads the same bytes from a file of its own.
    {
        std::ofstream page(QDir(bareDirectory.path()).filePath("ct7.html").toStdString(),
                           std::ios::binary);
        const std::string_view bytes = tavelo::ChatPageBytes();
        page.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    }
    std::vector<double> chatMs;
    std::vector<double> bareMs;
    std::vector<long> chatKb;
    std::vector<long> bareKb;
    const QString self = QCoreApplication::applicationFilePath();
    for (int round = 0; round < rounds; ++round) {
        QTemporaryDir chatDirectory;  // a first start each time: the page file is written
        Sample chat;
        Sample bare;
        if (!RunOnce(self, "chat", chatDirectory.path(), chat) ||
            !RunOnce(self, "bare", bareDirectory.path(), bare)) {
            std::fprintf(stderr, "a window did not load its page\n");
            return 1;
        }
        // The chat window's directory holds a read-only page file now; make it removable.
        std::filesystem::permissions(QDir(chatDirectory.path()).filePath("ct7.html").toStdString(),
                                     std::filesystem::perms::owner_write,
                                     std::filesystem::perm_options::add);
        chatMs.push_back(chat.loadMs);
        bareMs.push_back(bare.loadMs);
        chatKb.push_back(chat.pssKb);
        bareKb.push_back(bare.pssKb);
        std::printf("round %d: chat window %.0f ms %ld kB, bare window %.0f ms %ld kB\n", round + 1,
                    chat.loadMs, chat.pssKb, bare.loadMs, bare.pssKb);
    }
    const double chatLoad = Median(chatMs);
    const double bareLoad = Median(bareMs);
    const long chatPss = Median(chatKb);
    const long barePss = Median(bareKb);
    std::printf("\nmedians of %d rounds\n", rounds);
    std::printf(
        "start to page loaded: chat window %.0f ms, bare window %.0f ms, ratio %.2f"
        " (target at most 1.25)\n",
        chatLoad, bareLoad, chatLoad / bareLoad);
    std::printf(
        "memory after load (PSS of the process tree): chat window %ld kB, bare window "
        "%ld kB, ratio %.2f (target at most 1.10)\n",
        chatPss, barePss, static_cast<double>(chatPss) / static_cast<double>(barePss));
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc == 4 && std::string(argv[1]) == "--child") {
        const std::string kind = argv[2];
        return kind == "chat" ? RunChatWindow(argc, argv, argv[3])
                              : RunBareWindow(argc, argv, argv[3]);
    }
    return RunDriver(argc, argv);
}
