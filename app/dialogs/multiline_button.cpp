#include "app/dialogs/multiline_button.h"

#include <QEvent>
#include <QStyle>
#include <QStyleOptionButton>

#include <algorithm>

namespace orv {

QString WrapCaption(const QString &text, const QFontMetrics &fm, int width)
{
    QStringList lines;
    QString line;
    for (const QString &word : text.split(QLatin1Char(' '), Qt::SkipEmptyParts)) {
        const QString longer = line.isEmpty() ? word : line + QLatin1Char(' ') + word;
        if (line.isEmpty() || fm.horizontalAdvance(longer) <= width) {
            line = longer;
        } else {
            lines << line;
            line = word;
        }
    }
    if (!line.isEmpty())
        lines << line;
    return lines.join(QLatin1Char('\n'));
}

MultiLineButton::MultiLineButton(const QString &caption, QWidget *parent) :
    QPushButton(caption, parent),
    caption_(caption)
{
}

void MultiLineButton::setCaption(const QString &caption)
{
    caption_ = caption;
    Rewrap();
    updateGeometry();
}

int MultiLineButton::TextRoom(int buttonWidth) const
{
    QStyleOptionButton opt;
    initStyleOption(&opt);
    opt.rect = QRect(0, 0, buttonWidth, height());
    return style()->subElementRect(QStyle::SE_PushButtonContents, &opt, this).width();
}

QSize MultiLineButton::ButtonSizeFor(const QString &text) const
{
    QStyleOptionButton opt;
    initStyleOption(&opt);
    opt.text = text;
    const QSize textSize = fontMetrics().size(Qt::TextShowMnemonic, text);
    return style()->sizeFromContents(QStyle::CT_PushButton, &opt, textSize, this);
}

QSize MultiLineButton::sizeHint() const
{
    // On one line when there is room for it; the layout may make it narrower,
    // so it is always as tall as the wrapped lines need.
    return ButtonSizeFor(caption_).expandedTo(minimumSizeHint());
}

QSize MultiLineButton::minimumSizeHint() const
{
    // As narrow as the widest word, as tall as the lines that then takes.
    int widestWord = 0;
    for (const QString &word : caption_.split(QLatin1Char(' '), Qt::SkipEmptyParts))
        widestWord = std::max(widestWord, fontMetrics().horizontalAdvance(word));
    const QString wrapped = WrapCaption(caption_, fontMetrics(), widestWord);
    QStyleOptionButton opt;
    initStyleOption(&opt);
    const QSize textSize = fontMetrics().size(Qt::TextShowMnemonic, wrapped);
    // Frame and padding only: the style's minimum widths do not apply here.
    const int frame = 2 * style()->pixelMetric(QStyle::PM_DefaultFrameWidth, &opt, this);
    const int margin = 2 * style()->pixelMetric(QStyle::PM_ButtonMargin, &opt, this);
    return {textSize.width() + frame + margin, ButtonSizeFor(wrapped).height()};
}

void MultiLineButton::Rewrap()
{
    const QString wrapped = WrapCaption(caption_, fontMetrics(), TextRoom(width()));
    if (wrapped != text())
        setText(wrapped);
}

void MultiLineButton::resizeEvent(QResizeEvent *event)
{
    QPushButton::resizeEvent(event);
    Rewrap();
}

void MultiLineButton::changeEvent(QEvent *event)
{
    QPushButton::changeEvent(event);
    if (event->type() == QEvent::FontChange || event->type() == QEvent::StyleChange) {
        Rewrap();
        updateGeometry();
    }
}

}  // namespace orv
