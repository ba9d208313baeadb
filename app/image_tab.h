#pragma once
// The Image page: opens an image file, and hosts the camera, guide and
// wireless microscope controls (their work arrives with the camera module).

#include <QString>
#include <QWidget>

#include "language.h"

class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QPushButton;

namespace orv {

class COrvalinDlg;
class MultiLineButton;

class CImageTab : public QWidget {
    Q_OBJECT

public:
    explicit CImageTab(QWidget *parent = nullptr,
                       const LocaleSource &locale = LocaleSource::FromPlatform());
    ~CImageTab() override;

    void SetOwner(COrvalinDlg *owner);
    COrvalinDlg *owner() const { return owner_; }
    Language language() const { return language_; }

    int defaultCameraIndex() const { return defaultCameraIndex_; }
    int cameraState() const { return cameraState_; }
    int wirelessMode() const { return wirelessMode_; }
    QString workFilePath() const { return workFilePath_; }

    // Rebuilds the camera list; chooses defaultCameraIndex.
    void FillCameraList();
    // Closes any open camera and opens the one at index (-1 closes only).
    void OpenCamera(int index, QWidget *viewWindow);
    void SetWirelessMode(int on);

    // The Open button (1000).
    void OnOpen();

    QPushButton *openButton() const { return open_; }

private:
    void BuildControls();
    void ApplyEnglishCaptions();
    void EnableCameraControls(bool on);
    QList<QWidget *> cameraControls() const;
    QList<QWidget *> liveModeSet() const;
    QList<QWidget *> wirelessSet() const;

    COrvalinDlg *owner_ = nullptr;
    Language language_;
    int defaultCameraIndex_ = -1;
    int cameraState_ = 0;
    int wirelessMode_ = 0;
    QString workFilePath_;

    QPushButton *open_ = nullptr;
    QPushButton *live_ = nullptr;
    QPushButton *wireless_ = nullptr;
    QGroupBox *liveGroup_ = nullptr;
    QLabel *cameraLabel_ = nullptr;
    QComboBox *camera_ = nullptr;
    QLabel *frameSize_ = nullptr;
    QPushButton *capture_ = nullptr;
    MultiLineButton *imageSetting_ = nullptr;
    MultiLineButton *outputSetting_ = nullptr;
    QCheckBox *guide_ = nullptr;
    QPushButton *guideColor_ = nullptr;
    QLabel *thicknessLabel_ = nullptr;
    QComboBox *thickness_ = nullptr;
    QGroupBox *wirelessGroup_ = nullptr;
    QLabel *colorLabel_ = nullptr;
    QComboBox *overlayColor_ = nullptr;
    QLabel *lensLabel_ = nullptr;
    QComboBox *lens_ = nullptr;
    QCheckBox *crossIndicator_ = nullptr;
};

}  // namespace orv
