// The cost of one shadow repaint for the main window (567 x 430, shadow 577 x 440), as every
// move or resize of the window does it: a fresh transparent picture and the whole drawing.
// Beside it, the floor: the fresh transparent picture alone.
#include <benchmark/benchmark.h>

#include <QImage>
#include <QObject>
#include <QVariant>

#include "decor/ShadowPicture.h"

namespace tavelo {
namespace {

constexpr int kOwnerWidth = 567;
constexpr int kOwnerHeight = 430;

QImage FreshPicture(int size) {
    QImage picture(kOwnerWidth + 2 * size, kOwnerHeight + 2 * size,
                   QImage::Format_ARGB32_Premultiplied);
    picture.fill(Qt::transparent);
    return picture;
}

void Repaint(benchmark::State& state, ColourValue colour, int size) {
    QObject shadow;
    shadow.setProperty(kShadowColorProperty, colour);
    shadow.setProperty(kShadowSizeProperty, size);
    for (auto _ : state) {
        QImage picture = FreshPicture(size);
        PaintShadow(shadow, picture);
        benchmark::DoNotOptimize(picture.constBits());
    }
}

void BM_FreshPictureOnly(benchmark::State& state) {
    for (auto _ : state) {
        QImage picture = FreshPicture(5);
        benchmark::DoNotOptimize(picture.constBits());
    }
}
BENCHMARK(BM_FreshPictureOnly);

// The program's own shadow: the 5-pixel frame picture in nine pieces.
void BM_FrameShadow(benchmark::State& state) {
    Repaint(state, 0, 5);
}
BENCHMARK(BM_FrameShadow);

// Any other width: anti-aliased rounded rings, clipped outside the owner.
void BM_RingShadowWidth7(benchmark::State& state) {
    Repaint(state, 0, 7);
}
BENCHMARK(BM_RingShadowWidth7);

}  // namespace
}  // namespace tavelo

BENCHMARK_MAIN();
