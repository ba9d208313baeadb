#include "calib/tick_series.h"

#include <algorithm>
#include <cmath>
#include <functional>

namespace orv {
namespace {

double Median(std::vector<double> v)
{
    if (v.empty())
        return 0.0;
    const auto mid = v.begin() + static_cast<std::ptrdiff_t>(v.size() / 2);
    std::nth_element(v.begin(), mid, v.end());
    return *mid;
}

}  // namespace

double ProfilePeriod(const std::vector<double> &profile, double minPeriod, double maxPeriod, double *strength)
{
    *strength = 0.0;
    const int n = static_cast<int>(profile.size());
    const int lo = std::max(2, static_cast<int>(std::floor(minPeriod)));
    const int hi = std::min(n / 2, static_cast<int>(std::ceil(maxPeriod)) + 1);
    if (hi <= lo + 1)
        return 0.0;
    // A running mean wider than any period removes the illumination.
    const std::vector<double> d = Detrend(profile, maxPeriod);
    double energy = 0.0;
    for (double x : d)
        energy += x * x;
    if (!(energy > 0.0))
        return 0.0;
    std::vector<double> r(static_cast<std::size_t>(hi + 1), 0.0);
    for (int lag = lo - 1; lag <= hi; ++lag) {
        double s = 0.0;
        for (int i = 0; i + lag < n; ++i)
            s += d[static_cast<std::size_t>(i)] * d[static_cast<std::size_t>(i + lag)];
        r[static_cast<std::size_t>(lag)] = s / energy;
    }
    double best = 0.0;
    for (int lag = lo; lag < hi; ++lag)
        best = std::max(best, r[static_cast<std::size_t>(lag)]);
    if (!(best > 0.0))
        return 0.0;
    for (int lag = lo; lag < hi; ++lag) {
        const double a = r[static_cast<std::size_t>(lag - 1)];
        const double b = r[static_cast<std::size_t>(lag)];
        const double c = r[static_cast<std::size_t>(lag + 1)];
        // The first strong peak: multiples of the period score nearly as high.
        if (b >= a && b >= c && b >= 0.6 * best) {
            const double den = a - 2.0 * b + c;
            const double shift = den < 0.0 ? 0.5 * (a - c) / den : 0.0;
            *strength = b;
            return lag + std::clamp(shift, -0.5, 0.5);
        }
    }
    return 0.0;
}

std::vector<double> Detrend(const std::vector<double> &profile, double period)
{
    const int n = static_cast<int>(profile.size());
    const int half = std::max(1, static_cast<int>(std::lround(period)));
    std::vector<double> prefix(static_cast<std::size_t>(n) + 1, 0.0);
    for (int i = 0; i < n; ++i)
        prefix[static_cast<std::size_t>(i) + 1] = prefix[static_cast<std::size_t>(i)] + profile[static_cast<std::size_t>(i)];
    std::vector<double> out(static_cast<std::size_t>(n));
    for (int i = 0; i < n; ++i) {
        const int a = std::max(0, i - half);
        const int b = std::min(n, i + half + 1);
        const double mean = (prefix[static_cast<std::size_t>(b)] - prefix[static_cast<std::size_t>(a)]) / (b - a);
        out[static_cast<std::size_t>(i)] = profile[static_cast<std::size_t>(i)] - mean;
    }
    return out;
}

int TickPolarity(const std::vector<double> &detrended)
{
    // Narrow dips skew the distribution toward the dark side.
    double m3 = 0.0;
    for (double x : detrended)
        m3 += x * x * x;
    return m3 <= 0.0 ? 1 : -1;
}

std::vector<TickWindow> FindTickWindows(const std::vector<double> &d, double period)
{
    std::vector<TickWindow> out;
    const int n = static_cast<int>(d.size());
    const int q = std::max(1, static_cast<int>(std::floor(0.35 * period)));
    const int reach = std::max(2, static_cast<int>(std::ceil(0.6 * period)));
    for (int i = reach; i + reach < n; ++i) {
        const double v = d[static_cast<std::size_t>(i)];
        bool lowest = true;
        for (int k = std::max(0, i - q); k <= std::min(n - 1, i + q) && lowest; ++k) {
            const double w = d[static_cast<std::size_t>(k)];
            // Ties go to the first sample of a flat bottom.
            lowest = w > v || (w == v && k >= i);
        }
        if (!lowest)
            continue;
        TickWindow t;
        t.minimum = i;
        t.lo = i;
        t.hi = i;
        for (int k = i - reach; k < i; ++k)
            if (d[static_cast<std::size_t>(k)] > d[static_cast<std::size_t>(t.lo)])
                t.lo = k;
        for (int k = i + 1; k <= i + reach; ++k)
            if (d[static_cast<std::size_t>(k)] > d[static_cast<std::size_t>(t.hi)])
                t.hi = k;
        t.depth = std::min(d[static_cast<std::size_t>(t.lo)], d[static_cast<std::size_t>(t.hi)]) - v;
        if (t.depth > 0.0)
            out.push_back(t);
    }
    return out;
}

double TickCentroid(const std::vector<double> &p, TickWindow w)
{
    if (w.hi <= w.lo)
        return w.minimum;
    const double left = p[static_cast<std::size_t>(w.lo)];
    const double slope = (p[static_cast<std::size_t>(w.hi)] - left) / (w.hi - w.lo);
    auto depth = [&](int k) { return left + slope * (k - w.lo) - p[static_cast<std::size_t>(k)]; };
    for (int k = w.lo; k <= w.hi; ++k)
        if (depth(k) > depth(w.minimum))
            w.minimum = k;
    const double cut = 0.2 * depth(w.minimum);
    double sw = 0.0;
    double sx = 0.0;
    for (int k = w.lo; k <= w.hi; ++k) {
        const double wt = depth(k) - cut;
        if (wt > 0.0) {
            sw += wt;
            sx += wt * k;
        }
    }
    return sw > 0.0 ? sx / sw : w.minimum;
}

void FitLine(const std::vector<double> &centres, TickFit &fit)
{
    const std::size_t m = fit.kept.size();
    double sn = 0.0;
    double sc = 0.0;
    for (std::size_t i = 0; i < m; ++i) {
        sn += fit.numbers[i];
        sc += centres[static_cast<std::size_t>(fit.kept[i])];
    }
    const double nm = sn / static_cast<double>(m);
    const double cm = sc / static_cast<double>(m);
    double sxx = 0.0;
    double sxy = 0.0;
    for (std::size_t i = 0; i < m; ++i) {
        const double dn = fit.numbers[i] - nm;
        sxx += dn * dn;
        sxy += dn * (centres[static_cast<std::size_t>(fit.kept[i])] - cm);
    }
    fit.pitch = sxx > 0.0 ? sxy / sxx : 0.0;
    fit.offset = cm - fit.pitch * nm;
    double ssr = 0.0;
    for (std::size_t i = 0; i < m; ++i) {
        const double r = centres[static_cast<std::size_t>(fit.kept[i])] - fit.offset - fit.pitch * fit.numbers[i];
        ssr += r * r;
    }
    fit.residual = m > 0 ? std::sqrt(ssr / static_cast<double>(m)) : 0.0;
    fit.uPitch = m > 2 && sxx > 0.0 ? std::sqrt(ssr / static_cast<double>(m - 2) / sxx) : 0.0;
}

TickFit NumberAndFit(const std::vector<double> &centres, const std::vector<double> &depths, double period)
{
    TickFit fit;
    if (centres.empty() || !(period > 0.0))
        return fit;
    // Noise dips are far shallower than the ticks; the third deepest dip is
    // a tick unless two blots are darker still.
    std::vector<double> sorted = depths;
    std::sort(sorted.begin(), sorted.end(), std::greater<>());
    const double strong = sorted[std::min<std::size_t>(2, sorted.size() - 1)];
    std::vector<std::vector<int>> chains;
    std::vector<std::vector<int>> numbers;
    int last = -1;
    for (int i = 0; i < static_cast<int>(centres.size()); ++i) {
        if (depths[static_cast<std::size_t>(i)] < 0.3 * strong)
            continue;
        if (last >= 0) {
            const double r = (centres[static_cast<std::size_t>(i)] - centres[static_cast<std::size_t>(last)]) / period;
            const double k = std::round(r);
            if (k >= 1.0 && k <= 3.0 && std::abs(r - k) <= 0.3) {
                chains.back().push_back(i);
                numbers.back().push_back(numbers.back().back() + static_cast<int>(k));
                last = i;
                continue;
            }
            // Off the grid but close: an extra dip between two ticks.
            if (r < 3.0)
                continue;
        }
        chains.push_back({i});
        numbers.push_back({0});
        last = i;
    }
    std::size_t best = 0;
    for (std::size_t c = 0; c < chains.size(); ++c)
        if (chains[c].size() > chains[best].size())
            best = c;
    if (chains.empty())
        return fit;
    fit.kept = chains[best];
    fit.numbers = numbers[best];
    fit.chainLength = static_cast<int>(fit.kept.size());
    if (fit.chainLength < 3)
        return fit;
    // One worst tick at a time, so that a single blot cannot drag good
    // ticks out with it; at most a fifth of the run goes.
    const std::size_t most = fit.kept.size() / 5;
    for (std::size_t removed = 0; removed < most; ++removed) {
        FitLine(centres, fit);
        std::vector<double> res;
        for (std::size_t i = 0; i < fit.kept.size(); ++i)
            res.push_back(std::abs(centres[static_cast<std::size_t>(fit.kept[i])] - fit.offset -
                                   fit.pitch * fit.numbers[i]));
        const double limit = std::max(5.0 * 1.4826 * Median(res), 1e-3 * period);
        const auto worst = std::max_element(res.begin(), res.end());
        if (*worst <= limit)
            break;
        const auto at = worst - res.begin();
        fit.kept.erase(fit.kept.begin() + at);
        fit.numbers.erase(fit.numbers.begin() + at);
    }
    FitLine(centres, fit);
    fit.regular = fit.residual < 0.04 * fit.pitch && fit.pitch > 0.0;
    return fit;
}

}  // namespace orv
