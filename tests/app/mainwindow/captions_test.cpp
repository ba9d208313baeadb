// Every caption of the main window and its pages fits its control, in both
// languages: nothing shows as "nage Settin".
#include <QAbstractButton>
#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QStyleOptionButton>
#include <QStyleOptionGroupBox>

#include "app/pages/image/image_page.h"
#include "app/pages/measure/measure_page.h"
#include "app/pages/options/options_page.h"
#include "app/pages/scale/scale_page.h"
#include "tests/app/mainwindow/main_window_fixture.h"

namespace orv::test {
namespace {

// Room a control gives its caption, and the room the caption needs.
struct Fit {
    QRect room;
    QSize need;
};

Fit CaptionFit(QWidget *w)
{
    const QFontMetrics fm = w->fontMetrics();
    if (auto *b = qobject_cast<QPushButton *>(w)) {
        QStyleOptionButton opt;
        opt.initFrom(b);
        opt.text = b->text();
        return {b->style()->subElementRect(QStyle::SE_PushButtonContents, &opt, b),
                fm.size(Qt::TextShowMnemonic, b->text())};
    }
    if (qobject_cast<QCheckBox *>(w) || qobject_cast<QRadioButton *>(w)) {
        auto *b = static_cast<QAbstractButton *>(w);
        QStyleOptionButton opt;
        opt.initFrom(b);
        opt.text = b->text();
        const auto element =
            qobject_cast<QCheckBox *>(w) ? QStyle::SE_CheckBoxContents : QStyle::SE_RadioButtonContents;
        return {b->style()->subElementRect(element, &opt, b), fm.size(Qt::TextShowMnemonic, b->text())};
    }
    if (auto *l = qobject_cast<QLabel *>(w)) {
        const QRect room = l->contentsRect().adjusted(l->margin(), l->margin(), -l->margin(), -l->margin());
        const int flags = l->wordWrap() ? Qt::TextWordWrap : 0;
        return {room, fm.boundingRect(QRect(0, 0, room.width(), 100000), flags, l->text()).size()};
    }
    if (auto *g = qobject_cast<QGroupBox *>(w)) {
        QStyleOptionGroupBox opt;
        opt.initFrom(g);
        opt.text = g->title();
        opt.subControls = QStyle::SC_GroupBoxLabel;
        opt.textAlignment = g->alignment();
        return {g->style()->subControlRect(QStyle::CC_GroupBox, &opt, QStyle::SC_GroupBoxLabel, g),
                fm.size(Qt::TextShowMnemonic, g->title())};
    }
    return {};
}

QString CaptionOf(QWidget *w)
{
    if (auto *b = qobject_cast<QAbstractButton *>(w))
        return b->text();
    if (auto *l = qobject_cast<QLabel *>(w))
        return l->text();
    if (auto *g = qobject_cast<QGroupBox *>(w))
        return g->title();
    return {};
}

// Checks the shown captions under root; returns how many were checked.
int ExpectCaptionsFit(QWidget *root, const std::string &where)
{
    int checked = 0;
    for (QWidget *w : root->findChildren<QWidget *>()) {
        const QString caption = CaptionOf(w);
        if (caption.isEmpty() || !w->isVisibleTo(root->window()) || !w->isVisible())
            continue;
        ++checked;
        const Fit fit = CaptionFit(w);
        const std::string what = where + " " + w->objectName().toStdString() + " \"" + caption.toStdString() + "\"";
        EXPECT_GE(fit.room.width(), fit.need.width()) << what;
        EXPECT_GE(fit.room.height(), fit.need.height()) << what;
        // Nor is the control itself cut by the one holding it.
        if (QWidget *parent = w->parentWidget()) {
            EXPECT_TRUE(parent->rect().contains(w->geometry())) << what;
        }
    }
    return checked;
}

using Captions = MainWindowTest;

TEST_F(Captions, EveryCaptionOfEveryPageFitsInBothLanguages)
{
    for (const char *lang : {"ja", "en"}) {
        MainWindow &d = Make(lang, lang);
        d.show();
        Settle();
        EXPECT_GT(ExpectCaptionsFit(&d, std::string(lang) + " window"), 3);
        QWidget *pages[] = {PartsOf(d).imagePage, PartsOf(d).scalePage, PartsOf(d).measurePage, PartsOf(d).optionsPage};
        for (int tab = 0; tab < 4; ++tab) {
            d.host().SelectTab(tab);
            Settle();
            const std::string where = std::string(lang) + " page " + std::to_string(tab);
            EXPECT_GT(ExpectCaptionsFit(pages[tab], where), 0) << where;
        }
        // The wireless set takes the live-mode set's place on the image page.
        d.host().SelectTab(0);
        PartsOf(d).imagePage->SetWirelessMode(1);
        Settle();
        EXPECT_GT(ExpectCaptionsFit(PartsOf(d).imagePage, std::string(lang) + " wireless"), 0);
        mainWindow.reset();
    }
}

}  // namespace
}  // namespace orv::test
