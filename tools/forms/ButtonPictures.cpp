// Draws the state pictures of the chat window's two caption buttons and writes them as PNG
// files into the directory given on the command line (src/forms/pictures):
//
//   build/tools/forms/tavelo_button_pictures src/forms/pictures
//
// The pictures are committed; run this again only to change the artwork. It needs no display.
#include <cstdio>
#include <string>
#include <vector>

#include <QFile>
#include <QFont>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QPainterPath>

#include "platform/PngImage.h"

namespace {

struct ButtonLook {
    const char* fileName;
    int width;
    int height;
    QColor fill;
    QColor outline;  // invalid: none
    QColor textColour;
    const char* caption;
};

QImage Draw(const ButtonLook& look) {
    QImage image(look.width, look.height, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::TextAntialiasing);
    constexpr double kCornerRadius = 4.0;
    QPainterPath shape;
    if (look.outline.isValid()) {
        // A one-pixel line on the pixel centres of the outermost ring.
        shape.addRoundedRect(QRectF(0.5, 0.5, look.width - 1.0, look.height - 1.0), kCornerRadius,
                             kCornerRadius);
        painter.setPen(QPen(look.outline, 1.0));
    } else {
        shape.addRoundedRect(QRectF(0, 0, look.width, look.height), kCornerRadius, kCornerRadius);
        painter.setPen(Qt::NoPen);
    }
    painter.setBrush(look.fill);
    painter.drawPath(shape);

    QFont font;
    font.setFamilies({"Microsoft YaHei", "WenQuanYi Micro Hei", "Noto Sans CJK SC"});
    font.setPixelSize(12);
    font.setWeight(QFont::Normal);
    font.setHintingPreference(QFont::PreferFullHinting);
    painter.setFont(font);
    painter.setPen(look.textColour);
    painter.drawText(QRect(0, 0, look.width, look.height), Qt::AlignCenter,
                     QString::fromUtf8(look.caption));
    painter.end();
    return image.convertToFormat(QImage::Format_RGBA8888);
}

bool WritePng(const QImage& image, const std::string& path) {
    tavelo::RgbaImage rgba{image.width(), image.height(), {}};
    for (int y = 0; y < image.height(); ++y) {
        const auto* row = image.constScanLine(y);
        rgba.pixels.insert(rgba.pixels.end(), row, row + image.width() * 4);
    }
    const std::vector<std::uint8_t> png = tavelo::EncodePng(rgba);
    QFile file(QString::fromStdString(path));
    return !png.empty() && file.open(QIODevice::WriteOnly) &&
           file.write(reinterpret_cast<const char*>(png.data()), static_cast<qint64>(png.size())) ==
               static_cast<qint64>(png.size());
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s <output directory>\n", argv[0]);
        return 2;
    }
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QGuiApplication app(argc, argv);

    const QColor white(0xFF, 0xFF, 0xFF);
    const QColor black(0x00, 0x00, 0x00);
    const QColor border(0xCD, 0xCF, 0xD0);
    const ButtonLook looks[] = {
        {"SendButtonNormal.png", 62, 28, QColor(0x12, 0xB7, 0xF5), {}, white, "发送(S)"},
        {"SendButtonHover.png", 62, 28, QColor(0x47, 0xC8, 0xF8), {}, white, "发送(S)"},
        {"SendButtonPressed.png", 62, 28, QColor(0x0F, 0xA3, 0xE4), {}, white, "发送(S)"},
        {"FixedReplyButtonNormal.png", 72, 28, QColor(0xFF, 0xFF, 0xFF), border, black, "关闭(C)"},
        {"FixedReplyButtonHover.png", 72, 28, QColor(0xEF, 0xEF, 0xF0), border, black, "关闭(C)"},
        {"FixedReplyButtonPressed.png", 72, 28, QColor(0xE1, 0xE2, 0xE3), border, black, "关闭(C)"},
    };
    const std::string directory = argv[1];
    for (const ButtonLook& look : looks) {
        const std::string path = directory + "/" + look.fileName;
        if (!WritePng(Draw(look), path)) {
            std::fprintf(stderr, "cannot write %s\n", path.c_str());
            return 1;
        }
        std::printf("%s\n", path.c_str());
    }
    return 0;
}
