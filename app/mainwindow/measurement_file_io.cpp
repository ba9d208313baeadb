#include "app/measurement_file_io.h"

#include <QFileInfo>
#include <QMimeData>
#include <QUrl>

#include <string>

#include "app/calib_tab.h"
#include "app/option_tab.h"
#include "app/orvalin_dlg.h"
#include "app/page_host.h"
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
    return IsMeasurementFilePath(path) ||
           kImageSuffixes.contains(QFileInfo(path).suffix(), Qt::CaseInsensitive);
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

void ShowMeasurementSession(COrvalinDlg &dlg, MeasurementSession session)
{
    const int zoomX = session.zoomX;
    const int zoomY = session.zoomY;
    MeasureDocument &doc = dlg.document();
    doc.LoadSession(std::move(session));
    const COrvalinDlg::Parts parts = dlg.parts();
    if (CCalibTab *calib = parts.calibTab)
        calib->ShowDocumentCalibration();
    // The Option page shows the zoom as the text of its list.
    doc.editDrawAttribute().zoomText = std::to_string(zoomX);
    if (COptionTab *option = parts.optionTab)
        option->ShowDocumentAttributes();
    dlg.host().SetZoom(zoomX, zoomY);
    dlg.host().LayoutView();
}

bool SaveWindowMeasurements(COrvalinDlg &dlg, const QString &path, QString *reason)
{
    MeasurementSession session = dlg.document().CaptureSession();
    session.zoomX = dlg.host().view().zoomX;
    session.zoomY = dlg.host().view().zoomY;
    return SaveMeasurementFile(path, session, reason);
}

}  // namespace orv
