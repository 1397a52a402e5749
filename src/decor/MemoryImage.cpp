#include "decor/MemoryImage.h"

#include "platform/PngImage.h"
#include "toolkit/QtImage.h"

namespace tavelo {

namespace {

// The shortest byte run worth handing to the decoder at all.
constexpr std::size_t kMinimumBytes = 5;

}  // namespace

void MemoryImage::Release() {
    image_ = QImage();
}

bool MemoryImage::Load(std::string_view bytes) {
    Release();
    if (bytes.size() < kMinimumBytes) {
        return false;
    }
    const QImage decoded = ToQImage(DecodePng(bytes));
    if (decoded.isNull()) {
        return false;
    }
    image_ = decoded.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    return !image_.isNull();
}

}  // namespace tavelo
