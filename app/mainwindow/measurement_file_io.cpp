#include "app/mainwindow/measurement_file_io.h"

#include <QFileInfo>
#include <QMimeData>
#include <QUrl>

#include <string>

#include "app/mainwindow/main_window.h"
#include "app/pages/options/options_page.h"
#include "app/pages/page_host.h"
#include "app/pages/scale/scale_page.h"
#include "document/measure_document.h"

namespace orv {

bool IsMeasurementFilePath(const QString &path)
{
    return QFileInfo(path).suffix().compare(QLatin1String(kMeasurementFileSuffix), Qt::CaseInsensitive) == 0;
}

bool IsOpenableFilePath(const QString &path)
{
    static const QStringList kImageSuffixes = {QStringLiteral("jpg"), QStringLiteral("jpeg"), QStringLiteral("bmp"),
                                               QStringLiteral("tif"), QStringLiteral("tiff"), QStringLiteral("gif"),
                                               QStringLiteral("png")};
    return IsMeasurementFilePath(path) || kImageSuffixes.contains(QFileInfo(path).suffix(), Qt::CaseInsensitive);
}

QString FirstOpenableFile(const QMimeData *data)
{
    if (!data || !data->hasUrls())
        return {};
    for (const QUrl &url : data->urls()) {
        if (!url.isLocalFile())
            continue;
        const QString path = url.toLocalFile();
        if (IsOpenableFilePath(path) && QFileInfo(path).isFile())
            return path;
    }
    return {};
}

void ShowMeasurementSession(PageHost &host, ScalePage *calib, OptionsPage *option, MeasurementSession session)
{
    const int zoomX = session.zoomX;
    const int zoomY = session.zoomY;
    MeasureDocument &doc = host.document();
    doc.LoadSession(std::move(session));
    if (calib)
        calib->ShowDocumentCalibration();
    // The Option page shows the zoom as the text of its list.
    doc.editDrawAttribute().zoomText = std::to_string(zoomX);
    if (option)
        option->ShowDocumentAttributes();
    host.SetZoom(zoomX, zoomY);
    host.LayoutView();
}

bool SaveWindowMeasurements(MainWindow &mainWindow, const QString &path, QString *reason)
{
    MeasurementSession session = mainWindow.document().CaptureSession();
    session.zoomX = mainWindow.host().view().zoomX;
    session.zoomY = mainWindow.host().view().zoomY;
    return SaveMeasurementFile(path, session, reason);
}

}  // namespace orv
