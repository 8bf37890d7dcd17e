#include "views/scope_model.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace zephran::views {
namespace {

constexpr double kSmallestScale = 0.1;

// Whole pixels far beyond any screen, so a wild value still converts to an int.
constexpr double kFarOff = 1e7;

double Round9(double value) {
    return std::round(value * 1e9) / 1e9;
}

int Trunc(double value) {
    if (std::isnan(value)) return 0;
    return static_cast<int>(std::clamp(value, -kFarOff, kFarOff));
}

std::string Format(const char* format, double value) {
    char text[64];
    std::snprintf(text, sizeof text, format, value);
    return text;
}

// Clear pixels kept between two axis labels.
constexpr int kLabelGap = 3;

// Across the bottom strip: the name's inset, the gaps between name, readout and unit, the
// margin after the unit, and the least room kept at either end.
constexpr int kNameInset = 35;
constexpr int kCaptionGap = 5;
constexpr int kUnitMargin = 25;
constexpr int kTightMargin = 4;

// The off-scale arrow: half its base and its height.
constexpr int kArrowHalfWidth = 5;
constexpr int kArrowHeight = 7;

// A label and its rank: of two that overlap, the lower rank is kept.
struct RankedLabel {
    int rank;
    AxisLabel label;
};

// The pixels a label's text covers.
Rect LabelBox(const AxisLabel& label, const LabelMetrics& metrics) {
    const int width = metrics.width(label.text);
    int left = label.at.x;
    if (label.align == TextAlign::Right) left -= width;
    if (label.align == TextAlign::Centre) left -= width / 2;
    const int top = label.anchor == TextAnchor::Top ? label.at.y : label.at.y - metrics.ascent;
    return {left, top, left + width, top + metrics.ascent};
}

bool TooClose(const Rect& a, const Rect& b) {
    return a.left < b.right + kLabelGap && b.left < a.right + kLabelGap &&
           a.top < b.bottom + kLabelGap && b.top < a.bottom + kLabelGap;
}

// The candidates that keep clear of every label of a lower rank kept before them, in the
// candidates' order.
std::vector<AxisLabel> Unoverlapped(std::vector<RankedLabel> candidates,
                                    const LabelMetrics& metrics) {
    std::vector<std::size_t> byRank(candidates.size());
    for (std::size_t i = 0; i < byRank.size(); ++i)
        byRank[i] = i;
    std::stable_sort(byRank.begin(), byRank.end(), [&](std::size_t a, std::size_t b) {
        return candidates[a].rank < candidates[b].rank;
    });
    std::vector<bool> kept(candidates.size(), false);
    std::vector<Rect> boxes;
    for (std::size_t i : byRank) {
        const Rect box = LabelBox(candidates[i].label, metrics);
        if (std::any_of(boxes.begin(), boxes.end(),
                        [&](const Rect& other) { return TooClose(box, other); }))
            continue;
        kept[i] = true;
        boxes.push_back(box);
    }
    std::vector<AxisLabel> labels;
    for (std::size_t i = 0; i < candidates.size(); ++i) {
        if (kept[i]) labels.push_back(std::move(candidates[i].label));
    }
    return labels;
}

// Twice the signed area of (a, b, p): which side of a→b the point p lies on.
long long Side(Point a, Point b, Point p) {
    return static_cast<long long>(b.x - a.x) * (p.y - a.y) -
           static_cast<long long>(b.y - a.y) * (p.x - a.x);
}

}  // namespace

bool Triangle::Contains(Point p) const {
    const long long s1 = Side(apex, baseLeft, p);
    const long long s2 = Side(baseLeft, baseRight, p);
    const long long s3 = Side(baseRight, apex, p);
    const bool negative = s1 < 0 || s2 < 0 || s3 < 0;
    const bool positive = s1 > 0 || s2 > 0 || s3 > 0;
    return !(negative && positive);
}

