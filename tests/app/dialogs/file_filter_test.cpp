#include "app/dialogs/file_filter.h"

#include <gtest/gtest.h>

namespace orv {
namespace {

TEST(FileFilter, PatternsAreShownOnceInQtForm)
{
    const struct {
        const char *list;
        const char *qt;
    } cases[] = {
        {"CSV Files (*.csv)|*.csv|All Files(*.*)|*.*||", "CSV Files (*.csv);;All Files (*)"},
        // The name's own comma list gives way to the real patterns.
        {"Jpeg Files (*.jpeg,*.jpg)|*.jpeg;*.jpg||", "Jpeg Files (*.jpeg *.jpg)"},
        // A name without patterns gets them appended.
        {"Pictures|*.png; *.gif||", "Pictures (*.png *.gif)"},
        // Parentheses inside the name, not at its end, stay.
        {"Scale (HV) Files|*.sst||", "Scale (HV) Files (*.sst)"},
        // No closing "||", and no pattern at all.
        {"Any|", "Any (*)"},
        {"", ""},
    };
    for (const auto &c : cases)
        EXPECT_EQ(QtFileFilter(QString::fromUtf8(c.list)), QString::fromUtf8(c.qt)) << c.list;
}

}  // namespace
}  // namespace orv
