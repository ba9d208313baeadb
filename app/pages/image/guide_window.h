#pragma once
// The reference cross shown over the live picture: a plain window whose
// shape (a mask) is two rounded bars crossing at its centre, filled with the
// guide colour.

#include <QColor>
#include <QRegion>
#include <QWidget>

namespace orv {

class GuideWindow : public QWidget {
    Q_OBJECT

public:
    static constexpr QSize kSize{640, 480};

    explicit GuideWindow(QWidget *parent = nullptr);

    QColor colour() const { return colour_; }
    void setColour(const QColor &colour);
    int thickness() const { return thickness_; }
    // Sets the bar thickness (1 to 5; others are brought into that range)
    // and reshapes the window.
    void setThickness(int thickness);

    // The cross for a thickness inside a w x h window: bars a = t + 1 pixels
    // wide with a x a rounded corners, ending a pixels inside the edges.
    static QRegion CrossRegion(int thickness, QSize size);

protected:
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    void UpdateShape();

    QColor colour_{160, 180, 220};
    int thickness_ = 1;
};

}  // namespace orv
