// Typed texts cut to the record's size.
#include <gtest/gtest.h>

#include "app/interaction/interaction_ops.h"

namespace orv {
namespace {

TEST(CutToRecordText, NeverSplitsACharacter)
{
    EXPECT_EQ(interaction::CutToRecordText(QString(300, QLatin1Char('a'))).size(), 255u);
    EXPECT_EQ(interaction::CutToRecordText(QStringLiteral("short")), "short");
    // 85 three-byte characters fill 255 bytes exactly; one more is dropped whole.
    const QString wide(86, QChar(0x8A08));
    const std::string cut = interaction::CutToRecordText(wide);
    EXPECT_EQ(cut.size(), 255u);
    EXPECT_EQ(QString::fromStdString(cut), QString(85, QChar(0x8A08)));
    const std::string shifted = interaction::CutToRecordText(QStringLiteral("a") + wide);
    EXPECT_EQ(shifted.size(), 253u);
}

}  // namespace
}  // namespace orv
