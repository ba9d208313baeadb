#include "calib/ruler_finder.h"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <optional>
#include <vector>

#include "calib/tick_series.h"

namespace orv {
namespace {

// Profile samples per pixel along the ruler.
constexpr double kStep = 0.5;
constexpr double kStripWidth = 4.0;
constexpr int kMinImageSide = 4;

struct Grey {
    int w = 0;
    int h = 0;
    std::vector<float> px;

    float at(int x, int y) const { return px[static_cast<std::size_t>(y) * static_cast<std::size_t>(w) + static_cast<std::size_t>(x)]; }

    // Bilinear value at (x, y); false outside the pixel centres' hull.
    bool sample(double x, double y, double &out) const
    {
        if (!(x >= 0.0 && y >= 0.0 && x <= w - 1 && y <= h - 1))
            return false;
        const int x0 = std::min(static_cast<int>(x), std::max(0, w - 2));
        const int y0 = std::min(static_cast<int>(y), std::max(0, h - 2));
        const double fx = x - x0;
        const double fy = y - y0;
        const int x1 = std::min(x0 + 1, w - 1);
        const int y1 = std::min(y0 + 1, h - 1);
        const double top = at(x0, y0) + fx * (at(x1, y0) - at(x0, y0));
        const double bottom = at(x0, y1) + fx * (at(x1, y1) - at(x0, y1));
        out = top + fy * (bottom - top);
        return true;
    }
};

Grey ToGrey(const QImage &image)
{
    const QImage g = image.convertToFormat(QImage::Format_Grayscale8);
    Grey out;
    out.w = g.width();
    out.h = g.height();
    out.px.resize(static_cast<std::size_t>(out.w) * static_cast<std::size_t>(out.h));
    for (int y = 0; y < out.h; ++y) {
        const uchar *line = g.constScanLine(y);
        std::copy(line, line + out.w, out.px.begin() + static_cast<std::ptrdiff_t>(y) * out.w);
    }
    return out;
}

bool MostlyClipped(const Grey &g)
{
    std::size_t clipped = 0;
    for (float v : g.px)
        clipped += (v <= 1.0f || v >= 254.0f) ? 1 : 0;
    return clipped * 2 > g.px.size();
}

// A frame along the ruler: s along it, t across it.
struct Frame {
    double c = 1.0;
    double s = 0.0;

