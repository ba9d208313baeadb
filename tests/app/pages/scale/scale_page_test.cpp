// The Scale page: key filter and commits, the link, the standard scale group,
// hit tests and the drag operations.
#include "tests/app/pages/scale/scale_page_fixture.h"

namespace orv::test {
namespace {

const QString kMinimumEn = QStringLiteral("The smallest value is set to avoid errors.");

TEST_F(ScalePageTest, StartsWithTheDefaultsInEnglish)
{
    auto &p = MakePage("en");
    EXPECT_EQ(p.language(), Language::English);
    EXPECT_EQ(ui().hPixel->text(), "100");
    EXPECT_EQ(ui().unit->currentText(), "um");
    EXPECT_EQ(ui().standardUnit->currentText(), "um");
    EXPECT_EQ(ui().standardLength->text(), "200");
    EXPECT_EQ(ui().unit->itemText(1), "um");
    EXPECT_EQ(ui().sync->text(), "Sync.");
    EXPECT_TRUE(ui().async->isChecked());
    EXPECT_TRUE(ui().transparent->isChecked());
    EXPECT_FALSE(ui().show->isChecked());
    EXPECT_EQ(ui().fontSize->currentText(), "16");
    EXPECT_EQ(ui().scaleFileList->currentText(), "Default");
    EXPECT_EQ(p.horizontalBar().points.at(1).pos, QPoint(110, 10));
    EXPECT_EQ(p.verticalBar().points.at(1).pos, QPoint(10, 110));
    EXPECT_EQ(p.standardScale().position, QPoint(20, 20));
    EXPECT_EQ(p.standardScale().pixelLength, 200);
    EXPECT_EQ(p.standardScale().lineColor, 0x0000FF00u);
}

TEST_F(ScalePageTest, JapanesePageKeepsTheMicroSign)
{
    auto &p = MakePage("ja");
    EXPECT_EQ(p.language(), Language::Japanese);
    EXPECT_EQ(ui().unit->currentText(), QString::fromUtf8("\xCE\xBCm"));
    EXPECT_EQ(ui().calibGroup->title(), QString::fromUtf8("校正"));
    EXPECT_EQ(ui().scaleFileList->currentText(), QString::fromUtf8("(ﾃﾞﾌｫﾙﾄ)"));
}

TEST_F(ScalePageTest, DigitsPassOtherKeysCommitAndAreConsumed)
{
    auto &p = MakePage();
    EXPECT_FALSE(ui().saveButton->isEnabled());
    Retype(ui().hValue, "50");
    QTest::keyClick(ui().hValue, Qt::Key_5, Qt::KeypadModifier);
    QTest::keyClick(ui().hValue, Qt::Key_Period, Qt::KeypadModifier);
    QTest::keyClick(ui().hValue, Qt::Key_2);
    QTest::keyClick(ui().hValue, Qt::Key_Left);
    QTest::keyClick(ui().hValue, Qt::Key_Delete);
    QTest::keyClick(ui().hValue, Qt::Key_3);
    EXPECT_EQ(ui().hValue->text(), "505.3");
    // Typed but not committed until a non-numeric key arrives.
    EXPECT_EQ(p.scaleSetting().hValue, "100");
    EXPECT_TRUE(p.hasPendingEdit());

    QTest::keyClick(ui().hValue, Qt::Key_A);
    QTest::keyClick(ui().hValue, Qt::Key_Minus);
    EXPECT_EQ(ui().hValue->text(), "505.3");
    EXPECT_EQ(p.scaleSetting().hValue, "505.3");
    EXPECT_FALSE(p.hasPendingEdit());
    EXPECT_TRUE(ui().saveButton->isEnabled());
    EXPECT_TRUE(prompter.messages.empty());
    // 200 um under 100 px = 505.3 um.
    EXPECT_EQ(p.standardScale().pixelLength, 39);

    Retype(ui().hValue, "50");
    QTest::keyClick(ui().hValue, Qt::Key_Return);
    EXPECT_EQ(p.scaleSetting().hValue, "50");
    EXPECT_EQ(p.standardScale().pixelLength, 400);
}

TEST_F(ScalePageTest, UpAndDownInAComboAreConsumedAndCommit)
{
    auto &p = MakePage();
    Retype(ui().hValue, "7");
    const int before = ui().unit->currentIndex();
    QTest::keyClick(ui().unit, Qt::Key_Down);
    QTest::keyClick(ui().unit, Qt::Key_Up);
    EXPECT_EQ(ui().unit->currentIndex(), before);
    EXPECT_EQ(ui().unit->currentText(), "um");
    EXPECT_EQ(p.scaleSetting().hValue, "7");
}

TEST_F(ScalePageTest, MinimumValueMessageOncePerCommit)
{
    auto &p = MakePage();
    Retype(ui().hValue, "0");
    Retype(ui().vValue, "0");
    Retype(ui().standardLength, "0");
    // A click on the image commits through the hit test.
    edit().HitTest(QPoint(500, 500));
    EXPECT_EQ(prompter.messageTexts(), QStringList{kMinimumEn});
    EXPECT_EQ(ui().hValue->text(), "1");
    EXPECT_EQ(ui().vValue->text(), "1");
    EXPECT_EQ(ui().standardLength->text(), "1");
    EXPECT_EQ(p.scaleSetting().vValue, "1");

    // Nothing pending: a second hit test commits nothing and says nothing.
    edit().HitTest(QPoint(500, 500));
    EXPECT_EQ(prompter.messages.size(), 1u);

    // A fraction stays, without a message.
    Retype(ui().hValue, ".5");
    QTest::keyClick(ui().hValue, Qt::Key_Tab);
    EXPECT_EQ(p.scaleSetting().hValue, ".5");
    EXPECT_EQ(prompter.messages.size(), 1u);
}

TEST_F(ScalePageTest, MousePressOnThePageCommitsPendingTyping)
{
    auto &p = MakePage("ja");
    Retype(ui().vValue, "0");
    QTest::mouseClick(ui().hValue, Qt::LeftButton);
    EXPECT_EQ(p.scaleSetting().vValue, "1");
    EXPECT_EQ(prompter.messageTexts(), QStringList{QString::fromUtf8("エラー回避のため最低値を設定しました。")});
    // Without typing, a press commits nothing.
    QTest::mouseClick(ui().hValue, Qt::RightButton);
    EXPECT_EQ(prompter.messages.size(), 1u);
}

TEST_F(ScalePageTest, SyncCopiesTheHorizontalScaleAndLocksTheVerticalField)
{
    auto &p = MakePage();
    edit().EndHorizontalBarDrag(QPoint(10, 10), 120);
    edit().EndVerticalBarDrag(QPoint(10, 10), 80);
    Retype(ui().hValue, "50");
    Retype(ui().vValue, "30");
    QTest::keyClick(ui().vValue, Qt::Key_Enter);
    ASSERT_EQ(p.scaleSetting().vPixel, "80");

    QTest::mouseClick(ui().sync, Qt::LeftButton);
    EXPECT_EQ(p.scaleSetting().link, kLinkSync);
    EXPECT_EQ(ui().vPixel->text(), "120");
    EXPECT_EQ(ui().vValue->text(), "50");
    EXPECT_EQ(p.verticalBar().points.at(1).pos, QPoint(10, 130));
    EXPECT_FALSE(ui().vValue->isEnabled());
    EXPECT_TRUE(ui().saveButton->isEnabled());

    // Under Sync a committed horizontal length is copied.
    Retype(ui().hValue, "25");
    QTest::keyClick(ui().hValue, Qt::Key_Tab);
    EXPECT_EQ(p.scaleSetting().vValue, "25");

    // Disabling and enabling the page keeps the vertical field locked.
    p.EnableCalibControls(false);
    EXPECT_FALSE(ui().hValue->isEnabled());
    EXPECT_FALSE(ui().saveButton->isEnabled());
    p.EnableCalibControls(true);
    EXPECT_TRUE(ui().hValue->isEnabled());
    EXPECT_FALSE(ui().vValue->isEnabled());

    QTest::mouseClick(ui().async, Qt::LeftButton);
    EXPECT_EQ(p.scaleSetting().link, kLinkAsync);
    EXPECT_TRUE(ui().vValue->isEnabled());
    EXPECT_EQ(p.scaleSetting().vValue, "25");
}

TEST_F(ScalePageTest, AsyncFieldStaysDisabledWhileThePageIs)
{
    auto &p = MakePage();
    p.EnableCalibControls(false);
    EXPECT_FALSE(ui().vValue->isEnabled());
    p.EnableCalibControls(true);
    EXPECT_TRUE(ui().vValue->isEnabled());
}

TEST_F(ScalePageTest, LeavingAValueFieldCommitsIt)
{
    auto &p = MakePage();
    p.show();
    p.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&p));
    ui().hValue->setFocus();
    ASSERT_TRUE(ui().hValue->hasFocus());
    ui().hValue->setText("-3");
    ui().vValue->setFocus();
    EXPECT_EQ(p.scaleSetting().hValue, "1");
    EXPECT_EQ(ui().hValue->text(), "1");
    EXPECT_EQ(prompter.messages.size(), 1u);
    ui().vValue->setText("40");
    ui().hValue->setFocus();
    EXPECT_EQ(p.scaleSetting().vValue, "40");
    EXPECT_EQ(prompter.messages.size(), 1u);