namespace {

// The name, the readout box and the unit across the strip, left to right.
void PlaceReadout(ScopeGeometry& g, const CaptionMetrics& caption) {
    const Rect& s = g.strip;
    int nameInset = kNameInset;
    int unitMargin = kUnitMargin;
    const auto place = [&] {
        g.readout.left = s.left + nameInset + caption.nameWidth + kCaptionGap;
        g.readout.right = s.right - unitMargin - caption.unitWidth - kCaptionGap;
    };
    place();
    const int shortBy = caption.readoutWidth - g.readout.Width();
    if (shortBy > 0) {
        const int spareName = kNameInset - kTightMargin;
        const int spareUnit = kUnitMargin - kTightMargin;
        const int fromName = std::min(spareName, std::max(shortBy - spareUnit, (shortBy + 1) / 2));
        nameInset -= fromName;
        unitMargin -= std::min(spareUnit, shortBy - fromName);
        place();
    }
    g.name = Point{s.left + nameInset, g.readout.top};
    g.unit = Point{g.readout.right + kCaptionGap, g.readout.top};
    if (g.readout.Width() >= caption.readoutWidth) return;
    g.unit.reset();
    g.readout.right = s.right - kTightMargin;
    if (g.readout.Width() >= caption.readoutWidth) return;
    g.name.reset();
    g.readout.left = s.left + kTightMargin;
}

}  // namespace

ScopeGeometry ComputeScopeGeometry(int width, int height, const CaptionMetrics& caption) {
    ScopeGeometry g;
    g.client = {0, 0, width, height};
    g.frame = {2, 3, width - 3, height - 30};
    const Rect& f = g.frame;
    g.plot = {f.left + 30, f.top + 5, f.right - 23, f.bottom - 25};
    const Rect& p = g.plot;
    g.slider = {p.right + 8, p.top, p.right + 18, p.bottom};
    g.strip = {f.left, f.bottom + 5, f.right, f.bottom + 25};
    const Rect& s = g.strip;
    g.readout.top = s.top + (20 - caption.nameHeight) / 2 + 2;
    g.readout.bottom = g.readout.top + caption.nameHeight;
    PlaceReadout(g, caption);
    g.clip = {p.left + 2, p.top + 2, p.right - 2, p.bottom - 2};

    const int xl = f.left + 15;
    const int xr = g.slider.left + 5;
    const auto up = [&](int x) {
        return Triangle{{x, p.bottom + 3}, {x - 5, p.bottom + 9}, {x + 5, p.bottom + 9}};
    };
    const auto down = [&](int x) {
        return Triangle{{x, p.bottom + 18}, {x - 5, p.bottom + 12}, {x + 5, p.bottom + 12}};
    };
    g.buttons = {up(xl), down(xl), up(xr), down(xr)};
    return g;
}

double VerticalScaleUp(double v) {
    double step = 1000;
    if (v < 1) {
        step = 0.1;
    } else if (v < 10) {
        step = 1;
    } else if (v < 100) {
        step = 10;
    } else if (v < 1000) {
        step = 100;
    }
    return Round9(v + step);
}

double VerticalScaleDown(double v) {
    double step = 0.1;
    if (v > 1000) {
        step = 1000;
    } else if (v > 100) {
        step = 100;
    } else if (v > 10) {
        step = 10;
    } else if (v > 1) {
        step = 1;
    }
    const double result = Round9(v - step);
    return result <= kSmallestScale ? kSmallestScale : result;
}

double TimeScaleUp(double t) {
    return Round9(t + 0.1);
}

double TimeScaleDown(double t) {
    const double result = Round9(t - 0.1);
    return result <= kSmallestScale ? kSmallestScale : result;
}

std::string FormatAxisValue(double value, double valuePerDivision) {
    if (valuePerDivision < 1) return Format("%.1f", value);
    if (valuePerDivision < 1000) return Format("%.0f", value);
    return Format("%.0fK", value / 1000);
}

ScopeModel::ScopeModel() : name_("数值"), unit_("度") {}

bool ScopeModel::SetVerticalScale(double valuePerDivision) {
    if (valuePerDivision == valuePerDivision_) return false;
    valuePerDivision_ = valuePerDivision;
    return true;
}

void ScopeModel::SetLabels(std::string name, std::string unit) {
    name_ = std::move(name);
    unit_ = std::move(unit);
}

void ScopeModel::AddSample(double time, double value) {
    samples_.push_back({time, value});
    while (samples_.back().time - samples_.front().time > 4 * timePerDivision_)
        samples_.pop_front();
}

void ScopeModel::Layout(int width, int height, const CaptionMetrics& caption, LabelMetrics labels) {
    geometry_ = ComputeScopeGeometry(width, height, caption);
    labelMetrics_ = std::move(labels);
    hasGeometry_ = true;
}

