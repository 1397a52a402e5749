#include "answer/BotReply.h"

#include "text/TextSearch.h"

namespace tavelo {
namespace {

constexpr std::string_view kServiceName = "\xBF\xE4\xBF\xCB";                          // 夸克
constexpr std::string_view kPersonaName = "\xBF\xC9\xB0\xAE\xD0\xA1\xC2\xDC\xC0\xF2";  // 可爱小萝莉
constexpr std::string_view kFallback =
    "\xCE\xD2\xB2\xBB\xD6\xAA\xB5\xC0\xC5\xB6\xA3\xA1";  // 我不知道哦！
constexpr std::string_view kFullStop = "\xA1\xA3";       // 。
constexpr std::string_view kEllipsis = "\xA1\xAD";       // …
constexpr std::size_t kLengthLimit = 200;

// The length of the longest start of `text` that is at most `limit` bytes long and ends
// where a character ends.
std::size_t WholeCharactersWithin(std::string_view text, std::size_t limit) {
    std::size_t end = 0;
    while (end < text.size() && end + CharLengthAt(text, end) <= limit) {
        end += CharLengthAt(text, end);
    }
    return end;
}

Text CutLongReply(std::string_view reply) {
    if (reply.size() <= kLengthLimit) {
        return Text(reply);
    }
    std::string_view kept = reply.substr(0, kLengthLimit);
    const std::size_t fullStop = FindLastText(kept, kFullStop);
    if (fullStop != kNotFound && fullStop > 0) {
        kept = kept.substr(0, fullStop);
    } else {
        // Half a character would show as garbage before the ellipsis.
        kept = kept.substr(0, WholeCharactersWithin(reply, kLengthLimit));
    }
    return Text(kept) + Text(kEllipsis);
}

}  // namespace

Text BotReply(std::string_view answer) {
    if (answer.empty()) {
        return Text(kFallback);
    }
    return CutLongReply(ReplaceAll(answer, kServiceName, kPersonaName));
}

}  // namespace tavelo
