// The Scale page's scales by camera: the scale file last applied to a
// camera's stills at a frame size comes back with the next such still, and a
// calibration made at another image size is pointed out.
#include "app/pages/scale/scale_page.h"

#include <QComboBox>
#include <QDebug>
#include <QDir>
#include <QFileInfo>
#include <QLabel>

#include "calib/calibration_size.h"
#include "calib/camera_scale_index.h"
#include "calib/scale_file.h"
#include "calib/setting_files.h"
#include "document/measure_document.h"

namespace orv {
namespace {

void SaveIndex(const CameraScaleIndex &index, const QString &dir)
{
    // Only a convenience: a folder that cannot take it changes nothing else.
    QString reason;
    if (!index.Save(dir, &reason))
        qWarning().noquote() << "Scale index not written:" << reason;
}

QSize StillSize(const MeasureDocument &doc)
{
    return doc.hasImage() ? doc.image().size() : QSize();
}

void ShowNote(QLabel *label, const QString &text)
{
    label->setText(text);
    label->setVisible(!text.isEmpty());
}

}  // namespace

void ScalePage::FollowStillCamera()
{
    cameraScale_.clear();
    const QString &camera = doc_.stillCamera();
    if (!camera.isEmpty() && doc_.hasImage()) {
        const QString name = CameraScaleIndex::Load(startDir_).scaleFor(camera, StillSize(doc_));
        const int entry =
            name.isEmpty() ? -1 : ui_.scaleFileList->findText(name, Qt::MatchExactly | Qt::MatchCaseSensitive);
        if (entry > 0) {
            ui_.scaleFileList->setCurrentIndex(entry);
            ChooseScaleFile(entry);
        }
    }
    ShowScaleNotes();
}

QSize ScalePage::NoteScaleChosen(const QString &name)
{
    CameraScaleIndex index = CameraScaleIndex::Load(startDir_);
    const CameraScaleIndex before = index;
    const QSize image = StillSize(doc_);
    QSize made;
    if (!name.isEmpty()) {
        made = index.madeAt(name);
        if (made.isEmpty())
            made = image;
    }
    if (!doc_.stillCamera().isEmpty() && !image.isEmpty()) {
        // The defaults are no file: the camera's choice is forgotten.
        index.setScaleFor(doc_.stillCamera(), image, name);
        cameraScale_ = index.scaleFor(doc_.stillCamera(), image);
    }
    if (!(index == before))
        SaveIndex(index, startDir_);
    return made;
}

void ScalePage::NoteScaleSaved(const QString &path)
{
    // The index speaks of the listed files only.
    const QFileInfo file(path);
    if (file.absoluteDir() != QDir(startDir_) || file.suffix().compare(QLatin1String(kScaleFileExt).mid(1),
                                                                      Qt::CaseInsensitive) != 0)
        return;
    const QString name = SettingFileTitle(path);
    CameraScaleIndex index = CameraScaleIndex::Load(startDir_);
    const QSize image = StillSize(doc_);
    index.setMadeAt(name, setting_.madeAt.isEmpty() ? image : setting_.madeAt);
    if (!doc_.stillCamera().isEmpty() && !image.isEmpty()) {
        index.setScaleFor(doc_.stillCamera(), image, name);
        cameraScale_ = index.scaleFor(doc_.stillCamera(), image);
    }
    SaveIndex(index, startDir_);
}

void ScalePage::ShowScaleNotes()
{
    const QSize image = StillSize(doc_);
    QString note;
    if (!cameraScale_.isEmpty() && scaleFileName_ == cameraScale_)
        note = CameraScaleText(doc_.stillCamera(), image, cameraScale_, lang_);
    ShowNote(ui_.cameraScaleNote, note);
    ShowNote(ui_.sizeWarning, CalibrationSizeWarning(setting_.madeAt, image, lang_));
}

}  // namespace orv
