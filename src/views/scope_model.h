#pragma once

#include <array>
#include <cstdint>
#include <deque>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace zephran::views {

// Integer client coordinates, y downwards.
struct Point {
    int x = 0;
    int y = 0;
    bool operator==(const Point&) const = default;
};

// A rectangle whose right and bottom edges lie just outside it.
struct Rect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;

    int Width() const { return right - left; }
    int Height() const { return bottom - top; }
    bool Empty() const { return right <= left || bottom <= top; }
    bool Contains(Point p) const {
        return p.x >= left && p.x < right && p.y >= top && p.y < bottom;
    }
    bool operator==(const Rect&) const = default;
};

// A filled triangle: its apex and its two base corners.
struct Triangle {
    Point apex;
    Point baseLeft;
    Point baseRight;

    bool Contains(Point p) const;
    bool operator==(const Triangle&) const = default;
};

// The scope's four small buttons.
enum ScopeButton : int {
    kButtonNone = -1,
    kVerticalUp = 0,
    kVerticalDown = 1,
    kTimeUp = 2,
    kTimeDown = 3,
};
inline constexpr int kScopeButtons = 4;

// The caption texts' size in the caption font, measured by the front end: the readout box sits
// between the trace name and its unit. readoutWidth is the room the readout needs (its widest
// expected text in the readout font, with the box's inset and edges); 0 asks for none.
struct CaptionMetrics {
    int nameWidth = 0;
    int nameHeight = 0;
    int unitWidth = 0;
    int readoutWidth = 0;
};

// The axis labels' font, measured by the front end: its ascent (the labels' digits, points,
// signs and K stand on the baseline) and the width of a text. Front ends without fonts (the
// headless one) keep the nominal 12 pixels and 7 pixels a character.
struct LabelMetrics {
    int ascent = 12;
    std::function<int(std::string_view)> width = [](std::string_view text) {
        return 7 * static_cast<int>(text.size());
    };
};

// Everything the scope draws, placed for one client size.
struct ScopeGeometry {
    Rect client;
    Rect frame;    // F
    Rect plot;     // P
    Rect slider;   // B, the zero-line slider bar
    Rect strip;    // S, the bottom strip with name, readout and unit
    Rect readout;  // R
    // Where the name and the unit start, their tops level with R's; nothing for a text that
    // gave its room to the readout.
    std::optional<Point> name;
    std::optional<Point> unit;
    Rect clip;  // the trace and grid are clipped 2 pixels inside the plot
    std::array<Triangle, kScopeButtons> buttons;
};

// The strip holds the name 35 pixels in, the readout 5 pixels after it, and the unit 5 pixels
// after the readout and 25 before the strip's end. Where that leaves the readout less than the
// room it needs, the name and the unit move out towards the ends, down to 4 pixels from them;
// then the unit and at last the name give their room up, so the readout is never cut.
ScopeGeometry ComputeScopeGeometry(int width, int height, const CaptionMetrics& caption);

// The scale steps of the four buttons. Each works in the band that holds the value before the
// step; results are rounded to 1e-9 so that repeated tenths land on the band edges.
double VerticalScaleUp(double valuePerDivision);
double VerticalScaleDown(double valuePerDivision);  // never below 0.1
double TimeScaleUp(double timePerDivision);
double TimeScaleDown(double timePerDivision);  // never below 0.1

// An axis value formatted by the size of the value per division: "%.1f" below 1, "%.0f" below
// 1000, otherwise thousands with "%.0fK".
std::string FormatAxisValue(double value, double valuePerDivision);

enum class TextAlign { Left, Centre, Right };
enum class TextAnchor { Baseline, Top };

// A text placed at a reference point: x is its left edge, centre or right edge, y its baseline
// or its top.
struct AxisLabel {
    std::string text;
    Point at;
    TextAlign align = TextAlign::Left;
    TextAnchor anchor = TextAnchor::Baseline;
    bool operator==(const AxisLabel&) const = default;
};

struct Sample {
    double time = 0;  // seconds
    double value = 0;
};

// Where the newest sample lies against the plot: on it, or beyond its top or bottom edge.
enum class OffScale { None, Above, Below };

