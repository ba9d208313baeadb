#pragma once
// The option page's sample box: a two-point line and "Sample TEXT" in the
// attributes the page shows.

#include <QFrame>

#include <functional>

#include "calib/draw_attribute.h"

namespace orv {

class AttributeSample : public QFrame {
    Q_OBJECT

public:
    // attributes gives the page's current attributes at each paint.
    explicit AttributeSample(std::function<const DrawAttribute &()> attributes, QWidget *parent = nullptr);

    // The sample as it is painted, without the border.
    QImage Render() const;

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    std::function<const DrawAttribute &()> attributes_;
};

}  // namespace orv
