#include "calibrate/calibrate_command.h"

#include <QImage>
#include <QString>

#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <ostream>

#include "calib/ruler_finder.h"
#include "core/number_reading.h"

namespace orv {
namespace {

constexpr const char *kUsage =
    "usage: orvalin-calibrate IMAGE --spacing LENGTH --unit UNIT [--line X1,Y1,X2,Y2]\n";

struct Arguments {
    std::string image;
    double spacing = 0.0;
    std::string unit;
    std::optional<std::vector<double>> line;
};

// A whole text that is a decimal number ("10", "-2.5", "1e3"); ReadDecimal
// alone would read "10abc" as 10. Independent of the process locale.
std::optional<double> WholeNumber(const std::string &text)
{
    std::size_t i = 0;
    auto digits = [&] {
        const std::size_t from = i;
        while (i < text.size() && text[i] >= '0' && text[i] <= '9')
            ++i;
        return i - from;
    };
    if (i < text.size() && (text[i] == '+' || text[i] == '-'))
        ++i;
    std::size_t mantissa = digits();
    if (i < text.size() && text[i] == '.') {
        ++i;
        mantissa += digits();
    }
    if (mantissa == 0)
        return std::nullopt;
    if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
        ++i;
        if (i < text.size() && (text[i] == '+' || text[i] == '-'))
            ++i;
        if (digits() == 0)
            return std::nullopt;
    }
    if (i != text.size())
        return std::nullopt;
    const double v = ReadDecimal(text);
    return std::isfinite(v) ? std::optional<double>(v) : std::nullopt;
}

std::optional<std::vector<double>> LineNumbers(const std::string &text)
{
    std::vector<double> out;
    std::size_t start = 0;
    while (true) {
        const std::size_t comma = text.find(',', start);
        const std::optional<double> v = WholeNumber(text.substr(start, comma - start));
        if (!v)
            return std::nullopt;
        out.push_back(*v);
        if (comma == std::string::npos)
            break;
        start = comma + 1;
    }
    if (out.size() != 4)
        return std::nullopt;
    return out;
}

// Nullopt with a reason for bad arguments.
std::optional<Arguments> Parse(const std::vector<std::string> &args, std::string &why)
{
    Arguments a;
    bool spacing = false;
    for (std::size_t i = 0; i < args.size(); ++i) {
        std::string name = args[i];
        std::optional<std::string> value;
        if (name.rfind("--", 0) == 0) {
            const std::size_t eq = name.find('=');
            if (eq != std::string::npos) {
                value = name.substr(eq + 1);
                name = name.substr(0, eq);
            } else if (i + 1 < args.size()) {
                value = args[++i];
            }
            if (!value) {
                why = name + " needs a value";
                return std::nullopt;
            }
            if (name == "--spacing") {
                const std::optional<double> v = WholeNumber(*value);
                if (!v || !(*v > 0.0)) {
                    why = "--spacing must be a positive number";
                    return std::nullopt;
                }
                a.spacing = *v;
                spacing = true;
            } else if (name == "--unit") {
                if (value->empty()) {
                    why = "--unit must not be empty";
                    return std::nullopt;
                }
                a.unit = *value;
            } else if (name == "--line") {
                a.line = LineNumbers(*value);
                if (!a.line) {
                    why = "--line takes four numbers X1,Y1,X2,Y2";
                    return std::nullopt;
                }
            } else {
                why = "unknown option " + name;
                return std::nullopt;
            }
        } else if (a.image.empty() && !name.empty()) {
            a.image = name;
        } else {
            why = "one image only";
            return std::nullopt;
        }
    }
    if (a.image.empty())
        why = "no image given";
    else if (!spacing)
        why = "--spacing is missing";
    else if (a.unit.empty())
        why = "--unit is missing";
    else
        return a;
    return std::nullopt;
}

std::string JsonString(const std::string &s)
{
    std::string out = "\"";
    for (const char c : s) {
        if (c == '"' || c == '\\') {
            out += '\\';
            out += c;
        } else if (static_cast<unsigned char>(c) < 0x20) {
            char buf[8];
            std::snprintf(buf, sizeof buf, "\\u%04x", static_cast<unsigned>(c));
            out += buf;
        } else {
            out += c;
        }
    }
    return out + "\"";
}

// Locale-independent: the application object adopts the user's locale,
// whose decimal comma would break the JSON.
std::string Number(double v)
{
    char buf[40];
    const auto end = std::to_chars(buf, buf + sizeof buf, v, std::chars_format::general, 10).ptr;
    return std::string(buf, end);
}

}  // namespace

int RunCalibrateCommand(const std::vector<std::string> &args, std::ostream &out, std::ostream &err, Language lang)
{
    if (args.size() == 1 && (args[0] == "--help" || args[0] == "-h")) {
        out << kUsage;
        return 0;
    }
    std::string why;
    const std::optional<Arguments> a = Parse(args, why);
    if (!a) {
        err << "orvalin-calibrate: " << why << "\n" << kUsage;
        return 1;
    }
    const QImage image(QString::fromStdString(a->image));
    if (image.isNull()) {
        err << "orvalin-calibrate: cannot read the image " << a->image << "\n";
        return 1;
    }
    const RulerFinder finder;
    const RulerResult r = a->line ? finder.findAlong(image, QPointF((*a->line)[0], (*a->line)[1]),
                                                     QPointF((*a->line)[2], (*a->line)[3]))
                                  : finder.find(image);
    if (!r.found()) {
        err << RulerFailureText(r, lang) << "\n";
        return 2;
    }
    out << "{\"pixels_per_division\": " << Number(r.pixelsPerDivision)
        << ", \"u_pixels_per_division\": " << Number(r.uPixelsPerDivision) << ", \"ticks\": " << r.ticks
        << ", \"angle_deg\": " << Number(r.angleDeg) << ", \"residual_px\": " << Number(r.residualPx)
        << ", \"length_per_pixel\": " << Number(a->spacing / r.pixelsPerDivision)
        << ", \"unit\": " << JsonString(a->unit) << "}\n";
    return 0;
}

Language CommandLanguage()
{
    for (const char *name : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
        const char *v = std::getenv(name);
        if (v != nullptr && *v != '\0')
            return LanguageOfLocaleName(v) == "ja" ? Language::Japanese : Language::English;
    }
    return Language::English;
}

}  // namespace orv
