#include "export/measurement_json.h"

#include <QJsonArray>

#include <algorithm>
#include <cmath>
#include <limits>

namespace orv {
namespace {

// Far beyond anything placed on an image, small enough that squares and sums
// of coordinates stay inside 64-bit and distances inside double precision.
constexpr int kCoordinateMargin = 1 << 16;
constexpr qsizetype kMaxItems = 100'000;
constexpr qsizetype kMaxPointsPerItem = 100'000;
constexpr qsizetype kMaxSubResults = 1'000;
constexpr int kMaxKind = KindDiameter;

QJsonArray PointJson(QPoint p) { return QJsonArray{p.x(), p.y()}; }
QJsonArray BoxJson(const LabelBox &b) { return QJsonArray{b.left, b.top, b.right, b.bottom}; }
QString Text(const std::string &s) { return QString::fromStdString(s); }

QJsonObject ItemJson(const MeasureItem &item)
{
    QJsonArray points;
    for (const MeasurePoint &p : item.points)
        points.append(QJsonObject{{"pos", PointJson(p.pos)},
                                  {"foot", PointJson(p.foot)},
                                  {"lineStart", PointJson(p.lineStart)},
                                  {"lineEnd", PointJson(p.lineEnd)}});
    QJsonArray subs;
    for (const SubResult &s : item.subResults) {
        QJsonArray u;
        for (const double v : s.uncertainty)
            u.append(v);
        subs.append(QJsonObject{{"text", Text(s.text)},
                                {"labelBox", BoxJson(s.labelBox)},
                                {"row", s.row},
                                {"pos", PointJson(s.pos)},
                                {"kind", s.kind},
                                {"uncertainty", u}});
    }
    return QJsonObject{{"kind", static_cast<int>(item.kind)},
                       {"points", points},
                       {"subResults", subs},
                       {"center", PointJson(item.center)},
                       {"center2", PointJson(item.center2)},
                       {"radius", item.radius},
                       {"radius2", item.radius2},
                       {"text", Text(item.text)},
                       {"labelBox", BoxJson(item.labelBox)},
                       {"row", item.row},
                       {"number", item.number},
                       {"value", item.value},
                       {"uncertainty", item.uncertainty},
                       {"arcStart", item.arcStart},
                       {"arcStop", item.arcStop},
                       {"unit", item.unit},
                       {"lineWidth", item.lineWidth},
                       {"lineColor", static_cast<qint64>(item.lineColor)},
                       {"fontSize", item.fontSize},
                       {"fontColor", static_cast<qint64>(item.fontColor)},
                       {"backColor", static_cast<qint64>(item.backColor)},
                       {"backMode", static_cast<qint64>(item.backMode)}};
}

// Reading: each getter leaves the target as it was when the member is absent
// and records the first member that is present but unusable.
class Reader {
public:
    explicit Reader(QSize imageSize)
        : limit_(std::max(imageSize.width(), imageSize.height()) + kCoordinateMargin)
    {
    }

    bool ok() const { return failed_.isEmpty(); }
    const QString &failed() const { return failed_; }