    // Enter commits and leaves the caret where it was.
    Retype(ui().hValue, "0");
    QTest::keyClick(ui().hValue, Qt::Key_Return);
    EXPECT_TRUE(ui().hValue->hasFocus());
    EXPECT_EQ(p.scaleSetting().hValue, "1");
    EXPECT_EQ(prompter.messages.size(), 2u);
}

TEST_F(ScalePageTest, UnitChoicesRecomputeTheStandardScale)
{
    auto &p = MakePage();
    // 100 px = 100 um, standard length 1 inch = 25400 um.
    Choose(ui().standardUnit, 2);
    Retype(ui().standardLength, "1");
    QTest::keyClick(ui().standardLength, Qt::Key_Return);
    EXPECT_EQ(p.standardScale().lengthUnit, "inch");
    EXPECT_EQ(p.standardScale().pixelLength, 25400);

    // 100 px = 1 inch, standard 200 um: 0.79 pixels.
    Choose(ui().unit, 2);
    Retype(ui().hValue, "1");
    Retype(ui().standardLength, "200");
    QTest::keyClick(ui().standardLength, Qt::Key_Return);
    Choose(ui().standardUnit, 1);
    EXPECT_EQ(p.scaleSetting().unit, "inch");
    EXPECT_EQ(p.standardScale().pixelLength, 0);
    EXPECT_TRUE(ui().saveButton->isEnabled());
}