int ScopeModel::ZeroY() const {
    const Rect& p = geometry_.plot;
    return p.top + Trunc(p.Height() * (static_cast<double>(zeroNumerator_) / kZeroDenominator));
}

Point ScopeModel::Map(const Sample& sample) const {
    const Rect& p = geometry_.plot;
    const double t0 = samples_.empty() ? sample.time : samples_.front().time;
    const double x = p.left + p.Width() * ((sample.time - t0) / (4 * timePerDivision_));
    // A value that is not a number is drawn on the zero line.
    const double value = std::isnan(sample.value) ? 0.0 : sample.value;
    const double y = ZeroY() - p.Height() * (value / (4 * valuePerDivision_));
    return {Trunc(x), Trunc(y)};
}

std::vector<Point> ScopeModel::TracePoints() const {
    std::vector<Point> points;
    points.reserve(samples_.size());
    for (const Sample& sample : samples_)
        points.push_back(Map(sample));
    return points;
}

std::vector<int> ScopeModel::HorizontalGridRows() const {
    const Rect& p = geometry_.plot;
    const int y0 = ZeroY();
    const int step = p.Height() / 4;
    std::vector<int> rows{y0};
    for (int k = 1; k <= 3; ++k) {
        if (y0 + step * k < p.bottom) rows.push_back(y0 + step * k);
    }
    for (int k = 3; k >= 0; --k) {
        if (y0 - step * k > p.top) rows.push_back(y0 - step * k);
    }
    return rows;
}

std::vector<int> ScopeModel::VerticalGridColumns() const {
    const Rect& p = geometry_.plot;
    return {p.left + p.Width() * 1 / 4, p.left + p.Width() * 2 / 4, p.left + p.Width() * 3 / 4};
}

std::vector<AxisLabel> ScopeModel::VerticalLabels() const {
    const Rect& p = geometry_.plot;
    const int x = p.left - 2;
    const int y0 = ZeroY();
    const int h = p.Height();
    std::vector<RankedLabel> labels;
    labels.push_back({0,
                      {valuePerDivision_ < 1 ? "0.0" : "0",
                       {x, y0 <= p.top + 10 ? y0 + 10 : y0},
                       TextAlign::Right,
                       TextAnchor::Baseline}});
    for (int k = 1; k <= 4; ++k) {
        const int y = y0 + h * k / 4;
        if (y <= p.bottom) {
            labels.push_back({2 * k - 1,
                              {FormatAxisValue(-k * valuePerDivision_, valuePerDivision_),
                               {x, y},
                               TextAlign::Right,
                               TextAnchor::Baseline}});
        }
    }
    for (int k = 1; k <= 4; ++k) {
        const int y = y0 - h * k / 4;
        if (y >= p.top) {
            labels.push_back({2 * k,
                              {FormatAxisValue(k * valuePerDivision_, valuePerDivision_),
                               {x, y <= p.top + 10 ? y + 10 : y},
                               TextAlign::Right,
                               TextAnchor::Baseline}});
        }
    }
    return Unoverlapped(std::move(labels), labelMetrics_);
}

std::vector<AxisLabel> ScopeModel::TimeLabels() const {
    const Rect& p = geometry_.plot;
    const int y = p.bottom + 2;
    // Both ends first, then the middle, then the quarters.
    static constexpr int kRank[] = {0, 3, 2, 4, 1};
    std::vector<RankedLabel> labels{
        {kRank[0], {"0.0", {p.left, y}, TextAlign::Left, TextAnchor::Top}}};
    for (int k = 1; k <= 3; ++k) {
        labels.push_back({kRank[k],
                          {Format("%.1f", k * timePerDivision_),
                           {p.left + p.Width() * k / 4, y},
                           TextAlign::Centre,
                           TextAnchor::Top}});
    }
    labels.push_back(
        {kRank[4],
         {Format("%.1f", 4 * timePerDivision_), {p.right, y}, TextAlign::Right, TextAnchor::Top}});
    return Unoverlapped(std::move(labels), labelMetrics_);
}

