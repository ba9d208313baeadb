#include "app/pages/measure/measure_page.h"

#include <QButtonGroup>
#include <QEvent>
#include <QGridLayout>
#include <QLabel>

#include <algorithm>

#include "app/pages/measure/tool_button.h"

namespace orv {

MeasurePage::MeasurePage(QWidget *parent, const LocaleSource &locale) :
    QWidget(parent),
    lang_(PageLanguage(locale))
{
    setObjectName(QStringLiteral("measurePage"));
    BuildControls();
    currentTool_ = KindDistance2Points;
}

MeasurePage::~MeasurePage() = default;

void MeasurePage::BuildControls()
{
    auto *grid = new QGridLayout(this);
    grid->setContentsMargins(4, 4, 4, 4);
    grid->setHorizontalSpacing(4);
    grid->setVerticalSpacing(4);

    // Captions sit at the left of the first row of their group.
    constexpr std::array<std::pair<ToolGroup, int>, 4> captionRows{
        {{ToolGroup::Distance, 0}, {ToolGroup::Area, 2}, {ToolGroup::Angle, 3}, {ToolGroup::Others, 4}}};
    constexpr std::array<const char *, 4> captionNames{"toolGroupDistance", "toolGroupArea", "toolGroupAngle",
                                                       "toolGroupOthers"};
    for (const auto &[group, row] : captionRows) {
        const int g = static_cast<int>(group);
        auto *caption = new QLabel(QString::fromUtf8(ToolGroupCaption(group, lang_)), this);
        caption->setObjectName(QLatin1String(captionNames[g]));
        caption->setAlignment(Qt::AlignLeft | Qt::AlignTop);
        grid->addWidget(caption, row, 0, Qt::AlignLeft | Qt::AlignTop);
        captions_[g] = caption;
    }

    auto *group = new QButtonGroup(this);
    group->setExclusive(true);
    const auto &table = ToolTable();
    for (int i = 0; i < kToolCount; ++i) {
        const ToolInfo &tool = table[i];
        auto *b = new ToolButton(tool, this);
        b->setObjectName(QStringLiteral("tool_%1").arg(QLatin1String(tool.art)));
        b->setToolTip(QString::fromUtf8(ToolTooltip(tool, lang_)));
        b->setAccessibleName(QString::fromUtf8(tool.label));
        b->installEventFilter(this);
        group->addButton(b, tool.controlId);
        grid->addWidget(b, tool.row, tool.column + 1);
        connect(b, &QAbstractButton::clicked, this, [this, i] { OnToolClicked(i); });
        buttons_[i] = b;
    }
    grid->setColumnStretch(4, 1);
    grid->setRowStretch(5, 1);
    installEventFilter(this);
}

void MeasurePage::OnToolClicked(int index)
{
    currentTool_ = ToolTable()[index].kind;
    emit toolChosen(currentTool_);
}

void MeasurePage::ToolSelect()
{
    int index = ToolIndexForKind(currentTool_);
    if (index < 0) {
        index = 0;
        currentTool_ = ToolTable()[0].kind;
    }
    ToolButton *b = buttons_[index];
    b->setChecked(true);
    // Focus only on a shown page: a hidden page must not pull the focus away.
    // Nor while a button is held: losing the focus would cancel its click.
    const bool held = std::any_of(buttons_.begin(), buttons_.end(), [](ToolButton *t) { return t->isDown(); });
    if (b->isVisible() && b->isEnabled() && !held)
        b->setFocus(Qt::OtherFocusReason);
    b->update();
}

void MeasurePage::EnableToolButtons(bool enable)
{
    for (ToolButton *b : buttons_)
        b->setEnabled(enable);
}

ToolButton *MeasurePage::button(int controlId) const
{
    for (ToolButton *b : buttons_) {
        if (b->tool().controlId == controlId)
            return b;
    }
    return nullptr;
}

bool MeasurePage::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::KeyPress || event->type() == QEvent::KeyRelease)
        return true;
    return QWidget::eventFilter(watched, event);
}

}  // namespace orv
