#pragma once
// Ticks on a profile taken along a ruler: the period, each tick's centre to a
// fraction of a sample, the numbering by gaps and the straight-line fit of
// centre against number. Positions are in samples of the profile.

#include <vector>

namespace orv {

struct TickWindow {
    int lo = 0;       // the maxima either side of the tick
    int hi = 0;
    int minimum = 0;  // the tick's lowest sample
    double depth = 0.0;
};

struct TickFit {
    bool regular = false;
    double offset = 0.0;  // centre of tick number 0
    double pitch = 0.0;
    double uPitch = 0.0;
    double residual = 0.0;  // RMS residual
    std::vector<int> kept;  // indices into the centres that the fit uses
    std::vector<int> numbers;
    int chainLength = 0;  // ticks in the longest regular run, before outliers
};

// Period of the profile in samples between minPeriod and maxPeriod (the first
// strong peak of its autocorrelation); 0 when nothing repeats. strength gets
// the autocorrelation at that period (1 for a perfect repetition).
double ProfilePeriod(const std::vector<double> &profile, double minPeriod, double maxPeriod, double *strength);

// The profile minus its running mean over about two periods.
std::vector<double> Detrend(const std::vector<double> &profile, double period);

// +1 when the ticks are the narrow dark dips of the detrended profile, -1 when
// they are narrow bright peaks (the profile is then multiplied by -1).
int TickPolarity(const std::vector<double> &detrended);

// Local minima at least 0.35 periods from a lower one, with whole windows.
std::vector<TickWindow> FindTickWindows(const std::vector<double> &d, double period);

// Centre of the dip within the window of profile p (ticks as dips): the
// centroid of its depth below the straight line joining the maxima either
// side, less a fifth of the full depth (those samples carry mostly noise).
// The minimum is looked up again within the window.
double TickCentroid(const std::vector<double> &p, TickWindow w);

// Numbers the centres by their gaps (a missing tick leaves a double gap; a
// spurious dip between ticks is dropped), keeps the longest regular run and
// fits centre = offset + pitch * number, removing outliers.
TickFit NumberAndFit(const std::vector<double> &centres, const std::vector<double> &depths, double period);

// Least-squares line through (numbers, centres) restricted to kept.
void FitLine(const std::vector<double> &centres, TickFit &fit);

}  // namespace orv