TEST_F(ScalePageTest, StandardScaleLookControls)
{
    auto &p = MakePage();
    Choose(ui().thickness, 3);
    EXPECT_EQ(p.standardScale().thickness, "4");
    Choose(ui().fontSize, 10);
    EXPECT_EQ(p.standardScale().fontSize, 16);
    Choose(ui().fontSize, 14);
    EXPECT_EQ(p.standardScale().fontSize, 30);
    EXPECT_EQ(ui().fontSize->currentText(), "30");

    QTest::mouseClick(ui().show, Qt::LeftButton);
    EXPECT_EQ(p.standardScale().show, 1);
    QTest::mouseClick(ui().transparent, Qt::LeftButton);
    EXPECT_EQ(p.standardScale().transparent, 0);

    prompter.colors.push_back(QColor(1, 2, 3));
    QTest::mouseClick(ui().lineColor, Qt::LeftButton);
    EXPECT_EQ(p.standardScale().lineColor, MakeColorRef(1, 2, 3));
    // Cancel keeps the colour.
    QTest::mouseClick(ui().fontColor, Qt::LeftButton);
    EXPECT_EQ(p.standardScale().fontColor, 0x00FF0000u);
    EXPECT_EQ(prompter.colorRequests, 2);
}

TEST_F(ScalePageTest, HitTestFindsBarEndsBodiesAndTheStandardScale)
{
    auto &p = MakePage();
    // The shared start corner belongs to neither bar.
    EXPECT_FALSE(edit().HitTest(QPoint(10, 10)));
    EXPECT_FALSE(edit().HitTest(QPoint(13, 12)));

    auto hit = edit().HitTest(QPoint(112, 12));
    EXPECT_EQ(hit.bar, &p.horizontalBar());
    EXPECT_EQ(hit.grip, GripHBarEnd);
    hit = edit().HitTest(QPoint(60, 14));
    EXPECT_EQ(hit.grip, GripHBarBody);
    EXPECT_FALSE(edit().HitTest(QPoint(60, 15)));

    hit = edit().HitTest(QPoint(9, 108));
    EXPECT_EQ(hit.bar, &p.verticalBar());
    EXPECT_EQ(hit.grip, GripVBarEnd);
    hit = edit().HitTest(QPoint(6, 60));
    EXPECT_EQ(hit.grip, GripVBarBody);

    // The standard scale answers although it is not shown.
    Choose(ui().thickness, 2);
    hit = edit().HitTest(QPoint(150, 24));
    ASSERT_TRUE(hit);
    EXPECT_EQ(hit.grip, GripStandardScale);
    EXPECT_EQ(hit.bar, &edit().standardScaleRecord());
    ASSERT_EQ(hit.bar->points.size(), 2u);
    EXPECT_EQ(hit.bar->points[0].pos, QPoint(20, 20));
    EXPECT_EQ(hit.bar->points[1].pos, QPoint(220, 20));
    EXPECT_EQ(hit.bar->lineWidth, 3);
    EXPECT_EQ(hit.bar->lineColor, 0x0000FF00u);
    EXPECT_FALSE(edit().HitTest(QPoint(226, 20)));
}

