#pragma once
// The Option page's uncertainty group: whether the results show the expanded
// uncertainty, and the standard uncertainties of a click and of the two
// scales' pixel counts, which every value's uncertainty is worked out from.

#include <QWidget>

#include "measure/language.h"

class QCheckBox;
class QDoubleSpinBox;
class QLabel;

namespace orv {

class MeasureDocument;

class UncertaintyOptions : public QWidget {
    Q_OBJECT

public:
    UncertaintyOptions(MeasureDocument &doc, Language lang, QWidget *parent = nullptr);

    QCheckBox *showBox() const { return show_; }
    QDoubleSpinBox *clickBox() const { return click_; }
    QDoubleSpinBox *horizontalBox() const { return horizontal_; }
    QDoubleSpinBox *verticalBox() const { return vertical_; }

private:
    // The document's values into the boxes, without echoing them back.
    void ShowDocument();
    void Commit();

    MeasureDocument &doc_;
    QCheckBox *show_ = nullptr;
    QDoubleSpinBox *click_ = nullptr;
    QDoubleSpinBox *horizontal_ = nullptr;
    QDoubleSpinBox *vertical_ = nullptr;
};

}  // namespace orv
