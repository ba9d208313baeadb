#pragma once
// "From Ruler": finds the ticks of a ruler on the still (anywhere, or along a
// line typed or dragged over the preview), shows them drawn over the image
// with the fitted pitch, and offers the result for the calibration. The
// length of one division and its unit are typed here.

#include <QDialog>
#include <QImage>
#include <QLineF>

#include <memory>
#include <optional>
#include <string>

#include "calib/ruler_result.h"
#include "measure/language.h"

class QComboBox;
class QDialogButtonBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace orv {

class UiPrompter;

struct RulerDialogControls {
    QLabel *preview = nullptr;
    QLineEdit *spacing = nullptr;
    QComboBox *unit = nullptr;
    QLineEdit *line = nullptr;
    QPushButton *find = nullptr;
    QLabel *result = nullptr;
    QDialogButtonBox *buttons = nullptr;
};

class RulerDialog : public QDialog {
    Q_OBJECT

public:
    // unit: the calibration's unit, chosen first in the unit list. link: the
    // Scale page's link, for saying which scale Accept sets.
    RulerDialog(const QImage &image, Language lang, const std::string &unit, int link,
                std::shared_ptr<UiPrompter> prompter, QWidget *parent = nullptr);
    ~RulerDialog() override;

    // Runs the finder along the typed line (none: the whole image); a ruler
    // not found is said through the prompter.
    void Find();

    const RulerResult &rulerResult() const { return result_; }
    // The typed length of one division; 0 when it does not read as one.
    double spacing() const;
    std::string unitText() const;
    const RulerDialogControls &controls() const { return ui_; }
    // The still with the detected ticks drawn over it, as the preview shows it.
    const QImage &overlay() const { return overlay_; }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void Build();
    void ShowResult();
    void ShowPreview();
    void UpdateAcceptable();
    std::optional<QLineF> TypedLine() const;

    QImage image_;
    Language lang_;
    int link_;
    std::shared_ptr<UiPrompter> prompter_;
    RulerDialogControls ui_;
    RulerResult result_;
    QImage overlay_;
    double previewScale_ = 1.0;
    std::optional<QLineF> drag_;
};

}  // namespace orv