    static Frame FromAngle(double rad) { return {std::cos(rad), std::sin(rad)}; }
    double along(double x, double y) const { return x * c + y * s; }
    double across(double x, double y) const { return -x * s + y * c; }
    QPointF point(double a, double b) const { return {a * c - b * s, a * s + b * c}; }
};

struct Band {
    double s0 = 0.0;
    double s1 = 0.0;
    double t0 = 0.0;
    double t1 = 0.0;
};

// Directions of the strongest edges, strongest first: across the ticks.
std::vector<double> EdgeDirections(const Grey &g)
{
    // Sobel gradients at full resolution (thin ticks alias when shrunk), on
    // every second pixel of every second row for speed.
    const int w = g.w;
    const int h = g.h;
    std::vector<float> gx;
    std::vector<float> gy;
    double mean = 0.0;
    for (int y = 1; y + 1 < h; y += 2)
        for (int x = 1; x + 1 < w; x += 2) {
            const float a = g.at(x - 1, y - 1), b = g.at(x, y - 1), c = g.at(x + 1, y - 1);
            const float d = g.at(x - 1, y), f = g.at(x + 1, y);
            const float p = g.at(x - 1, y + 1), q = g.at(x, y + 1), r = g.at(x + 1, y + 1);
            const float sx = (c + 2.0f * f + r) - (a + 2.0f * d + p);
            const float sy = (p + 2.0f * q + r) - (a + 2.0f * b + c);
            gx.push_back(sx);
            gy.push_back(sy);
            mean += static_cast<double>(sx) * sx + static_cast<double>(sy) * sy;
        }
    mean /= std::max<std::size_t>(1, gx.size());
    constexpr int kBins = 360;  // half degrees over 180
    std::vector<double> hist(kBins, 0.0);
    for (std::size_t i = 0; i < gx.size(); ++i) {
        const double m = static_cast<double>(gx[i]) * gx[i] + static_cast<double>(gy[i]) * gy[i];
        if (m <= mean)
            continue;
        double a = std::atan2(gy[i], gx[i]) * 180.0 / std::numbers::pi;
        a = std::fmod(a + 360.0, 180.0);
        hist[static_cast<std::size_t>(std::min(kBins - 1, static_cast<int>(a * 2.0)))] += m;
    }
    std::vector<double> sm(kBins, 0.0);
    for (int i = 0; i < kBins; ++i)
        for (int k = -3; k <= 3; ++k)
            sm[static_cast<std::size_t>(i)] += (4 - std::abs(k)) * hist[static_cast<std::size_t>((i + k + kBins) % kBins)];
    std::vector<std::pair<double, double>> peaks;  // weight, degrees
    for (int i = 0; i < kBins; ++i) {
        const double a = sm[static_cast<std::size_t>((i + kBins - 1) % kBins)];
        const double b = sm[static_cast<std::size_t>(i)];
        const double c = sm[static_cast<std::size_t>((i + 1) % kBins)];
        if (b > 0.0 && b >= a && b > c) {
            const double den = a - 2.0 * b + c;
            const double shift = den < 0.0 ? 0.5 * (a - c) / den : 0.0;
            peaks.emplace_back(b, (i + 0.5 + shift) / 2.0);
        }
    }
    std::sort(peaks.begin(), peaks.end(), [](const auto &x, const auto &y) { return x.first > y.first; });
    std::vector<double> out;
    for (const auto &[weight, deg] : peaks) {
        bool distinct = true;
        for (double o : out) {
            const double d = std::abs(std::remainder(deg - o * 180.0 / std::numbers::pi, 180.0));
            distinct = distinct && d > 20.0;
        }
        if (distinct)
            out.push_back(deg * std::numbers::pi / 180.0);
        if (out.size() == 2)
            break;
    }
    return out;
}

// The strip band across the ruler whose profile varies most from pixel to
// pixel: the ticks. limit restricts the search (the line's neighbourhood).
std::optional<Band> FindBand(const Grey &g, const Frame &fr, const std::optional<Band> &limit)
{
    double smin = 1e300, smax = -1e300, tmin = 1e300, tmax = -1e300;
    for (const auto &[x, y] : {std::pair{0, 0}, {g.w - 1, 0}, {0, g.h - 1}, {g.w - 1, g.h - 1}}) {
        smin = std::min(smin, fr.along(x, y));
        smax = std::max(smax, fr.along(x, y));
        tmin = std::min(tmin, fr.across(x, y));
        tmax = std::max(tmax, fr.across(x, y));
    }
    if (limit) {
        smin = std::max(smin, limit->s0);
        smax = std::min(smax, limit->s1);
        tmin = std::max(tmin, limit->t0);
        tmax = std::min(tmax, limit->t1);
    }
    if (!(smax - smin >= 8.0 && tmax - tmin >= 1.0))
        return std::nullopt;
    const int ns = static_cast<int>(smax - smin) + 2;
    // Wider strips on huge images keep the sums' table within bounds.
    const double strip = std::max(kStripWidth, std::ceil(ns * (tmax - tmin) / 16e6));
    const int nt = static_cast<int>((tmax - tmin) / strip) + 1;
    std::vector<float> sum(static_cast<std::size_t>(ns) * static_cast<std::size_t>(nt), 0.0f);
    std::vector<unsigned short> count(sum.size(), 0);
    // Only the pixels of the search rectangle's bounding box.
    int x0 = 0, x1 = g.w - 1, y0 = 0, y1 = g.h - 1;
    if (limit) {
        double bx0 = 1e300, bx1 = -1e300, by0 = 1e300, by1 = -1e300;
        for (double a : {smin, smax})
            for (double b : {tmin, tmax}) {
                const QPointF q = fr.point(a, b);
                bx0 = std::min(bx0, q.x());
                bx1 = std::max(bx1, q.x());
                by0 = std::min(by0, q.y());
                by1 = std::max(by1, q.y());
            }
        x0 = std::clamp(static_cast<int>(std::floor(bx0)), 0, g.w - 1);
        x1 = std::clamp(static_cast<int>(std::ceil(bx1)), 0, g.w - 1);
        y0 = std::clamp(static_cast<int>(std::floor(by0)), 0, g.h - 1);
        y1 = std::clamp(static_cast<int>(std::ceil(by1)), 0, g.h - 1);
    }
    for (int y = y0; y <= y1; ++y) {
        double s = fr.along(x0, y) - smin;
        double t = fr.across(x0, y) - tmin;
        for (int x = x0; x <= x1; ++x, s += fr.c, t -= fr.s) {
            if (s < 0.0 || t < 0.0 || s > smax - smin || t > tmax - tmin)
                continue;
            const std::size_t i = static_cast<std::size_t>(static_cast<int>(t / strip)) * static_cast<std::size_t>(ns) +
                                  static_cast<std::size_t>(s);
            sum[i] += g.at(x, y);
            count[i] = static_cast<unsigned short>(std::min(count[i] + 1, 60000));
        }
    }
    std::vector<double> energy(static_cast<std::size_t>(nt), 0.0);
    std::vector<double> valid;
    for (int j = 0; j < nt; ++j) {
        double e = 0.0;
        int pairs = 0;
        const std::size_t row = static_cast<std::size_t>(j) * static_cast<std::size_t>(ns);
        for (int k = 0; k + 1 < ns; ++k) {
            const std::size_t i = row + static_cast<std::size_t>(k);
            if (count[i] == 0 || count[i + 1] == 0)
                continue;
            const double d = sum[i + 1] / count[i + 1] - sum[i] / count[i];
            e += d * d;
            ++pairs;
        }
        if (pairs >= 16) {
            energy[static_cast<std::size_t>(j)] = e / pairs;
            valid.push_back(e / pairs);
        }
    }
    if (valid.empty())
        return std::nullopt;
    std::nth_element(valid.begin(), valid.begin() + static_cast<std::ptrdiff_t>(valid.size() / 2), valid.end());
    const double floor = valid[valid.size() / 2];
    const auto peak = std::max_element(energy.begin(), energy.end());
    const double threshold = floor + 0.5 * (*peak - floor);
    int j0 = static_cast<int>(peak - energy.begin());
    int j1 = j0;
    while (j0 > 0 && energy[static_cast<std::size_t>(j0 - 1)] >= threshold)
        --j0;
    while (j1 + 1 < nt && energy[static_cast<std::size_t>(j1 + 1)] >= threshold)
        ++j1;
    Band b;
    b.s0 = smin;
    b.s1 = smax;
    b.t0 = tmin + j0 * strip + 1.0;
    b.t1 = std::min(tmax, tmin + (j1 + 1) * strip) - 1.0;
    if (b.t1 < b.t0)
        b.t0 = b.t1 = 0.5 * (b.t0 + b.t1);
    return b;
}

struct Profiles {
    double s0 = 0.0;  // position of sample 0 along the ruler
    std::vector<double> full;
    std::vector<double> top;
    std::vector<double> bottom;
    double tTop = 0.0;  // mean across-position of each half
    double tBottom = 0.0;
};

Profiles TakeProfiles(const Grey &g, const Frame &fr, const Band &b)
{
    const int rows = std::max(1, static_cast<int>(std::floor(b.t1 - b.t0)) + 1);
    const double tStart = 0.5 * (b.t0 + b.t1) - 0.5 * (rows - 1);
    const int n = std::max(0, static_cast<int>((b.s1 - b.s0) / kStep) + 1);
    const int half = rows / 2;
    std::vector<double> sTop(static_cast<std::size_t>(n), 0.0), sBot(sTop);
    std::vector<int> cTop(static_cast<std::size_t>(n), 0), cBot(cTop);
    for (int r = 0; r < rows; ++r) {
        const double t = tStart + r;
        const bool top = r < half || rows == 1;
        auto &sums = top ? sTop : sBot;
        auto &counts = top ? cTop : cBot;
        const QPointF origin = fr.point(b.s0, t);
        for (int i = 0; i < n; ++i) {
            double v;
            if (g.sample(origin.x() + i * kStep * fr.c, origin.y() + i * kStep * fr.s, v)) {
                sums[static_cast<std::size_t>(i)] += v;
                ++counts[static_cast<std::size_t>(i)];
            }
        }
    }
    // The longest run where both halves are nearly fully covered.
    const int needTop = std::max(1, (rows == 1 ? 1 : half) * 4 / 5);
    const int needBot = rows == 1 ? 0 : std::max(1, (rows - half) * 4 / 5);
    int bestLo = 0, bestLen = 0;
    for (int i = 0; i < n;) {
        if (cTop[static_cast<std::size_t>(i)] < needTop || cBot[static_cast<std::size_t>(i)] < needBot) {
            ++i;
            continue;
        }
        int j = i;
        while (j < n && cTop[static_cast<std::size_t>(j)] >= needTop && cBot[static_cast<std::size_t>(j)] >= needBot)
            ++j;
        if (j - i > bestLen) {
            bestLo = i;
            bestLen = j - i;
        }
        i = j;
    }
    Profiles p;
    p.s0 = b.s0 + bestLo * kStep;
    for (int i = bestLo; i < bestLo + bestLen; ++i) {
        const std::size_t k = static_cast<std::size_t>(i);
        const double top = sTop[k] / cTop[k];
        const double bot = cBot[k] > 0 ? sBot[k] / cBot[k] : top;
        p.top.push_back(top);
        p.bottom.push_back(bot);
        p.full.push_back((sTop[k] + sBot[k]) / (cTop[k] + cBot[k]));
    }
    p.tTop = tStart + 0.5 * ((rows == 1 ? 1 : half) - 1);
    p.tBottom = tStart + half + 0.5 * (rows - half - 1);
    return p;
}

// The profile with its ticks as dips.
std::vector<double> Oriented(std::vector<double> v, int polarity)
{
    if (polarity < 0)
        for (double &x : v)
            x = -x;
    return v;
}

// Where a line drawn along the ruler allows the search.
struct Corridor {
    QPointF a;
    QPointF b;
    double reach = 0.0;

