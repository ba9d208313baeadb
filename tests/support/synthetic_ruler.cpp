#include "synthetic_ruler.h"

#include <QBuffer>

#include <algorithm>
#include <cmath>
#include <numbers>
#include <random>
#include <sstream>
#include <vector>

namespace orv::test {
namespace {

constexpr double kShortTick = 24.0;
constexpr double kMargin = 24.0;

// A box of width w blurred by a Gaussian of sigma s, at distance d from its middle.
double BlurredBox(double d, double w, double s)
{
    const double k = 1.0 / (s * std::numbers::sqrt2);
    return 0.5 * (std::erf((d + 0.5 * w) * k) - std::erf((d - 0.5 * w) * k));
}

double TickLength(int k)
{
    return k % 10 == 0 ? 2.0 * kShortTick : k % 5 == 0 ? 1.5 * kShortTick : kShortTick;
}

QImage RoundTrip(const QImage &img, RulerFormat f)
{
    if (f == RulerFormat::Raw)
        return img;
    QByteArray bytes;
    QBuffer buf(&bytes);
    buf.open(QIODevice::WriteOnly);
    img.save(&buf, f == RulerFormat::Png ? "PNG" : "JPG", f == RulerFormat::Png ? 100 : 75);
    QImage back;
    back.loadFromData(bytes);
    return back;
}

}  // namespace

QImage SyntheticRuler::draw(std::uint32_t seed) const
{
    const double rad = angleDeg * std::numbers::pi / 180.0;
    const double c = std::cos(rad);
    const double s = std::sin(rad);
    const double length = (ticks - 1) * pitch;
    // Ruler frame: along from a pitch and a margin before the first tick to as
    // far after the last, across from -margin to the longest tick + margin;
    // the image holds it whole.
    const double a0 = -kMargin - pitch, a1 = length + kMargin + pitch, b0 = -kMargin, b1 = 2.0 * kShortTick + kMargin;
    double xmin = 1e300, xmax = -1e300, ymin = 1e300, ymax = -1e300;
    for (double a : {a0, a1})
        for (double b : {b0, b1}) {
            xmin = std::min(xmin, a * c - b * s);
            xmax = std::max(xmax, a * c - b * s);
            ymin = std::min(ymin, a * s + b * c);
            ymax = std::max(ymax, a * s + b * c);
        }
    const int w = canvasWidth > 0 ? canvasWidth : static_cast<int>(std::ceil(xmax - xmin)) + 1;
    const int h = canvasHeight > 0 ? canvasHeight : static_cast<int>(std::ceil(ymax - ymin)) + 1;
    // The ruler's origin in the image, off the pixel grid by a seeded fraction.
    std::mt19937 rng(seed);
    std::uniform_real_distribution<double> frac(0.0, 1.0);
    const double ox = 0.5 * (w - 1) - 0.5 * ((xmin + xmax)) + frac(rng);
    const double oy = 0.5 * (h - 1) - 0.5 * ((ymin + ymax)) + frac(rng);
    // The camera's pixel adds a box of variance 1/12 in every direction.
    const double sigma = std::sqrt(blur * blur + 1.0 / 12.0);
    const double ground = lightTicks ? 50.0 : 200.0;
    const double contrast = lightTicks ? 150.0 : -140.0;
    // A table of normal deviates read at random places: drawing one per
    // pixel would dominate the tests' run time.
    std::normal_distribution<double> gauss(0.0, 1.0);
    std::vector<float> deviates(1 << 16);
    for (float &d : deviates)
        d = static_cast<float>(gauss(rng));
    std::uint32_t state = seed * 747796405u + 2891336453u;
    if (state == 0)
        state = 1;
    auto nextDeviate = [&] {
        state ^= state << 13;
        state ^= state >> 17;
        state ^= state << 5;
        return deviates[state & 0xFFFFu];
    };
    const double reach = 0.5 * tickWidth + 5.0 * sigma;
    const double gx = light * (frac(rng) - 0.5) * 2.0;
    const double gy = light * (frac(rng) - 0.5) * 2.0;
    QImage img(w, h, QImage::Format_Grayscale8);
    for (int y = 0; y < h; ++y) {
        uchar *line = img.scanLine(y);
        for (int x = 0; x < w; ++x) {
            const double dx = x - ox;
            const double dy = y - oy;
            const double along = dx * c + dy * s;
            const double across = -dx * s + dy * c;
            double ink = 0.0;
            if (across > -6.0 && across < 2.0 * kShortTick + 6.0) {
                const int near = static_cast<int>(std::lround(along / pitch));
                for (int k = near - 1; k <= near + 1; ++k) {
                    if (k < 0 || k >= ticks || k == missingTick || std::abs(along - k * pitch) > reach)
                        continue;
                    const double len = TickLength(k);
                    ink += BlurredBox(along - k * pitch, tickWidth, sigma) *
                           BlurredBox(across - 0.5 * len, len, sigma);
                }
            }
            const double u = static_cast<double>(x) / w - 0.5;
            const double v = static_cast<double>(y) / h - 0.5;
            const double shade = 1.0 + gx * u + gy * v - light * (u * u + v * v);
            const double value = gain * (shade * (ground + contrast * ink)) + noise * nextDeviate();
            line[x] = static_cast<uchar>(std::clamp(std::lround(value), 0L, 255L));
        }
    }
    return RoundTrip(img, format);
}

std::string SyntheticRuler::describe() const
{
    std::ostringstream o;
    o << "pitch " << pitch << " ticks " << ticks << " angle " << angleDeg << " width " << tickWidth << " blur "
      << blur << " noise " << noise << " light " << light << (lightTicks ? " light-on-dark" : " dark-on-light")
      << " format " << static_cast<int>(format);
    return o.str();
}

SyntheticRuler SyntheticRuler::Random(std::uint32_t seed)
{
    std::mt19937 rng(seed * 2654435761u + 17u);
    auto uni = [&](double lo, double hi) { return std::uniform_real_distribution<double>(lo, hi)(rng); };
    SyntheticRuler r;
    r.pitch = uni(5.0, 40.0);
    if (std::abs(r.pitch - std::round(r.pitch)) < 0.01)
        r.pitch += 0.037;
    // Long rulers at large pitches would make images too big for a quick test.
    const int most = std::clamp(static_cast<int>(2000.0 / r.pitch), 50, 120);
    r.ticks = std::uniform_int_distribution<int>(50, most)(rng);
    r.angleDeg = uni(-10.0, 10.0);
    if (uni(0.0, 1.0) < 0.2)
        r.angleDeg += 90.0;
    r.tickWidth = std::min(uni(2.0, 4.0), 0.6 * r.pitch);
    r.blur = uni(0.7, 1.5);
    r.noise = uni(1.0, 6.0);
    r.light = uni(0.0, 0.3);
    r.lightTicks = uni(0.0, 1.0) < 0.3;
    const int f = std::uniform_int_distribution<int>(0, 2)(rng);
    r.format = f == 0 ? RulerFormat::Raw : f == 1 ? RulerFormat::Png : RulerFormat::Jpeg75;
    return r;
}

QImage DrawBlank(int width, int height, std::uint32_t seed)
{
    SyntheticRuler r;
    r.ticks = 0;
    r.canvasWidth = width;
    r.canvasHeight = height;
    return r.draw(seed);
}

}  // namespace orv::test