// What a pointer action changed, so the front end knows what to draw again.
struct ScopeRedraw {
    bool full = false;           // scales, zero line or slider: the whole control
    bool slider = false;         // the slider's thumb only
    int hoverOff = kButtonNone;  // a button to draw in its normal colour
    int hoverOn = kButtonNone;   // a button to draw in its hot colour
    bool Any() const { return full || slider || hoverOff != kButtonNone || hoverOn != kButtonNone; }
};

// One trace of a scope: its scales, zero line, samples, readout and pointer state,
// and everything derived from them for a client size. The front end draws what this says.
class ScopeModel {
public:
    static constexpr int kZeroDenominator = 10;
    static constexpr int kThumbWidth = 10;
    static constexpr int kThumbHeight = 21;

    ScopeModel();

    // The control's interface. SetVerticalScale tells whether the value changed (a full repaint).
    bool SetVerticalScale(double valuePerDivision);
    void SetLabels(std::string name, std::string unit);
    // Appends one sample and drops the oldest ones that left the time window. Every sample
    // is taken: sampling and drawing share one thread.
    void AddSample(double time, double value);
    void SetReadout(double value) { readout_ = value; }
    // Forgets every sample (a new window starts empty).
    void ClearSamples() { samples_.clear(); }

    // Places everything for a client size; until the first call nothing has a place.
    void Layout(int width, int height, const CaptionMetrics& caption,
                LabelMetrics labels = LabelMetrics());
    bool HasGeometry() const { return hasGeometry_; }
    const ScopeGeometry& Geometry() const { return geometry_; }

    double ValuePerDivision() const { return valuePerDivision_; }
    double TimePerDivision() const { return timePerDivision_; }
    int ZeroNumerator() const { return zeroNumerator_; }
    double Readout() const { return readout_; }
    const std::string& Name() const { return name_; }
    const std::string& Unit() const { return unit_; }
    const std::deque<Sample>& Samples() const { return samples_; }
    int Hovered() const { return hovered_; }
    bool Dragging() const { return dragging_; }

    // The zero line's row.
    int ZeroY() const;
    // A sample's pixel: the oldest retained sample is on the plot's left edge.
    Point Map(const Sample& sample) const;
    // Every sample mapped, oldest first; a line is drawn through them only from two on.
    std::vector<Point> TracePoints() const;
    bool DrawsTrace() const { return samples_.size() >= 2; }
    // Rows of the horizontal grid lines in drawing order (the zero line is drawn twice),
    // and columns of the three vertical ones.
    std::vector<int> HorizontalGridRows() const;
    std::vector<int> VerticalGridColumns() const;
    // The vertical axis labels (zero first, then below, then above the zero line) and the
    // time axis labels, placed; labels that fall outside the plot are left out, and so is each
    // that would overlap one kept before it: the zero label, then the divisions nearest to it
    // (below before above), and on the time axis both ends, then the middle, then the quarters.
    std::vector<AxisLabel> VerticalLabels() const;
    std::vector<AxisLabel> TimeLabels() const;
    // A trace that left the plot shows where it went: the side of the newest sample, and an
    // arrow at its column inside the clip, pointing that way; nothing while it is on the plot.
    OffScale NewestOffScale() const;
    std::optional<Triangle> OffScaleArrow() const;
    // Top-left corner of the slider's thumb.
    Point ThumbTopLeft() const;
    // The readout as shown ("%.3f").
    std::string ReadoutText() const;

    // Pointer input in client coordinates.
    int ButtonAt(Point p) const;
    ScopeRedraw Press(Point p);
    ScopeRedraw Move(Point p);
    ScopeRedraw Release();
    // The pointer left the control: no button stays hot.
    ScopeRedraw Leave();
    // A row of the slider bar where a press or drag puts the zero line at position n (the
    // inverse of the slider's rule); rows outside the bar for n outside 0..10.
    int SliderRowFor(int n) const;

private:
    int NumeratorAt(int y) const;

    double timePerDivision_ = 0.5;
    double valuePerDivision_ = 2.5;
    int zeroNumerator_ = 5;
    double readout_ = 0;
    int hovered_ = kButtonNone;
    bool dragging_ = false;
    std::string name_;
    std::string unit_;
    std::deque<Sample> samples_;
    bool hasGeometry_ = false;
    ScopeGeometry geometry_;
    LabelMetrics labelMetrics_;
};

}  // namespace zephran::views
