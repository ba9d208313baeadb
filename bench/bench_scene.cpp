#include "bench_scene.h"

#include <QPainter>

#include <array>
#include <random>

#include "measure/render/draw_measures.h"
#include "measure/render/label_layout.h"
#include "measure/values.h"

namespace orv::bench {
namespace {

constexpr std::array<MeasureKind, 14> kKinds = {
    KindDistance2Points, KindDistanceArc,  KindDistanceCircles, KindPerpendicular, KindBrokenLine,
    KindParallel,        KindAreaPolygon,  KindAreaCircle,      KindAngle3Points,  KindAngle2Lines,
    KindText,            KindStandardLine, KindStandardParallel, KindAngle3PointsType2};

int PointsFor(MeasureKind kind, std::mt19937 &rng)
{
    const int n = PointCountForKind(kind);
    if (n > 0)
        return n;
    return std::uniform_int_distribution<int>(3, 6)(rng);
}

// A textured still: gradients and a little noise, so scaling has work to do.
QImage MakeStill(int width, int height)
{
    QImage img(width, height, QImage::Format_RGB32);
    std::mt19937 rng(7);
    std::uniform_int_distribution<int> noise(0, 24);
    for (int y = 0; y < height; ++y) {
        auto *line = reinterpret_cast<QRgb *>(img.scanLine(y));
        for (int x = 0; x < width; ++x)
            line[x] = qRgb((x * 255 / width + noise(rng)) & 0xff, (y * 255 / height + noise(rng)) & 0xff,
                           ((x + y) / 16 + noise(rng)) & 0xff);
    }
    return img;
}

std::unique_ptr<MeasureItem> MakeItem(MeasureKind kind, QPoint around, int spread, std::mt19937 &rng)
{
    auto item = NewMeasureItem();
    item->kind = kind;
    std::uniform_int_distribution<int> offset(-spread, spread);
    const int n = PointsFor(kind, rng);
    for (int i = 0; i < n; ++i)
        AppendPoint(*item, around + QPoint(offset(rng), offset(rng)));
    if (kind == KindText)
        item->text = "Sample text";
    item->lineWidth = std::uniform_int_distribution<int>(1, 3)(rng);
    item->lineColor = MakeColorRef(255, static_cast<std::uint8_t>(rng() % 200), 0);
    item->fontSize = std::uniform_int_distribution<int>(12, 20)(rng);
    item->fontColor = MakeColorRef(0, 0, 255);
    item->backColor = MakeColorRef(255, 255, 255);
    item->backMode = rng() % 2;
    return item;
}

}  // namespace

LayerInputs Scene::Inputs()
{
    LayerInputs in;
    in.source = source;
    in.list = &list;
    in.scale = scale;
    in.calibration = calibration;
    in.calibrationPage = false;
    in.measureOptions.labelMode = LabelMode::Details;
    in.measureOptions.suffixLanguage = Language::English;
    in.measureOptions.selectedItem = edit.get();
    in.measureOptions.selectionShown = true;
    return in;
}

std::unique_ptr<Scene> MakeScene(int width, int height, int count)
{
    auto scene = std::make_unique<Scene>();
    scene->source = MakeStill(width, height);
    scene->calibration = ScaleSetting::Defaults(Language::English);
    scene->scale = StandardScale::Defaults(Language::English, scene->calibration);
    scene->scale.show = 1;

    std::mt19937 rng(42);
    std::uniform_int_distribution<int> px(150, width - 150);
    std::uniform_int_distribution<int> py(150, height - 150);
    std::uniform_int_distribution<int> spread(30, 250);
    for (int i = 0; i < count; ++i) {
        const MeasureKind kind = kKinds[static_cast<std::size_t>(i) % kKinds.size()];
        auto item = MakeItem(kind, QPoint(px(rng), py(rng)), spread(rng), rng);
        MeasureItem *raw = item.get();
        raw->number = scene->list.Append(std::move(item));
    }
    // A polygon in the part the view shows at zoom 100 is the one dragged.
    auto dragged = MakeItem(KindAreaPolygon, QPoint(800, 500), 150, rng);
    MeasureItem *source = dragged.get();
    source->number = scene->list.Append(std::move(dragged));

    // Labels placed as the view places them (the point labels take their
    // boxes), then valued and listed.
    for (const auto &item : scene->list)
        ApplyLabelLayout(*item, MeasureDrawOptions{});
    const ScaleFactors factors = scene->calibration.Factors();
    int row = 0;
    for (const auto &item : scene->list) {
        ComputeMeasureValue(*item, factors, Language::English);
        item->row = row++;
        for (SubResult &sub : item->subResults)
            sub.row = row++;
    }

    scene->edit = CloneMeasureItem(*source);
    scene->dragIndex = 1;
    scene->dragFrom = source->points[1].pos;
    return scene;
}

}  // namespace orv::bench
