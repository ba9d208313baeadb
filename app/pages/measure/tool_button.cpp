#include "app/pages/measure/tool_button.h"

#include <QPainter>

namespace orv {

namespace {
constexpr QSize kFaceSize(50, 42);
}

ToolButton::ToolButton(const ToolInfo &tool, QWidget *parent) :
    QAbstractButton(parent),
    tool_(tool)
{
    for (auto face : {ToolFace::Normal, ToolFace::Pressed, ToolFace::Disabled})
        faces_[static_cast<int>(face)].load(
            QStringLiteral(":/tools/%1%2").arg(QLatin1String(tool.art), QLatin1String(ToolFaceSuffix(face))));
    setCheckable(true);
    setFocusPolicy(Qt::StrongFocus);
    setFixedSize(kFaceSize);
}

ToolFace ToolButton::currentFace() const
{
    if (!isEnabled())
        return ToolFace::Disabled;
    if (isDown() || isChecked() || hasFocus())
        return ToolFace::Pressed;
    return ToolFace::Normal;
}

bool ToolButton::facesValid() const
{
    for (const auto &face : faces_) {
        if (!face.isValid())
            return false;
    }
    return true;
}

QSize ToolButton::sizeHint() const
{
    return kFaceSize;
}

void ToolButton::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    faces_[static_cast<int>(currentFace())].render(&painter, QRectF(rect()));
}

}  // namespace orv