OffScale ScopeModel::NewestOffScale() const {
    if (!hasGeometry_ || samples_.empty()) return OffScale::None;
    const int y = Map(samples_.back()).y;
    if (y < geometry_.plot.top) return OffScale::Above;
    if (y > geometry_.plot.bottom) return OffScale::Below;
    return OffScale::None;
}

std::optional<Triangle> ScopeModel::OffScaleArrow() const {
    const OffScale side = NewestOffScale();
    const Rect& c = geometry_.clip;
    if (side == OffScale::None || c.Width() <= 2 * kArrowHalfWidth || c.Height() <= kArrowHeight)
        return std::nullopt;
    const int x =
        std::clamp(Map(samples_.back()).x, c.left + kArrowHalfWidth, c.right - 1 - kArrowHalfWidth);
    const int tip = side == OffScale::Above ? c.top : c.bottom - 1;
    const int base = side == OffScale::Above ? tip + kArrowHeight : tip - kArrowHeight;
    return Triangle{{x, tip}, {x - kArrowHalfWidth, base}, {x + kArrowHalfWidth, base}};
}

Point ScopeModel::ThumbTopLeft() const {
    const Rect& b = geometry_.slider;
    return {b.left, b.top + Trunc((b.Height() - kThumbHeight) *
                                  (static_cast<double>(zeroNumerator_) / kZeroDenominator))};
}

std::string ScopeModel::ReadoutText() const {
    return Format("%.3f", readout_);
}

int ScopeModel::ButtonAt(Point p) const {
    if (!hasGeometry_) return kButtonNone;
    for (int i = 0; i < kScopeButtons; ++i) {
        if (geometry_.buttons[static_cast<std::size_t>(i)].Contains(p)) return i;
    }
    return kButtonNone;
}

int ScopeModel::NumeratorAt(int y) const {
    const Rect& b = geometry_.slider;
    if (b.Height() <= 0) return zeroNumerator_;
    const int half = (b.Height() / 10) / 2;
    return Trunc(static_cast<double>(y + half - b.top) / b.Height() * kZeroDenominator);
}

int ScopeModel::SliderRowFor(int n) const {
    const Rect& b = geometry_.slider;
    const int half = (b.Height() / 10) / 2;
    const int row =
        b.top - half +
        static_cast<int>(std::ceil(static_cast<double>(n) * b.Height() / kZeroDenominator));
    if (n < 0 || n > kZeroDenominator || b.Empty()) return row;
    return std::clamp(row, b.top, b.bottom - 1);
}

// A scale button steps its scale; a press on the slider starts dragging the zero line.
ScopeRedraw ScopeModel::Press(Point p) {
    ScopeRedraw redraw;
    if (!hasGeometry_) return redraw;
    // Each button's step, in button order.
    static constexpr double (*kSteps[kScopeButtons])(double) = {VerticalScaleUp, VerticalScaleDown,
                                                                TimeScaleUp, TimeScaleDown};
    const int button = ButtonAt(p);
    if (button != kButtonNone) {
        double& scale =
            button == kVerticalUp || button == kVerticalDown ? valuePerDivision_ : timePerDivision_;
        scale = kSteps[button](scale);
    } else {
        if (!geometry_.slider.Contains(p)) return redraw;
        dragging_ = true;
        zeroNumerator_ = std::clamp(NumeratorAt(p.y), 0, kZeroDenominator);
    }
    redraw.full = true;
    return redraw;
}

ScopeRedraw ScopeModel::Move(Point p) {
    ScopeRedraw redraw;
    if (!hasGeometry_) return redraw;
    const int over = ButtonAt(p);
    if (over != hovered_) {
        redraw.hoverOff = hovered_;
        redraw.hoverOn = over;
        hovered_ = over;
    }
    if (dragging_) {
        const int n = std::clamp(NumeratorAt(p.y), 0, kZeroDenominator);
        if (n != zeroNumerator_) {
            zeroNumerator_ = n;
            redraw.full = true;
        }
    }
    return redraw;
}

ScopeRedraw ScopeModel::Release() {
    ScopeRedraw redraw;
    dragging_ = false;
    redraw.slider = true;
    return redraw;
}

ScopeRedraw ScopeModel::Leave() {
    ScopeRedraw redraw;
    if (hovered_ != kButtonNone) {
        redraw.hoverOff = hovered_;
        hovered_ = kButtonNone;
    }
    return redraw;
}

}  // namespace zephran::views