TEST_F(ScalePageTest, BarDragsWriteThePixelCounts)
{
    auto &p = MakePage();
    // While dragging, the provisional view length shows and the file name goes.
    edit().ShowBarDragLength(GripHBarEnd, 77);
    EXPECT_EQ(ui().hPixel->text(), "77");
    EXPECT_EQ(ui().scaleFileList->currentText(), "");

    edit().EndHorizontalBarDrag(QPoint(30, 40), 150);
    EXPECT_EQ(ui().hPixel->text(), "150");
    EXPECT_EQ(p.scaleSetting().vPixel, "100");
    EXPECT_EQ(p.horizontalBar().points.at(1).pos, QPoint(180, 40));
    EXPECT_EQ(p.standardScale().pixelLength, 300);
    EXPECT_TRUE(ui().saveButton->isEnabled());

    // Under Sync the vertical end drag sets both counts.
    QTest::mouseClick(ui().sync, Qt::LeftButton);
    edit().EndVerticalBarDrag(QPoint(5, 5), 150);
    edit().EndVerticalBarDrag(QPoint(5, 6), 60);
    EXPECT_EQ(ui().hPixel->text(), "60");
    EXPECT_EQ(ui().vPixel->text(), "60");
    EXPECT_EQ(p.horizontalBar().points.at(1).pos, QPoint(90, 40));
    EXPECT_EQ(p.verticalBar().points.at(1).pos, QPoint(5, 66));

    edit().MoveHorizontalBar(QPoint(0, 300));
    EXPECT_EQ(p.horizontalBar().points.at(0).pos, QPoint(0, 300));
    EXPECT_EQ(p.horizontalBar().points.at(1).pos, QPoint(60, 300));
    edit().MoveVerticalBar(QPoint(400, 0));
    EXPECT_EQ(p.scaleSetting().vStart, QPoint(400, 0));
    EXPECT_EQ(p.verticalBar().points.at(1).pos, QPoint(400, 60));

    ASSERT_TRUE(edit().HitTest(QPoint(50, 20)));
    edit().MoveStandardScale(QPoint(70, 90));
    EXPECT_EQ(p.standardScale().position, QPoint(70, 90));
    EXPECT_EQ(edit().standardScaleRecord().points.at(1).pos, QPoint(70 + p.standardScale().pixelLength, 90));

    p.FreeScaleBars();
    EXPECT_TRUE(p.horizontalBar().points.empty());
    EXPECT_FALSE(edit().HitTest(QPoint(60, 300)));
}

}  // namespace
}  // namespace orv::test