    Band in(const Frame &fr) const
    {
        const double sa = fr.along(a.x(), a.y());
        const double sb = fr.along(b.x(), b.y());
        const double t = 0.5 * (fr.across(a.x(), a.y()) + fr.across(b.x(), b.y()));
        return Band{std::min(sa, sb), std::max(sa, sb), t - reach, t + reach};
    }
};

RulerResult Failure(RulerFailure f, int a = 0, int b = 0)
{
    RulerResult r;
    r.failure = f;
    r.detailA = a;
    r.detailB = b;
    return r;
}

bool Better(const RulerResult &a, const RulerResult &b)
{
    auto rank = [](const RulerResult &r) { return r.failure == RulerFailure::TooShort ? r.detailA : -1; };
    return rank(a) > rank(b);
}

// Fits the ticks in the band, turning the frame until the ticks stand square
// on it (the shift of each tick between the band's two halves is the lean).
RulerResult FitRuler(const Grey &g, Frame fr, const std::optional<Corridor> &corridor)
{
    RulerResult out = Failure(RulerFailure::NoTicks);
    std::optional<Corridor> near = corridor;
    for (int iteration = 0; iteration < 6; ++iteration) {
        const std::optional<Band> band = FindBand(g, fr, near ? std::optional<Band>(near->in(fr)) : std::nullopt);
        // A turn that loses the ruler keeps the fit before it.
        if (!band)
            return out;
        const Profiles p = TakeProfiles(g, fr, *band);
        const double n = static_cast<double>(p.full.size());
        double strength = 0.0;
        const double period = ProfilePeriod(p.full, 2.5 / kStep, std::min(n / 4.0, 150.0 / kStep), &strength);
        if (!(period > 0.0) || strength < 0.3)
            return out;
        const int polarity = TickPolarity(Detrend(p.full, period));
        const std::vector<double> d = Oriented(Detrend(p.full, period), polarity);
        const std::vector<double> full = Oriented(p.full, polarity);
        const std::vector<TickWindow> windows = FindTickWindows(d, period);
        std::vector<double> centres;
        std::vector<double> depths;
        for (const TickWindow &w : windows) {
            centres.push_back(TickCentroid(full, w));
            depths.push_back(w.depth);
        }
        const TickFit fit = NumberAndFit(centres, depths, period);
        if (fit.chainLength < kMinRulerTicks && !out.found())
            return Failure(fit.chainLength >= 2 ? RulerFailure::TooShort : RulerFailure::NoTicks, fit.chainLength);
        if (fit.chainLength < kMinRulerTicks || !fit.regular || static_cast<int>(fit.kept.size()) < kMinRulerTicks)
            return out;

        // The lean of the ticks against the frame, from the two halves.
        double lean = 0.0;
        double uLean = 0.0;
        const double dt = p.tBottom - p.tTop;
        if (dt >= 2.0) {
            const std::vector<double> top = Oriented(p.top, polarity);
            const std::vector<double> bottom = Oriented(p.bottom, polarity);
            std::vector<double> shifts;
            for (int k : fit.kept) {
                const TickWindow &w = windows[static_cast<std::size_t>(k)];
                shifts.push_back((TickCentroid(bottom, w) - TickCentroid(top, w)) * kStep / dt);
            }
            std::vector<double> sorted = shifts;
            std::nth_element(sorted.begin(), sorted.begin() + static_cast<std::ptrdiff_t>(sorted.size() / 2), sorted.end());
            const double med = sorted[sorted.size() / 2];
            double sum = 0.0, sum2 = 0.0;
            int m = 0;
            for (double sh : shifts)
                if (std::abs(sh - med) < 0.2) {
                    sum += sh;
                    sum2 += sh * sh;
                    ++m;
                }
            if (m >= 2) {
                lean = sum / m;
                uLean = std::sqrt(std::max(0.0, sum2 / m - lean * lean) / (m - 1));
            }
        }

        out = RulerResult{};
        out.failure = RulerFailure::None;
        out.pixelsPerDivision = fit.pitch * kStep;
        // A lean left uncorrected stretches the pitch by 1 / cos.
        const double leanTerm = out.pixelsPerDivision * 0.5 * (lean * lean + uLean * uLean);
        out.uPixelsPerDivision = std::hypot(fit.uPitch * kStep, leanTerm);
        out.residualPx = fit.residual * kStep;
        out.ticks = static_cast<int>(fit.kept.size());
        double deg = std::atan2(fr.s, fr.c) * 180.0 / std::numbers::pi;
        if (deg <= -90.0)
            deg += 180.0;
        if (deg > 90.0)
            deg -= 180.0;
        out.angleDeg = deg;
        const double tMid = 0.5 * (band->t0 + band->t1);
        out.tickHalfLength = 0.5 * (band->t1 - band->t0) + 0.5;
        const int first = *std::min_element(fit.numbers.begin(), fit.numbers.end());
        for (std::size_t i = 0; i < fit.kept.size(); ++i) {
            const double s = p.s0 + centres[static_cast<std::size_t>(fit.kept[i])] * kStep;
            out.tickPositions.push_back(fr.point(s, tMid));
            out.tickNumbers.push_back(fit.numbers[i] - first);
        }
        if (std::abs(lean) < 1e-4)
            break;
        // The next turn only needs to look near this band.
        const Corridor next{fr.point(band->s0, tMid), fr.point(band->s1, tMid), 0.5 * (band->t1 - band->t0) + 24.0};
        near = next;
        fr = Frame::FromAngle(std::atan2(fr.s, fr.c) - std::atan(lean));
    }
    return out;
}

RulerResult Diagnose(const Grey &g, RulerResult r)
{
    if (r.failure == RulerFailure::NoTicks && MostlyClipped(g))
        return Failure(RulerFailure::Saturated);
    return r;
}

}  // namespace

RulerResult RulerFinder::find(const QImage &image) const
{
    if (image.isNull() || image.width() < kMinImageSide || image.height() < kMinImageSide)
        return Failure(RulerFailure::ImageTooSmall, image.width(), image.height());
    const Grey g = ToGrey(image);
    RulerResult best = Failure(RulerFailure::NoTicks);
    for (double angle : EdgeDirections(g)) {
        RulerResult r = FitRuler(g, Frame::FromAngle(angle), std::nullopt);
        if (r.found())
            return r;
        if (Better(r, best))
            best = r;
    }
    return Diagnose(g, best);
}

RulerResult RulerFinder::findAlong(const QImage &image, QPointF a, QPointF b) const
{
    if (image.isNull() || image.width() < kMinImageSide || image.height() < kMinImageSide)
        return Failure(RulerFailure::ImageTooSmall, image.width(), image.height());
    const QPointF d = b - a;
    const double len = std::hypot(d.x(), d.y());
    if (!(len >= 20.0) || !std::isfinite(len))
        return Failure(RulerFailure::LineTooShort);
    const Grey g = ToGrey(image);
    const Frame fr{d.x() / len, d.y() / len};
    const Corridor corridor{a, b, std::clamp(0.1 * len, 16.0, 120.0)};
    return Diagnose(g, FitRuler(g, fr, corridor));
}

}  // namespace orv
