#include "CompositorProcess.h"

#include <QTest>

#include "decor/CompositingManager.h"

namespace tavelo::test {

namespace {

constexpr int kTimeoutMs = 30000;

bool SeenRunning() {
    return CompositingManager::Instance().IsRunning();
}

}  // namespace

CompositorProcess::CompositorProcess() {
    if (SeenRunning()) {
        return;
    }
    process_ = std::make_unique<QProcess>();
    process_->setProcessChannelMode(QProcess::ForwardedErrorChannel);
    process_->setStandardOutputFile(QProcess::nullDevice());
    // Without a configuration file of its own picom would read the system's, which may add
    // shadows and fading of its own.
    process_->start("picom", {"--backend", "xrender", "--config", "/dev/null"});
    if (!process_->waitForStarted(kTimeoutMs)) {
        process_.reset();
        return;
    }
    (void)QTest::qWaitFor(SeenRunning, kTimeoutMs);  // Running() tells the caller
}

CompositorProcess::~CompositorProcess() {
    Stop();
}

bool CompositorProcess::Running() const {
    return SeenRunning();
}

bool CompositorProcess::Stop() {
    if (!process_) {
        return false;
    }
    process_->terminate();
    if (!process_->waitForFinished(kTimeoutMs)) {
        process_->kill();
        process_->waitForFinished(kTimeoutMs);
    }
    process_.reset();
    return QTest::qWaitFor([] { return !SeenRunning(); }, kTimeoutMs);
}

}  // namespace tavelo::test
