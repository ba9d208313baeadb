#pragma once
// A tool button of the Measure page: draws one of three SVG faces, normal,
// pressed (also while checked or focused: that is how the palette shows the
// current tool) or disabled.

#include <QAbstractButton>
#include <QSvgRenderer>

#include <array>

#include "app/pages/measure/tool_table.h"

namespace orv {

class ToolButton : public QAbstractButton {
    Q_OBJECT

public:
    ToolButton(const ToolInfo &tool, QWidget *parent = nullptr);

    const ToolInfo &tool() const { return tool_; }
    // The face the button shows now.
    ToolFace currentFace() const;
    // True when all three faces were found and parsed.
    bool facesValid() const;

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override { return sizeHint(); }

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    const ToolInfo &tool_;
    std::array<QSvgRenderer, 3> faces_;
};

}  // namespace orv
