// Writes the decoration pictures that the program embeds into the directory given:
//   tavelo_make_decor_pictures src/decor/pictures
#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

#include "DecorArtwork.h"
#include "IndexedPng.h"
#include "platform/PngImage.h"

namespace {

bool WriteFile(const std::string& path, const std::vector<std::uint8_t>& bytes) {
    if (bytes.empty()) {
        return false;
    }
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()),
              static_cast<std::streamsize>(bytes.size()));
    return static_cast<bool>(out);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s OUTPUT_DIRECTORY\n", argv[0]);
        return 2;
    }
    const std::string directory = argv[1];
    namespace art = tavelo::artwork;
    struct Picture {
        const char* name;
        std::vector<std::uint8_t> bytes;
    };
    const Picture pictures[] = {
        {"ShadowFrame5.png", tavelo::EncodePng(art::ShadowFrame5())},
        {"ShadowFrame10.png", tavelo::EncodePng(art::ShadowFrame10())},
        {"CloseButtonStrip.png", tavelo::EncodeIndexedPng4(art::CloseButtonStrip())},
        {"MaximizeButtonStrip.png", tavelo::EncodeIndexedPng4(art::MaximizeButtonStrip())},
        {"MinimizeButtonStrip.png", tavelo::EncodeIndexedPng4(art::MinimizeButtonStrip())},
        {"MenuButtonStrip.png", tavelo::EncodeIndexedPng4(art::MenuButtonStrip())},
    };
    for (const Picture& picture : pictures) {
        const std::string path = directory + "/" + picture.name;
        if (!WriteFile(path, picture.bytes)) {
            std::fprintf(stderr, "cannot make %s\n", path.c_str());
            return 1;
        }
    }
    return 0;
}
