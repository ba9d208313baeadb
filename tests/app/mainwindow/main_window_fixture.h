#pragma once
// A main window with substituted locale, screen and temporary directory, and
// scripted prompts; helpers that put measurements and images in place.

#include <gtest/gtest.h>

#include <QColor>
#include <QCoreApplication>
#include <QDir>
#include <QImage>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

#include "app/interaction/pointer_interaction.h"
#include "app/mainwindow/main_window.h"
#include "app/view/results_view.h"
#include "document/measure_document.h"
#include "export/results_table.h"
#include "tests/app/scripted_prompter.h"
#include "tests/support/fake_evdev.h"
#include "tests/support/fake_hid.h"
#include "tests/app/mainwindow/window_parts.h"

namespace orv::test {

inline LocaleSource DlgLocale(const char *system, const char *user, bool marker = false)
{
    LocaleSource src;
    src.systemLanguage = [system] { return std::string(system); };
    src.userLanguage = [user] { return std::string(user); };
    src.englishMarker = [marker] { return marker; };
    return src;
}

class MainWindowTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(dir.isValid()); }
    void TearDown() override { mainWindow.reset(); }

    WindowEnvironment Env(const char *system = "en", const char *user = "en", QSize screen = {1024, 768})
    {
        // Setting files, the English marker and the wireless work file: the
        // temporary directory is the start directory.
        WindowEnvironment env = prompter.environment(dir.path(), DlgLocale(system, user));
        env.screenSize = [screen] { return screen; };
        const QString temp = dir.path();
        env.tempDir = [temp] { return temp; };
        // Reports there too, never in the user's documents.
        env.reportDir = [temp] { return temp; };
        // Recovery copies too: each test sees only its own windows' copies.
        env.recoveryDir = dir.filePath(QStringLiteral("recovery"));
        // Each window's wireless receiver on a free port: tests run side by side.
        env.wirelessPort = 0;
        // No button device and no snapshot key, whatever the machine has.
        env.devices.hid = std::make_shared<FakeHidBackend>();
        env.devices.evdev = std::make_shared<FakeEvdevBackend>();
        env.devices.sysfsRoot = dir.filePath("no-sysfs").toStdString();
        return env;
    }

    MainWindow &Make(const char *system = "en", const char *user = "en", QSize screen = {1024, 768})
    {
        mainWindow = std::make_unique<MainWindow>(Env(system, user, screen));
        return *mainWindow;
    }

    // Shows the window: its pages are laid out at their real size only then,
    // which clicks on the page's buttons need.
    static void ShowLaidOut(QWidget &window)
    {
        window.show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(&window));
    }

    // A grey image with a dark square, written as PNG.
    QString WriteImage(const QString &name, QSize size)
    {
        QImage img(size, QImage::Format_RGB32);
        img.fill(QColor(180, 180, 180));
        for (int y = size.height() / 4; y < size.height() / 2; ++y)
            for (int x = size.width() / 4; x < size.width() / 2; ++x)
                img.setPixel(x, y, qRgb(40, 40, 40));
        const QString path = dir.filePath(name);
        img.save(path, "PNG");
        return path;
    }

    // A plain image of one colour, written as PNG and loaded into the window.
    bool LoadFilled(const QString &name, QSize size, QColor color)
    {
        QImage img(size, QImage::Format_RGB32);
        img.fill(color);
        const QString path = dir.filePath(name);
        if (!img.save(path))
            return false;
        mainWindow->LoadImageFile(path);
        return mainWindow->hasImage();
    }

    MainWindow &MakeWithImage(QSize size = {300, 200})
    {
        Make();
        mainWindow->LoadImageFile(WriteImage("image.png", size));
        return *mainWindow;
    }

    MeasureItem *AddDistance(QPoint a, QPoint b)
    {
        auto item = NewMeasureItem();
        item->kind = KindDistance2Points;
        AppendPoint(*item, a);
        AppendPoint(*item, b);
        item->lineWidth = 1;
        item->fontSize = 16;
        item->lineColor = MakeColorRef(255, 0, 0);
        MeasureItem *raw = item.get();
        raw->number = mainWindow->document().list().Append(std::move(item));
        mainWindow->document().ComputeValue(*raw);
        mainWindow->document().results().AddMeasureRows(*raw);
        return raw;
    }

    // A perpendicular item with the given number of sub-results (texts only).
    MeasureItem *AddPerpendicular(int subResults)
    {
        auto item = NewMeasureItem();
        item->kind = KindPerpendicular;
        AppendPoint(*item, {10, 10});
        AppendPoint(*item, {100, 10});
        for (int k = 0; k < subResults; ++k) {
            AppendPoint(*item, {20 + 10 * k, 50});
            AppendSubResult(*item, std::to_string(k + 1) + ".00um", KindPerpendicularPart, -1, {20 + 10 * k, 50});
        }
        item->lineWidth = 1;
        item->fontSize = 16;
        MeasureItem *raw = item.get();
        raw->number = mainWindow->document().list().Append(std::move(item));
        mainWindow->document().results().AddMeasureRows(*raw);
        return raw;
    }

    QString Cell(int row, int column) const
    {
        return QString::fromStdString(mainWindow->document().results().text(row, column));
    }

    QStringList NumberColumn() const
    {
        QStringList out;
        for (int r = 0; r < mainWindow->document().results().rowCount(); ++r)
            out << Cell(r, 0);
        return out;
    }

    static void Settle()
    {
        QCoreApplication::processEvents();
        QCoreApplication::processEvents();
    }

    QTemporaryDir dir;
    ScriptedPrompter prompter;
    std::unique_ptr<MainWindow> mainWindow;
};

}  // namespace orv::test