    void Int(const QJsonObject &o, const char *key, int &out, int lo, int hi)
    {
        const QJsonValue v = o.value(QLatin1String(key));
        if (v.isUndefined())
            return;
        const double d = v.toDouble(std::numeric_limits<double>::quiet_NaN());
        if (!v.isDouble() || !(d >= lo && d <= hi) || d != std::floor(d))
            return Fail(key);
        out = static_cast<int>(d);
    }
    void Color(const QJsonObject &o, const char *key, std::uint32_t &out)
    {
        const QJsonValue v = o.value(QLatin1String(key));
        if (v.isUndefined())
            return;
        const double d = v.toDouble(-1);
        if (!(d >= 0 && d <= 0xFFFFFFFFu) || d != std::floor(d))
            return Fail(key);
        out = static_cast<std::uint32_t>(d);
    }
    void Real(const QJsonObject &o, const char *key, double &out)
    {
        const QJsonValue v = o.value(QLatin1String(key));
        if (v.isUndefined())
            return;
        if (!v.isDouble() || !std::isfinite(v.toDouble()))
            return Fail(key);
        out = v.toDouble();
    }
    // A standard uncertainty: finite and not negative.
    void Uncertainty(const QJsonObject &o, const char *key, double &out)
    {
        double d = out;
        Real(o, key, d);
        if (d < 0)
            return Fail(key);
        out = d;
    }
    void Str(const QJsonObject &o, const char *key, std::string &out)
    {
        const QJsonValue v = o.value(QLatin1String(key));
        if (v.isUndefined())
            return;
        if (!v.isString())
            return Fail(key);
        out = CutToRecord(v.toString().toStdString());
    }
    void Point(const QJsonObject &o, const char *key, QPoint &out)
    {
        int xy[2] = {out.x(), out.y()};
        if (Ints(o, key, xy, 2))
            out = QPoint(xy[0], xy[1]);
    }
    void Box(const QJsonObject &o, const char *key, LabelBox &out)
    {
        int v[4] = {out.left, out.top, out.right, out.bottom};
        if (Ints(o, key, v, 4))
            out = LabelBox{v[0], v[1], v[2], v[3]};
    }
    // An array member, absent as empty; too long fails.
    QJsonArray Array(const QJsonObject &o, const char *key, qsizetype max)
    {
        const QJsonValue v = o.value(QLatin1String(key));
        if (v.isUndefined())
            return {};
        if (!v.isArray() || v.toArray().size() > max) {
            Fail(key);
            return {};
        }
        return v.toArray();
    }
    void Fail(const char *key)
    {
        if (failed_.isEmpty())
            failed_ = QLatin1String(key);
    }

private:
    bool Ints(const QJsonObject &o, const char *key, int *out, qsizetype n)
    {
        const QJsonValue v = o.value(QLatin1String(key));
        if (v.isUndefined())
            return false;
        const QJsonArray a = v.toArray();
        if (!v.isArray() || a.size() != n) {
            Fail(key);
            return false;
        }
        for (qsizetype i = 0; i < n; ++i) {
            const double d = a[i].toDouble(std::numeric_limits<double>::quiet_NaN());
            if (!(d >= -limit_ && d <= limit_) || d != std::floor(d)) {
                Fail(key);
                return false;
            }
            out[i] = static_cast<int>(d);
        }
        return true;
    }

