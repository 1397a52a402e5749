#include "answer/AnswerLookup.h"

#include <array>
#include <cstdlib>

#include "answer/BotReply.h"
#include "answer/HttpRequest.h"
#include "answer/TextCodecs.h"
#include "json/JsonDocument.h"

namespace tavelo {
namespace {

constexpr std::string_view kDefaultService = "https://quark.sm.cn";
constexpr std::string_view kPathAndQuery =
    "/quark/1/ai?format=json&uc_param_str=dnntnwvepffrgibijbprsvdsdicheicpniwiutmiud"
    "&session_id=a3c95f02-4b18-4e6d-9c27-5d80f6b3e1c4&q=";

// Where the answer may stand in the reply, tried in this order.
constexpr std::array<std::string_view, 4> kAnswerPaths = {
    "data[0].value.answer",
    "data[0].value.desc",
    "data[0].value.list[0].desc",
    "data[0].guide",
};

Text ServiceSchemeAndHost() {
    const char* configured = std::getenv("TAVELO_ANSWER_URL");
    std::string_view service =
        configured != nullptr && *configured != '\0' ? configured : kDefaultService;
    while (service.ends_with('/')) {
        service.remove_suffix(1);
    }
    return Text(service);
}

Text QueryUrl(std::string_view question) {
    return ServiceSchemeAndHost() + Text(kPathAndQuery) + UrlEncode(question) + "&";
}

}  // namespace

Text LookupAnswer(std::string_view question) {
    JsonDocument document;
    // A reply that is not JSON leaves the document empty: every path then reads as empty.
    document.Parse(HttpRequestText(QueryUrl(CutAtZero(question))));
    Text answer;
    for (std::string_view path : kAnswerPaths) {
        answer = document.GetText(path);
        if (!answer.empty()) {
            break;
        }
    }
    return BotReply(answer);
}

void AnswerWorker(std::shared_ptr<AnswerSlot> slot, Text question) {
    Text reply = LookupAnswer(question);
    if (slot != nullptr) {
        slot->Publish(std::move(reply));
    }
}

}  // namespace tavelo
