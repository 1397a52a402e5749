#include "page/ChatPage.h"

#include "embedded/ChatPageFile.h"

namespace tavelo {

std::string_view ChatPageBytes() {
    return embedded::ChatPageFile();
}

}  // namespace tavelo
