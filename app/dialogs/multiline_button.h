#pragma once
// A push button whose caption wraps at blanks onto as many lines as its
// width needs, as a multi-line button of a narrow control column does.

#include <QPushButton>

namespace orv {

class MultiLineButton : public QPushButton {
    Q_OBJECT

public:
    explicit MultiLineButton(const QString &caption, QWidget *parent = nullptr);

    // The caption before wrapping; setText() would set the wrapped lines.
    void setCaption(const QString &caption);
    QString caption() const { return caption_; }

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    void resizeEvent(QResizeEvent *event) override;
    void changeEvent(QEvent *event) override;

private:
    // Width the caption's lines may take at the button's width.
    int TextRoom(int buttonWidth) const;
    QSize ButtonSizeFor(const QString &text) const;
    void Rewrap();

    QString caption_;
};

// Words of text joined by blanks while a line stays within width, lines
// joined by "\n". A word wider than width gets a line of its own.
QString WrapCaption(const QString &text, const QFontMetrics &fm, int width);

}  // namespace orv
