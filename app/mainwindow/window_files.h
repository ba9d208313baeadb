#pragma once
// The main window's open file: opening an image or measurement file (the
// Open button's chooser, a drop, the command line), saving the measurements
// to a file (the Save Image chooser, Ctrl+S), and the window title that names
// the file. A child object of the window; the window's own members stay as
// they were.

#include <QObject>
#include <QPointer>
#include <QString>
#include <QStringList>

#include <functional>

namespace orv {

struct MeasurementSession;

class ImagePage;
class MainWindow;

class WindowFiles : public QObject {
    Q_OBJECT

public:
    // Made once at the window's construction; owned by the window. A file
    // opened from imagePage (the window's) leaves it as its Open button does.
    WindowFiles(MainWindow &mainWindow, ImagePage *imagePage);
    ~WindowFiles() override;

    // The window's object; nullptr before it is made.
    static WindowFiles *Of(const MainWindow &mainWindow);

    // Opens a file as the Open button does: asks before measurements are
    // given up, leaves the Image page (and its camera) only for a file that
    // could be read. The title names the file. True when it was opened.
    bool Open(const QString &path);
    // Opens a copy left by a crashed session without asking: the title names
    // the image it was made on, and Ctrl+S asks for a name.
    bool OpenRecovered(MeasurementSession session, const QString &imageName);
    // Writes the window's measurements to path; a failure is shown. On
    // success Ctrl+S writes there from now on, the title names it and the
    // work counts as saved.
    bool SaveAs(const QString &path);
    // Ctrl+S: to the measurement file last opened or saved, or to a file
    // chosen now. Nothing happens without an image or during a drag.
    // True when the file was written.
    bool Save();

    // The measurement file Ctrl+S writes to; empty when none.
    const QString &measurementPath() const { return measurementPath_; }
    // The file name the title shows; empty when none.
    const QString &shownName() const { return shownName_; }

private:
    bool Load(const QString &path);
    // Runs load (which shows an image or leaves all as it was) as a file's opening would.
    bool LoadWith(const std::function<void()> &load);
    void NameInTitle(const QString &name);
    void Forget();

    MainWindow &mainWindow_;
    QPointer<ImagePage> imagePage_;
    QString baseTitle_;
    QString measurementPath_;
    QString shownName_;
    QString lastDir_;
};

// The files given on the command line (arguments as the process got them):
// the first one is opened as the Open button would open it.
void OpenStartupFile(MainWindow &mainWindow, const QStringList &arguments);

}  // namespace orv
