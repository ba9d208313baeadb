#pragma once
// The Measure page: fourteen tool buttons under four group captions. The page
// holds the current tool, the kind the next new measurement gets.

#include <QWidget>

#include <array>

#include "app/pages/measure/tool_table.h"
#include "measure/hit_test.h"
#include "measure/language.h"
#include "measure/measure_item.h"

class QLabel;

namespace orv {

class PageHost;
class ToolButton;

class MeasurePage : public QWidget {
    Q_OBJECT

public:
    // Initialises at once: the language from the locale, the buttons with their
    // faces and tooltips, an empty list and tool 2 (not yet shown: ToolSelect).
    explicit MeasurePage(QWidget *parent = nullptr, const LocaleSource &locale = LocaleSource::FromPlatform());
    ~MeasurePage() override;

    // Set by the main window right after it created the page.
    void SetOwner(PageHost *owner) { owner_ = owner; }
    PageHost *owner() const { return owner_; }
    Language language() const { return lang_; }

    // The kind of the next new measurement (0: none).
    int currentTool() const { return currentTool_; }
    void setCurrentTool(int kind) { currentTool_ = kind; }

    // Shows the current tool: its button checked and focused. No tool selects
    // the first button (and tool 2); a kind without a button shows the first
    // button and keeps the kind.
    void ToolSelect();
    // All fourteen buttons together; without an image no tool can be chosen.
    void EnableToolButtons(bool enable);

    // What part of the selected measurement lies under an image point; no
    // selection, no hit.
    MeasureHit HitTestMeasure(const MeasureItem *selected, QPoint imagePoint) const
    {
        return selected ? orv::HitTestMeasure(*selected, imagePoint) : MeasureHit{};
    }

    // The button of control id 1011 to 1024, nullptr for any other id.
    ToolButton *button(int controlId) const;
    const std::array<ToolButton *, kToolCount> &buttons() const { return buttons_; }
    QLabel *groupCaption(ToolGroup group) const { return captions_[static_cast<int>(group)]; }

signals:
    // A button was clicked and the current tool changed to kind.
    void toolChosen(int kind);

protected:
    // Keys have no effect on the page (no button is pressed by the keyboard).
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void BuildControls();
    void OnToolClicked(int index);

    PageHost *owner_ = nullptr;
    Language lang_ = Language::Japanese;
    int currentTool_ = KindDistance2Points;
    std::array<ToolButton *, kToolCount> buttons_{};
    std::array<QLabel *, 4> captions_{};
};

}  // namespace orv
