// A picture decoded from PNG bytes held in memory, kept ready for drawing.
#pragma once

#include <QImage>
#include <string_view>

namespace tavelo {

class MemoryImage {
public:
    MemoryImage() = default;
    MemoryImage(const MemoryImage&) = delete;
    MemoryImage& operator=(const MemoryImage&) = delete;
    MemoryImage(MemoryImage&&) noexcept = default;
    MemoryImage& operator=(MemoryImage&&) noexcept = default;

    // Lets go of the picture; the object is empty afterwards.
    void Release();

    // Decodes the bytes (any PNG), replacing what was held. Fewer than 5 bytes or anything
    // that is not a whole PNG leaves the object empty and gives false.
    bool Load(std::string_view bytes);

    // Size in pixels; 0 while empty.
    int Width() const { return image_.width(); }
    int Height() const { return image_.height(); }

    // The picture in premultiplied ARGB, ready for QPainter; null while empty.
    const QImage* Handle() const { return image_.isNull() ? nullptr : &image_; }

private:
    QImage image_;
};

}  // namespace tavelo
