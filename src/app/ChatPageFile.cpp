#include "app/ChatPageFile.h"

#include "page/ChatPage.h"
#include "platform/FileSystem.h"

namespace tavelo {

namespace {

constexpr std::uint32_t kChatPageAttributes =
    kFileReadOnly | kFileHidden | kFileSystem | kFileArchive;

}  // namespace

Text ChatPagePath() {
    return RunDirectory() + "/ct7.html";
}

void WriteChatPageFile() {
    const Text path = ChatPagePath();
    // Neither result matters: a refusal means an earlier start's page is there already.
    DeleteFileRefusingReadOnly(path);
    WriteFileRefusingReadOnly(path, ChatPageBytes());
    SetFileAttributes(path, kChatPageAttributes);
}

}  // namespace tavelo