    double limit_;
    QString failed_;
};

std::unique_ptr<MeasureItem> ReadItem(Reader &r, const QJsonObject &o)
{
    auto item = NewMeasureItem();
    int kind = 0;
    r.Int(o, "kind", kind, 1, kMaxKind);
    if (kind == 0)
        r.Fail("kind");
    item->kind = static_cast<MeasureKind>(kind);
    for (const QJsonValue &pv : r.Array(o, "points", kMaxPointsPerItem)) {
        MeasurePoint p;
        const QJsonObject po = pv.toObject();
        r.Point(po, "pos", p.pos);
        r.Point(po, "foot", p.foot);
        r.Point(po, "lineStart", p.lineStart);
        r.Point(po, "lineEnd", p.lineEnd);
        item->points.push_back(p);
    }
    for (const QJsonValue &sv : r.Array(o, "subResults", kMaxSubResults)) {
        SubResult s;
        const QJsonObject so = sv.toObject();
        r.Str(so, "text", s.text);
        r.Box(so, "labelBox", s.labelBox);
        r.Int(so, "row", s.row, -1, kMaxItems * 2);
        r.Point(so, "pos", s.pos);
        r.Int(so, "kind", s.kind, 0, kMaxKind);
        for (const QJsonValue &uv : r.Array(so, "uncertainty", 2)) {
            double u = 0.0;
            r.Uncertainty(QJsonObject{{"uncertainty", uv}}, "uncertainty", u);
            s.uncertainty.push_back(u);
        }
        item->subResults.push_back(std::move(s));
    }
    r.Point(o, "center", item->center);
    r.Point(o, "center2", item->center2);
    r.Int(o, "radius", item->radius, 0, 1 << 30);
    r.Int(o, "radius2", item->radius2, 0, 1 << 30);
    // Files keep the drawn circle only: it stays for points that find none.
    item->exact.center = item->center;
    item->exact.center2 = item->center2;
    item->exact.radius = item->radius;
    item->exact.radius2 = item->radius2;
    r.Str(o, "text", item->text);
    r.Box(o, "labelBox", item->labelBox);
    r.Int(o, "row", item->row, -1, kMaxItems * 2);
    r.Int(o, "number", item->number, -1, kMaxItems * 2);
    r.Real(o, "value", item->value);
    r.Uncertainty(o, "uncertainty", item->uncertainty);
    r.Real(o, "arcStart", item->arcStart);
    r.Real(o, "arcStop", item->arcStop);
    r.Int(o, "unit", item->unit, 0, 16);
    r.Int(o, "lineWidth", item->lineWidth, 0, 1000);
    r.Color(o, "lineColor", item->lineColor);
    r.Int(o, "fontSize", item->fontSize, 0, 1000);
    r.Color(o, "fontColor", item->fontColor);
    r.Color(o, "backColor", item->backColor);
    r.Color(o, "backMode", item->backMode);
    return item;
}

}  // namespace

QJsonObject SessionToJson(const MeasurementSession &s)
{
    const ScaleSetting &c = s.calibration;
    const StandardScale &b = s.standardScale;
    QJsonArray items;
    for (const auto &item : s.items)
        items.append(ItemJson(*item));
    return QJsonObject{
        {"calibration",
         QJsonObject{{"hPixel", Text(c.hPixel)},
                     {"hValue", Text(c.hValue)},
                     {"vPixel", Text(c.vPixel)},
                     {"vValue", Text(c.vValue)},
                     {"unit", Text(c.unit)},
                     {"link", c.link},
                     {"hStart", PointJson(c.hStart)},
                     {"vStart", PointJson(c.vStart)},
                     {"hPixelU", c.hPixelU},
                     {"vPixelU", c.vPixelU},
                     {"clickU", c.clickU}}},
        {"standardScale",
         QJsonObject{{"length", Text(b.length)},
                     {"lengthUnit", Text(b.lengthUnit)},
                     {"show", b.show},
                     {"position", PointJson(b.position)},
                     {"pixelLength", b.pixelLength},
                     {"fontColor", static_cast<qint64>(b.fontColor)},
                     {"backColor", static_cast<qint64>(b.backColor)},
                     {"lineColor", static_cast<qint64>(b.lineColor)},
                     {"transparent", b.transparent},
                     {"thickness", Text(b.thickness)},
                     {"fontSize", b.fontSize},
                     {"fontSizeText", Text(b.fontSizeText)},
                     {"faceName", Text(b.faceName)}}},
        {"labelMode", static_cast<int>(s.labelMode)},
        {"zoom", QJsonArray{s.zoomX, s.zoomY}},
        {"items", items},
    };
}

bool SessionFromJson(const QJsonObject &json, QSize imageSize, MeasurementSession &s, QString *what)
{
    Reader r(imageSize);
    const QJsonObject c = json.value(QLatin1String("calibration")).toObject();
    r.Str(c, "hPixel", s.calibration.hPixel);
    r.Str(c, "hValue", s.calibration.hValue);
    r.Str(c, "vPixel", s.calibration.vPixel);
    r.Str(c, "vValue", s.calibration.vValue);
    r.Str(c, "unit", s.calibration.unit);
    r.Int(c, "link", s.calibration.link, kLinkSync, kLinkAsync);
    r.Point(c, "hStart", s.calibration.hStart);
    r.Point(c, "vStart", s.calibration.vStart);
    r.Uncertainty(c, "hPixelU", s.calibration.hPixelU);
    r.Uncertainty(c, "vPixelU", s.calibration.vPixelU);
    r.Uncertainty(c, "clickU", s.calibration.clickU);

    const QJsonObject b = json.value(QLatin1String("standardScale")).toObject();
    StandardScale &scale = s.standardScale;
    r.Str(b, "length", scale.length);
    r.Str(b, "lengthUnit", scale.lengthUnit);
    r.Int(b, "show", scale.show, 0, 1);
    r.Point(b, "position", scale.position);
    r.Int(b, "pixelLength", scale.pixelLength, -kMaxScalePixels, kMaxScalePixels);
    r.Color(b, "fontColor", scale.fontColor);
    r.Color(b, "backColor", scale.backColor);
    r.Color(b, "lineColor", scale.lineColor);
    r.Int(b, "transparent", scale.transparent, 0, 1);
    r.Str(b, "thickness", scale.thickness);
    r.Int(b, "fontSize", scale.fontSize, 0, 1000);
    r.Str(b, "fontSizeText", scale.fontSizeText);
    r.Str(b, "faceName", scale.faceName);

    int mode = static_cast<int>(s.labelMode);
    r.Int(json, "labelMode", mode, 0, 2);
    s.labelMode = static_cast<LabelMode>(mode);
    const QJsonArray zoom = r.Array(json, "zoom", 2);
    if (zoom.size() == 2) {
        const QJsonObject z{{"x", zoom[0]}, {"y", zoom[1]}};
        r.Int(z, "x", s.zoomX, 1, 10000);
        r.Int(z, "y", s.zoomY, 1, 10000);
    }
    s.items.Clear();
    for (const QJsonValue &v : r.Array(json, "items", kMaxItems)) {
        auto item = ReadItem(r, v.toObject());
        if (!r.ok())
            break;
        s.items.Append(std::move(item));
    }
    if (!r.ok() && what)
        *what = r.failed();
    return r.ok();
}

}  // namespace orv
