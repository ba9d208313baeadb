#include "calib/camera_scale_index.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QJsonValue>

#include <algorithm>

#include "core/atomic_file.h"

namespace orv {
namespace {

constexpr int kFormatVersion = 1;

const QString kCameras = QStringLiteral("cameras");
const QString kScales = QStringLiteral("scales");
const QString kCamera = QStringLiteral("camera");
const QString kScale = QStringLiteral("scale");
const QString kWidth = QStringLiteral("width");
const QString kHeight = QStringLiteral("height");
const QString kVersion = QStringLiteral("version");

QSize SizeOf(const QJsonObject &o)
{
    const QJsonValue w = o.value(kWidth);
    const QJsonValue h = o.value(kHeight);
    if (!w.isDouble() || !h.isDouble())
        return {};
    const double dw = w.toDouble();
    const double dh = h.toDouble();
    // Whole numbers in range only: a fraction or 1e300 is no frame size.
    if (dw != static_cast<int>(std::clamp(dw, 0.0, 1e9)) || dh != static_cast<int>(std::clamp(dh, 0.0, 1e9)))
        return {};
    return {static_cast<int>(dw), static_cast<int>(dh)};
}

void PutSize(QJsonObject &o, QSize size)
{
    o.insert(kWidth, size.width());
    o.insert(kHeight, size.height());
}

template<class Entry>
void KeepLatest(std::vector<Entry> &entries)
{
    if (entries.size() > CameraScaleIndex::kMaxEntries)
        entries.erase(entries.begin(),
                      entries.begin() + static_cast<std::ptrdiff_t>(entries.size() - CameraScaleIndex::kMaxEntries));
}

QString IndexPath(const QString &dir)
{
    return QDir(dir).filePath(QLatin1String(CameraScaleIndex::kFileName));
}

}  // namespace

bool CameraScaleIndex::IsUsableName(const QString &name)
{
    if (name.isEmpty() || name.size() > kMaxNameLength || name == QLatin1String(".") || name == QLatin1String(".."))
        return false;
    // A scale name becomes part of a path: nothing that leaves the folder.
    return !name.contains(QLatin1Char('/')) && !name.contains(QLatin1Char('\\')) && !name.contains(QChar(0));
}

bool CameraScaleIndex::IsUsableSize(QSize size)
{
    return size.width() > 0 && size.height() > 0 && size.width() <= kMaxSide && size.height() <= kMaxSide;
}

QString CameraScaleIndex::scaleFor(const QString &camera, QSize size) const
{
    for (auto it = cameras_.rbegin(); it != cameras_.rend(); ++it)
        if (it->camera == camera && it->size == size)
            return it->scale;
    return {};
}

void CameraScaleIndex::setScaleFor(const QString &camera, QSize size, const QString &scaleFile)
{
    std::erase_if(cameras_, [&](const CameraEntry &e) { return e.camera == camera && e.size == size; });
    if (!IsUsableName(camera) || !IsUsableSize(size) || !IsUsableName(scaleFile))
        return;
    cameras_.push_back({camera, size, scaleFile});
    KeepLatest(cameras_);
}

QSize CameraScaleIndex::madeAt(const QString &scaleFile) const
{
    for (auto it = scales_.rbegin(); it != scales_.rend(); ++it)
        if (it->scale == scaleFile)
            return it->size;
    return {};
}

void CameraScaleIndex::setMadeAt(const QString &scaleFile, QSize size)
{
    std::erase_if(scales_, [&](const ScaleEntry &e) { return e.scale == scaleFile; });
    if (!IsUsableName(scaleFile) || !IsUsableSize(size))
        return;
    scales_.push_back({scaleFile, size});
    KeepLatest(scales_);
}

QByteArray CameraScaleIndex::ToJson() const
{
    QJsonArray cameras;
    for (const CameraEntry &e : cameras_) {
        QJsonObject o{{kCamera, e.camera}, {kScale, e.scale}};
        PutSize(o, e.size);
        cameras.append(o);
    }
    QJsonArray scales;
    for (const ScaleEntry &e : scales_) {
        QJsonObject o{{kScale, e.scale}};
        PutSize(o, e.size);
        scales.append(o);
    }
    const QJsonObject root{{kVersion, kFormatVersion}, {kCameras, cameras}, {kScales, scales}};
    return QJsonDocument(root).toJson(QJsonDocument::Indented);
}

bool CameraScaleIndex::FromJson(const QByteArray &bytes, CameraScaleIndex &out)
{
    QJsonParseError error;
    const QJsonDocument doc = QJsonDocument::fromJson(bytes, &error);
    if (error.error != QJsonParseError::NoError || !doc.isObject())
        return false;
    const QJsonObject root = doc.object();
    const QJsonValue cameras = root.value(kCameras);
    const QJsonValue scales = root.value(kScales);
    if ((!cameras.isUndefined() && !cameras.isArray()) || (!scales.isUndefined() && !scales.isArray()))
        return false;
    // Entries are taken through the setters: they drop what makes no sense
    // and keep the latest of repeated keys.
    for (const QJsonValue &v : cameras.toArray()) {
        const QJsonObject o = v.toObject();
        out.setScaleFor(o.value(kCamera).toString(), SizeOf(o), o.value(kScale).toString());
    }
    for (const QJsonValue &v : scales.toArray()) {
        const QJsonObject o = v.toObject();
        out.setMadeAt(o.value(kScale).toString(), SizeOf(o));
    }
    return true;
}

CameraScaleIndex CameraScaleIndex::Load(const QString &dir, LoadStatus *status)
{
    CameraScaleIndex index;
    LoadStatus result = LoadStatus::Read;
    const QString path = IndexPath(dir);
    QFile file(path);
    if (!QFileInfo::exists(path)) {
        result = LoadStatus::Missing;
    } else {
        bool ok = QFileInfo(path).isFile() && file.size() <= kMaxFileBytes && file.open(QIODevice::ReadOnly);
        if (ok) {
            const QByteArray bytes = file.read(kMaxFileBytes + 1);
            file.close();
            ok = bytes.size() <= kMaxFileBytes && FromJson(bytes, index);
        }
        if (!ok) {
            index = CameraScaleIndex{};
            result = LoadStatus::Damaged;
            // Kept for a look, out of the way of the index written next.
            const QString aside = path + QLatin1String(kDamagedSuffix);
            QFile::remove(aside);
            QFile::rename(path, aside);
        }
    }
    if (status)
        *status = result;
    return index;
}

bool CameraScaleIndex::Save(const QString &dir, QString *reason) const
{
    return WriteFileAtomically(IndexPath(dir), ToJson(), reason);
}

}  // namespace orv
