#pragma once
// Pictures for the view's cache tests: noise, pixel comparison and the full
// rebuild every cached composite is held against.

#include <gtest/gtest.h>

#include <QImage>
#include <QPainter>
#include <QRegion>

#include <memory>
#include <random>
#include <vector>

#include "calib/scale_bars.h"
#include "measure/render/draw_measures.h"
#include "view/view_composer.h"
#include "view/view_layer.h"

namespace orv::test {

inline QImage Noise(QSize size, unsigned seed)
{
    QImage img(size, QImage::Format_RGB32);
    std::mt19937 rng(seed);
    for (int y = 0; y < size.height(); ++y) {
        auto *line = reinterpret_cast<QRgb *>(img.scanLine(y));
        for (int x = 0; x < size.width(); ++x)
            line[x] =
                qRgb(static_cast<int>(rng() & 0xff), static_cast<int>(rng() & 0xff), static_cast<int>(rng() & 0xff));
    }
    return img;
}

inline qint64 Area(const QRegion &r)
{
    qint64 area = 0;
    for (const QRect &rect : r)
        area += static_cast<qint64>(rect.width()) * rect.height();
    return area;
}

// Equal images, or where they differ.
inline testing::AssertionResult SamePixels(const QImage &a, const QImage &b)
{
    if (a.size() != b.size() || a.format() != b.format())
        return testing::AssertionFailure() << "size " << a.width() << "x" << a.height() << " format " << a.format()
                                           << " against " << b.width() << "x" << b.height() << " format " << b.format();
    QRect diff;
    int count = 0;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x)
            if (a.pixel(x, y) != b.pixel(x, y)) {
                diff |= QRect(x, y, 1, 1);
                ++count;
            }
    if (count == 0)
        return testing::AssertionSuccess();
    return testing::AssertionFailure() << count << " pixels differ within " << diff.x() << "," << diff.y() << " "
                                       << diff.width() << "x" << diff.height();
}

// A listed-like item of any kind, as drawn while placed or dragged.
inline std::unique_ptr<MeasureItem> Item(MeasureKind kind, std::vector<QPoint> points, int lineWidth)
{
    auto item = NewMeasureItem();
    item->kind = kind;
    for (QPoint p : points)
        AppendPoint(*item, p);
    item->lineWidth = lineWidth;
    item->lineColor = MakeColorRef(200, 0, 0);
    item->fontSize = 16;
    item->text = "Text item";
    item->labelBox = {60, 60, 140, 84};
    return item;
}

// A full rebuild as before the layer existed: bars, then the whole list and
// the edit item with one painter.
inline QImage FullRebuild(const LayerInputs &in, MeasureItem *edit)
{
    return ViewComposer::BuildComposite(in.source, [&](QImage &c) {
        if (in.scale && in.calibration)
            DrawScaleBars(c, *in.scale, *in.calibration, in.calibrationPage ? kCalibrationPageIndex : 0);
        DrawAllMeasures(c, *in.list, edit, in.measureOptions);
    });
}

// The same, drawn from copies of the items as they are now: drawing places
// labels and derives geometry, and a composite is compared with a full
// rebuild of the state it was drawn from.
inline QImage FullRebuildOfCopy(const LayerInputs &in, const MeasureItem *edit)
{
    MeasureList copy;
    LayerInputs c = in;
    c.list = &copy;
    for (const auto &item : *in.list) {
        auto dup = std::make_unique<MeasureItem>(*item);
        if (in.measureOptions.selectedItem == item.get())
            c.measureOptions.selectedItem = dup.get();
        copy.Append(std::move(dup));
    }
    std::unique_ptr<MeasureItem> e = edit ? std::make_unique<MeasureItem>(*edit) : nullptr;
    if (edit && in.measureOptions.selectedItem == edit)
        c.measureOptions.selectedItem = e.get();
    return FullRebuild(c, e.get());
}

}  // namespace orv::test
