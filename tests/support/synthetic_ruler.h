#pragma once
// Draws rulers for the finder's tests: ticks rendered from their exact
// blurred shapes (so the true centres are known to any precision), then
// uneven light, noise, 8-bit rounding and optionally a PNG or JPEG trip.

#include <QImage>

#include <cstdint>
#include <string>

namespace orv::test {

enum class RulerFormat { Raw, Png, Jpeg75 };

struct SyntheticRuler {
    double pitch = 10.3;      // px between tick centres
    int ticks = 60;
    double angleDeg = 0.0;    // direction of the ruler, y down
    double tickWidth = 3.0;   // px
    double blur = 1.0;        // Gaussian sigma, px
    double noise = 3.0;       // grey levels, sigma
    double light = 0.2;       // relative swing of the uneven illumination
    bool lightTicks = false;  // bright ticks on a dark ground
    int missingTick = -1;     // a tick left out (dust, a scratch)
    double gain = 1.0;        // >1 overexposes
    RulerFormat format = RulerFormat::Raw;
    int canvasWidth = 0;      // 0: just large enough for the ruler
    int canvasHeight = 0;

    QImage draw(std::uint32_t seed) const;
    std::string describe() const;

    // A random case within the ranges the finder is held to.
    static SyntheticRuler Random(std::uint32_t seed);
};

// Noise and shading without ticks.
QImage DrawBlank(int width, int height, std::uint32_t seed);

}  // namespace orv::test
