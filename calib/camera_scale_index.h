#pragma once
// The small index kept beside the scale files: which scale file was last
// applied to the stills of each camera at each frame size, and the image
// size each scale file's calibration was made at. Scale files themselves
// stay as they are, so they can still be passed between machines.

#include <QSize>
#include <QString>

#include <vector>

namespace orv {

class CameraScaleIndex {
public:
    // The index's file name in the scale files' folder.
    static constexpr char kFileName[] = "camera_scales.json";
    // A damaged index is renamed to this (after kFileName) and rebuilt.
    static constexpr char kDamagedSuffix[] = ".damaged";
    // Bounds for contents written by hand or by anything else.
    static constexpr qint64 kMaxFileBytes = 1 << 20;
    static constexpr std::size_t kMaxEntries = 256;
    static constexpr int kMaxNameLength = 255;
    static constexpr int kMaxSide = 1 << 16;

    enum class LoadStatus { Read, Missing, Damaged };

    // The index of the scale files in dir. A missing file gives an empty
    // index; one that cannot be read as an index is set aside (renamed with
    // kDamagedSuffix) and an empty index starts. Entries that make no sense
    // (no name, a name with a folder in it, sizes out of range) are dropped.
    static CameraScaleIndex Load(const QString &dir, LoadStatus *status = nullptr);
    // Writes the index into dir atomically; false (and *reason) on failure.
    bool Save(const QString &dir, QString *reason = nullptr) const;

    // The scale file last applied to stills of camera at size; empty when none.
    QString scaleFor(const QString &camera, QSize size) const;
    // Remembers (or, for an empty name, forgets) the camera's scale file at size.
    void setScaleFor(const QString &camera, QSize size, const QString &scaleFile);

    // The image size a scale file's calibration was made at; invalid when unknown.
    QSize madeAt(const QString &scaleFile) const;
    void setMadeAt(const QString &scaleFile, QSize size);

    // A name that may stand for a camera or a scale file in the index.
    static bool IsUsableName(const QString &name);
    static bool IsUsableSize(QSize size);

    bool empty() const { return cameras_.empty() && scales_.empty(); }
    bool operator==(const CameraScaleIndex &) const = default;

private:
    struct CameraEntry {
        QString camera;
        QSize size;
        QString scale;
        bool operator==(const CameraEntry &) const = default;
    };
    struct ScaleEntry {
        QString scale;
        QSize size;
        bool operator==(const ScaleEntry &) const = default;
    };

    QByteArray ToJson() const;
    static bool FromJson(const QByteArray &bytes, CameraScaleIndex &out);

    // Latest last; the oldest go first when the index is full.
    std::vector<CameraEntry> cameras_;
    std::vector<ScaleEntry> scales_;
};

}  // namespace orv
