#include "app/AnswerRequest.h"

#include "answer/AnswerLookup.h"
#include "answer/BotReply.h"
#include "platform/WorkerThread.h"

namespace tavelo {

bool StartAnswerLookup(const std::shared_ptr<AnswerSlot>& slot, std::string_view question) {
    // The worker holds only its own slot reference and its copy of the question, so it may
    // outlive the send that started it, and the window too.
    const WorkerHandle worker = StartWorker(
        [slot](const std::vector<WorkerValue>& values) {
            AnswerWorker(slot, values.empty() ? Text() : values.front().bytes);
            return 0;
        },
        {}, {TextArgument(question)});
    if (worker) {
        return true;  // nobody waits on the thread: the handle is given up here
    }
    slot->Publish(BotReply({}));
    return false;
}

}  // namespace tavelo
