#pragma once
// Sessions as the recovery tests write and read them: a small image and a
// number of distances on it.

#include <QColor>
#include <QImage>

#include "export/measurement_file.h"
#include "measure/measure_item.h"

namespace orv::test {

inline QImage FilledImage(QColor fill = Qt::gray)
{
    QImage image(64, 48, QImage::Format_RGB32);
    image.fill(fill);
    return image;
}

// The image is shared, as a document's copies share it: the same image to a writer.
inline MeasurementSession SessionOn(const QImage &image, int items)
{
    MeasurementSession s;
    s.image = image;
    for (int i = 0; i < items; ++i) {
        auto item = NewMeasureItem();
        item->kind = KindDistance2Points;
        AppendPoint(*item, {2 + i, 3});
        AppendPoint(*item, {40, 30 - i});
        item->number = i + 1;
        s.items.Append(std::move(item));
    }
    return s;
}

inline MeasurementSession SessionWith(int items, QColor fill = Qt::gray)
{
    return SessionOn(FilledImage(fill), items);
}

}  // namespace orv::test
