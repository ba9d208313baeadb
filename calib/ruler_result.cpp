#include "calib/ruler_result.h"

#include <algorithm>

namespace orv {

int RulerResult::span() const
{
    if (tickNumbers.empty())
        return 0;
    const auto [lo, hi] = std::minmax_element(tickNumbers.begin(), tickNumbers.end());
    return *hi - *lo;
}

std::string RulerFailureText(const RulerResult &r, Language lang)
{
    const bool en = lang == Language::English;
    const std::string a = std::to_string(r.detailA);
    const std::string b = std::to_string(r.detailB);
    const std::string least = std::to_string(kMinRulerTicks);
    std::string why;
    switch (r.failure) {
    case RulerFailure::None:
        return {};
    case RulerFailure::NoTicks:
        why = en ? "no regular ticks on the image." : "規則的な目盛りがありません。";
        break;
    case RulerFailure::TooShort:
        why = en ? "the ruler is too short (" + a + " ticks; at least " + least + " are needed)."
                 : "定規が短すぎます（目盛り " + a + " 本、" + least + " 本以上必要です）。";
        break;
    case RulerFailure::Saturated:
        why = en ? "the image is saturated (most pixels are pure black or white)."
                 : "画像が飽和しています（大半の画素が真っ黒か真っ白です）。";
        break;
    case RulerFailure::ImageTooSmall:
        why = en ? "the image is too small (" + a + " x " + b + " pixels)."
                 : "画像が小さすぎます（" + a + " × " + b + " ピクセル）。";
        break;
    case RulerFailure::LineTooShort:
        why = en ? "the line along the ruler is too short." : "定規に沿う線が短すぎます。";
        break;
    }
    return (en ? "No ruler found: " : "定規が見つかりません: ") + why;
}

}  // namespace orv
