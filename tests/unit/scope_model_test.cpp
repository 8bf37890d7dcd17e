#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "views/scope_model.h"

namespace zephran::views {
namespace {

std::vector<std::string> Texts(const std::vector<AxisLabel>& labels) {
    std::vector<std::string> texts;
    for (const AxisLabel& label : labels)
        texts.push_back(label.text);
    return texts;
}

// A trace laid out at 300 × 170 with a caption 28 × 16 and a unit 42 wide: plot (32, 8) to
// (274, 115), 242 × 107, slider bar (282, 8) to (292, 115).
class ScopeModelTest : public ::testing::Test {
protected:
    void SetUp() override { scope.Layout(300, 170, {28, 16, 42}); }

    Point Centre(int button) const {
        const Triangle& t = scope.Geometry().buttons[static_cast<std::size_t>(button)];
        return {(t.apex.x + t.baseLeft.x + t.baseRight.x) / 3,
                (t.apex.y + t.baseLeft.y + t.baseRight.y) / 3};
    }
    void Press(int button) {
        EXPECT_TRUE(scope.Press(Centre(button)).full);
        scope.Release();
    }
    // Drags the zero line from its thumb to row y.
    void DragTo(int y) {
        const Rect& bar = scope.Geometry().slider;
        scope.Press({bar.left + 5, scope.SliderRowFor(scope.ZeroNumerator())});
        EXPECT_TRUE(scope.Dragging());
        scope.Move({bar.left + 5, y});
        scope.Release();
        EXPECT_FALSE(scope.Dragging());
    }
    ScopeModel scope;
};

TEST_F(ScopeModelTest, GeometryFollowsThePart) {
    const ScopeGeometry& g = scope.Geometry();
    EXPECT_EQ(g.frame, (Rect{2, 3, 297, 140}));
    EXPECT_EQ(g.plot, (Rect{32, 8, 274, 115}));
    EXPECT_EQ(g.slider, (Rect{282, 8, 292, 115}));
    EXPECT_EQ(g.strip, (Rect{2, 145, 297, 165}));
    // Readout: left = S.left + name width + 40, top = S.top + (20 - 16) / 2 + 2, right = S.right
    // - unit width - 30.
    EXPECT_EQ(g.readout, (Rect{70, 149, 225, 165}));
    EXPECT_EQ(g.clip, (Rect{34, 10, 272, 113}));
    EXPECT_EQ(g.buttons[kVerticalUp], (Triangle{{17, 118}, {12, 124}, {22, 124}}));
    EXPECT_EQ(g.buttons[kVerticalDown], (Triangle{{17, 133}, {12, 127}, {22, 127}}));
    EXPECT_EQ(g.buttons[kTimeUp], (Triangle{{287, 118}, {282, 124}, {292, 124}}));
    EXPECT_EQ(g.buttons[kTimeDown], (Triangle{{287, 133}, {282, 127}, {292, 127}}));
    EXPECT_EQ(scope.ZeroY(), 8 + 53);
    EXPECT_EQ(scope.VerticalGridColumns(), (std::vector<int>{32 + 60, 32 + 121, 32 + 181}));
    // Zero line, three below while inside, then k = 3..0 above (the zero line twice).
    EXPECT_EQ(scope.HorizontalGridRows(), (std::vector<int>{61, 87, 113, 9, 35, 61}));
    EXPECT_EQ(scope.ThumbTopLeft(), (Point{282, 8 + 43}));
}

TEST_F(ScopeModelTest, NothingHasAPlaceBeforeTheFirstLayout) {
    ScopeModel fresh;
    EXPECT_FALSE(fresh.HasGeometry());
    EXPECT_FALSE(fresh.Press({10, 10}).Any());
    EXPECT_EQ(fresh.ButtonAt({10, 10}), kButtonNone);
}

TEST_F(ScopeModelTest, GeometryAndHitRegionsFollowANewSize) {
    const Point oldUp = Centre(kTimeUp);
    scope.Layout(600, 340, {28, 16, 42});
    EXPECT_EQ(scope.Geometry().plot, (Rect{32, 8, 574, 285}));
    EXPECT_EQ(scope.Geometry().clip, (Rect{34, 10, 572, 283}));
    EXPECT_EQ(scope.ButtonAt(oldUp), kButtonNone);
    Press(kTimeUp);
    EXPECT_DOUBLE_EQ(scope.TimePerDivision(), 0.6);
}

TEST(ScopeReadout, KeepsTheRoomItsTextNeeds) {
    // Name 35 wide, unit 42, readout 76: at 300 the spaced-out strip has room enough.
    const CaptionMetrics caption{35, 16, 42, 76};
    ScopeGeometry g = ComputeScopeGeometry(300, 170, caption);
    EXPECT_EQ(g.readout, (Rect{2 + 35 + 40, 149, 297 - 42 - 30, 165}));
    EXPECT_EQ(g.name, (Point{2 + 35, 149}));
    EXPECT_EQ(g.unit, (Point{297 - 42 - 25, 149}));

    // At 200 the readout would get 48: the name and the unit move out by 14 each.
    g = ComputeScopeGeometry(200, 170, caption);
    EXPECT_EQ(g.readout.Width(), 76);
    EXPECT_EQ(g.name, (Point{2 + 35 - 14, 149}));
    EXPECT_EQ(g.unit, (Point{g.readout.right + 5, 149}));
    EXPECT_EQ(g.unit->x + 42 + 25 - 14, 197);

    // At 176 all the spare room goes: 4 pixels stay at either end.
    g = ComputeScopeGeometry(176, 170, caption);
    EXPECT_EQ(g.readout.Width(), 76);
    EXPECT_EQ(g.name->x, 2 + 4);
    EXPECT_EQ(g.unit->x + 42, 173 - 4);

    // At 160 the unit gives its room up, and with a longer name the name does too.
    g = ComputeScopeGeometry(160, 170, caption);
    EXPECT_FALSE(g.unit);
    ASSERT_TRUE(g.name);
    EXPECT_EQ(g.readout.right, 157 - 4);
    EXPECT_GE(g.readout.Width(), 76);
    g = ComputeScopeGeometry(160, 170, {80, 16, 42, 76});
    EXPECT_FALSE(g.unit);
    EXPECT_FALSE(g.name);
    EXPECT_EQ(g.readout, (Rect{6, 149, 153, 165}));
}

TEST(ScopeSteps, VerticalScaleBands) {
    EXPECT_DOUBLE_EQ(VerticalScaleUp(2.5), 3.5);
    EXPECT_DOUBLE_EQ(VerticalScaleUp(9.5), 10.5);
    EXPECT_DOUBLE_EQ(VerticalScaleUp(10.5), 20.5);
    EXPECT_DOUBLE_EQ(VerticalScaleUp(0.5), 0.6);
    EXPECT_DOUBLE_EQ(VerticalScaleUp(100), 200);
    EXPECT_DOUBLE_EQ(VerticalScaleUp(999), 1099);
    EXPECT_DOUBLE_EQ(VerticalScaleUp(1000), 2000);
    EXPECT_DOUBLE_EQ(VerticalScaleDown(1.5), 0.5);
    EXPECT_DOUBLE_EQ(VerticalScaleDown(0.5), 0.4);
    EXPECT_DOUBLE_EQ(VerticalScaleDown(0.15), 0.1);
    EXPECT_DOUBLE_EQ(VerticalScaleDown(0.1), 0.1);
    EXPECT_DOUBLE_EQ(VerticalScaleDown(0.2), 0.1);
    EXPECT_DOUBLE_EQ(VerticalScaleDown(1), 0.9);
    EXPECT_DOUBLE_EQ(VerticalScaleDown(10), 9);
    EXPECT_DOUBLE_EQ(VerticalScaleDown(100), 90);
    EXPECT_DOUBLE_EQ(VerticalScaleDown(1000), 900);
    EXPECT_DOUBLE_EQ(VerticalScaleDown(2000), 1000);
    // Never below 0.1 in any band.
    EXPECT_DOUBLE_EQ(VerticalScaleDown(1.05), 0.1);
}

TEST(ScopeSteps, TenthsAddUpToTheBandEdge) {
    // 0.5 + five tenths is 1 exactly, so the next step is a whole one.
    double v = 0.5;
    for (int i = 0; i < 5; ++i)
        v = VerticalScaleUp(v);
    EXPECT_EQ(v, 1.0);
    EXPECT_EQ(VerticalScaleUp(v), 2.0);
    double t = 0.5;
    for (int i = 0; i < 4; ++i)
        t = TimeScaleDown(t);
    EXPECT_EQ(t, 0.1);
}

TEST(ScopeSteps, TimeScaleHasAFloorAndNoCeiling) {
    EXPECT_DOUBLE_EQ(TimeScaleDown(0.1), 0.1);
    EXPECT_DOUBLE_EQ(TimeScaleDown(0.15), 0.1);
    EXPECT_DOUBLE_EQ(TimeScaleDown(0.5), 0.4);
    EXPECT_DOUBLE_EQ(TimeScaleUp(0.5), 0.6);
    EXPECT_DOUBLE_EQ(TimeScaleUp(99.9), 100);
}

TEST_F(ScopeModelTest, ButtonsStepTheScales) {
    EXPECT_DOUBLE_EQ(scope.ValuePerDivision(), 2.5);
    Press(kVerticalUp);
    EXPECT_DOUBLE_EQ(scope.ValuePerDivision(), 3.5);
    Press(kVerticalDown);
    Press(kVerticalDown);
    EXPECT_DOUBLE_EQ(scope.ValuePerDivision(), 1.5);
    Press(kVerticalDown);
    EXPECT_DOUBLE_EQ(scope.ValuePerDivision(), 0.5);
    EXPECT_DOUBLE_EQ(scope.TimePerDivision(), 0.5);
    for (int i = 0; i < 6; ++i)
        Press(kTimeDown);
    EXPECT_DOUBLE_EQ(scope.TimePerDivision(), 0.1);
    Press(kTimeUp);
    EXPECT_DOUBLE_EQ(scope.TimePerDivision(), 0.2);
    // A press beside every button changes nothing.
    EXPECT_FALSE(scope.Press({150, 60}).Any());
}

TEST_F(ScopeModelTest, SetVerticalScaleRepaintsOnlyOnChange) {
    EXPECT_TRUE(scope.SetVerticalScale(100));
    EXPECT_FALSE(scope.SetVerticalScale(100));
}

TEST_F(ScopeModelTest, LabelsAtTheDefaultScales) {
    // 2.5 per division: "%.0f", so -2.5 prints as -2 and 7.5 as 8.
    const auto labels = scope.VerticalLabels();
    EXPECT_EQ(Texts(labels), (std::vector<std::string>{"0", "-2", "-5", "2", "5"}));
    EXPECT_EQ(labels[0].at, (Point{30, 61}));
    EXPECT_EQ(labels[0].align, TextAlign::Right);
    EXPECT_EQ(labels[0].anchor, TextAnchor::Baseline);
    EXPECT_EQ(labels[1].at, (Point{30, 61 + 26}));
    EXPECT_EQ(labels[2].at, (Point{30, 61 + 53}));
    // The upper one near the top edge is moved 10 pixels down.
    EXPECT_EQ(labels[4].at, (Point{30, 61 - 53 + 10}));

    const auto time = scope.TimeLabels();
    EXPECT_EQ(Texts(time), (std::vector<std::string>{"0.0", "0.5", "1.0", "1.5", "2.0"}));
    EXPECT_EQ(time[0].at, (Point{32, 117}));
    EXPECT_EQ(time[0].align, TextAlign::Left);
    EXPECT_EQ(time[2].at, (Point{32 + 121, 117}));
    EXPECT_EQ(time[2].align, TextAlign::Centre);
    EXPECT_EQ(time[4].at, (Point{274, 117}));
    EXPECT_EQ(time[4].align, TextAlign::Right);
    EXPECT_EQ(time[4].anchor, TextAnchor::Top);
}

TEST_F(ScopeModelTest, ValuesBelowOneHaveADecimal) {
    scope.SetVerticalScale(0.5);
    EXPECT_EQ(Texts(scope.VerticalLabels()),
              (std::vector<std::string>{"0.0", "-0.5", "-1.0", "0.5", "1.0"}));
}

TEST_F(ScopeModelTest, ThousandsPerDivisionAreLabelledInK) {
    scope.SetVerticalScale(1000);
    EXPECT_EQ(Texts(scope.VerticalLabels()),
              (std::vector<std::string>{"0", "-1K", "-2K", "1K", "2K"}));
    EXPECT_EQ(FormatAxisValue(3000, 1000), "3K");
    EXPECT_EQ(FormatAxisValue(999, 999), "999");
    EXPECT_EQ(FormatAxisValue(0.25, 0.1), "0.2");
}

TEST_F(ScopeModelTest, ZeroLineDraggedAboveTheTop) {
    DragTo(-500);
    EXPECT_EQ(scope.ZeroNumerator(), 0);
    EXPECT_EQ(scope.ZeroY(), 8);
    EXPECT_EQ(scope.ThumbTopLeft(), (Point{282, 8}));
    const auto labels = scope.VerticalLabels();
    // The zero label 10 pixels under the line, four below, none above.
    EXPECT_EQ(Texts(labels), (std::vector<std::string>{"0", "-2", "-5", "-8", "-10"}));
    EXPECT_EQ(labels[0].at.y, 18);
    EXPECT_EQ(labels[4].at.y, 115);
}

TEST_F(ScopeModelTest, ZeroLineDraggedBelowTheBottom) {
    DragTo(5000);
    EXPECT_EQ(scope.ZeroNumerator(), 10);
    EXPECT_EQ(scope.ZeroY(), 115);
    EXPECT_EQ(scope.ThumbTopLeft(), (Point{282, 115 - 21}));
    const auto labels = scope.VerticalLabels();
    // No lower labels; four above, the top one moved into the plot.
    EXPECT_EQ(Texts(labels), (std::vector<std::string>{"0", "2", "5", "8", "10"}));
    EXPECT_EQ(labels[0].at.y, 115);
    EXPECT_EQ(labels[4].at.y, 115 - 107 + 10);
}

TEST_F(ScopeModelTest, EveryPositionOfTheSliderCanBeReached) {
    for (int n = 0; n <= 10; ++n) {
        DragTo(scope.SliderRowFor(n));
        EXPECT_EQ(scope.ZeroNumerator(), n);
        EXPECT_TRUE(scope.Geometry().slider.Contains({285, scope.SliderRowFor(n)})) << n;
    }
    // A press in the bar sets the line at once; the thumb is drawn inverted while dragging.
    const auto redraw = scope.Press({285, scope.SliderRowFor(3)});
    EXPECT_TRUE(redraw.full);
    EXPECT_EQ(scope.ZeroNumerator(), 3);
    EXPECT_TRUE(scope.Dragging());
    EXPECT_TRUE(scope.Release().slider);
}

// The pixels a label covers in a font of this ascent and width per character.
Rect Covered(const AxisLabel& label, int ascent, int charWidth) {
    const int width = charWidth * static_cast<int>(label.text.size());
    int left = label.at.x;
    if (label.align == TextAlign::Right) left -= width;
    if (label.align == TextAlign::Centre) left -= width / 2;
    const int top = label.anchor == TextAnchor::Top ? label.at.y : label.at.y - ascent;
    return {left, top, left + width, top + ascent};
}

bool Overlap(const Rect& a, const Rect& b) {
    return a.left < b.right && b.left < a.right && a.top < b.bottom && b.top < a.bottom;
}

TEST(ScopeLabels, NoTwoOverlapAtAnySizeScaleOrZeroLine) {
    for (const int charWidth : {7, 10}) {
        const int ascent = 2 * charWidth;
        const LabelMetrics font{ascent, [charWidth](std::string_view text) {
                                    return charWidth * static_cast<int>(text.size());
                                }};
        for (int height = 80; height <= 400; height += 17) {
            for (const int width : {120, 200, 300, 600}) {
                for (const double perDivision : {0.1, 0.5, 2.5, 200.0, 1000.0, 50000.0}) {
                    for (const double seconds : {0.5, 12.5}) {
                        ScopeModel scope;
                        scope.SetVerticalScale(perDivision);
                        scope.Layout(width, height, {28, 16, 42}, font);
                        const Triangle& timeUp = scope.Geometry().buttons[kTimeUp];
                        while (scope.TimePerDivision() < seconds)
                            scope.Press({timeUp.apex.x, timeUp.baseLeft.y - 1});
                        const Rect bar = scope.Geometry().slider;
                        for (int n = 0; n <= 10; n += 2) {
                            scope.Press({bar.left + 5, scope.SliderRowFor(n)});
                            scope.Release();
                            auto labels = scope.VerticalLabels();
                            ASSERT_FALSE(labels.empty());
                            EXPECT_EQ(labels.front().text, perDivision < 1 ? "0.0" : "0");
                            const auto time = scope.TimeLabels();
                            EXPECT_EQ(time.front().text, "0.0");
                            labels.insert(labels.end(), time.begin(), time.end());
                            for (std::size_t i = 0; i < labels.size(); ++i) {
                                for (std::size_t j = i + 1; j < labels.size(); ++j) {
                                    ASSERT_FALSE(Overlap(Covered(labels[i], ascent, charWidth),
                                                         Covered(labels[j], ascent, charWidth)))
                                        << labels[i].text << " and " << labels[j].text << " at "
                                        << width << "x" << height << ", zero " << n;
                                }
                            }
                        }
                    }
                }
            }
        }
    }
}

TEST(ScopeLabels, CrowdedRowsKeepTheDivisionsNearestTheZeroLine) {
    ScopeModel scope;
    // Rows 26 or 27 pixels apart with labels 20 high: the top label, moved 10 pixels into the
    // plot, would touch the first division above the zero line and gives way to it.
    scope.Layout(300, 170, {28, 16, 42},
                 {20, [](std::string_view t) { return 7 * static_cast<int>(t.size()); }});
    EXPECT_EQ(Texts(scope.VerticalLabels()), (std::vector<std::string>{"0", "-2", "-5", "2"}));
    // Rows 9 pixels apart with 12-pixel labels: every second division.
    scope.Layout(300, 100, {28, 16, 42});
    EXPECT_EQ(Texts(scope.VerticalLabels()), (std::vector<std::string>{"0", "-5"}));
}

TEST(ScopeLabels, ANarrowTimeAxisKeepsItsEndsAndItsMiddle) {
    ScopeModel scope;
    // A plot 102 wide: quarters 25 pixels apart for labels 21 wide.
    scope.Layout(160, 170, {28, 16, 42});
    EXPECT_EQ(Texts(scope.TimeLabels()), (std::vector<std::string>{"0.0", "1.0", "2.0"}));
    scope.Layout(600, 170, {28, 16, 42});
    EXPECT_EQ(Texts(scope.TimeLabels()),
              (std::vector<std::string>{"0.0", "0.5", "1.0", "1.5", "2.0"}));
}

TEST_F(ScopeModelTest, ATraceBeyondItsScaleShowsWhichWayItWent) {
    const Rect& clip = scope.Geometry().clip;
    EXPECT_EQ(scope.NewestOffScale(), OffScale::None);
    EXPECT_FALSE(scope.OffScaleArrow());
    // 2.5 per division, zero in the middle: the plot holds -5 to +5.
    scope.AddSample(0, 7);
    EXPECT_EQ(scope.NewestOffScale(), OffScale::Above);
    auto arrow = scope.OffScaleArrow();
    ASSERT_TRUE(arrow);
    // One sample on the left edge: the arrow stays whole inside the clip, its tip on the top.
    EXPECT_EQ(arrow->apex, (Point{clip.left + 5, clip.top}));
    EXPECT_LT(arrow->apex.y, arrow->baseLeft.y);
    EXPECT_GE(arrow->baseLeft.x, clip.left);

    scope.AddSample(1, -1e30);
    EXPECT_EQ(scope.NewestOffScale(), OffScale::Below);
    arrow = scope.OffScaleArrow();
    ASSERT_TRUE(arrow);
    EXPECT_EQ(arrow->apex, (Point{scope.TracePoints().back().x, clip.bottom - 1}));
    EXPECT_GT(arrow->apex.y, arrow->baseLeft.y);
    EXPECT_LT(arrow->baseRight.x, clip.right);

    // On the scale again, down to its bottom row, or not a number: no arrow.
    for (const double value : {4.9, -5.0, std::nan("")}) {
        scope.AddSample(2, value);
        EXPECT_EQ(scope.NewestOffScale(), OffScale::None) << value;
        EXPECT_FALSE(scope.OffScaleArrow()) << value;
    }
    // A wider scale takes the value in.
    scope.AddSample(2.5, 7);
    EXPECT_EQ(scope.NewestOffScale(), OffScale::Above);
    scope.SetVerticalScale(4.5);
    EXPECT_EQ(scope.NewestOffScale(), OffScale::None);
}

TEST(ScopeOffScale, NoArrowWhereThePlotHasNoRoomForIt) {
    ScopeModel scope;
    scope.AddSample(0, 1e6);
    EXPECT_EQ(scope.NewestOffScale(), OffScale::None);
    scope.Layout(60, 80, {28, 16, 42});
    EXPECT_EQ(scope.NewestOffScale(), OffScale::Above);
    EXPECT_FALSE(scope.OffScaleArrow());
}

TEST_F(ScopeModelTest, NoSamplesDrawNoTrace) {
    EXPECT_TRUE(scope.TracePoints().empty());
    EXPECT_FALSE(scope.DrawsTrace());
    EXPECT_EQ(scope.ReadoutText(), "0.000");
}

TEST_F(ScopeModelTest, OneSampleSitsOnTheLeftEdgeWithoutALine) {
    scope.AddSample(12.5, 2.5);
    ASSERT_EQ(scope.TracePoints().size(), 1u);
    // One division up from the zero line: a quarter of the plot height.
    EXPECT_EQ(scope.TracePoints()[0], (Point{32, 34}));
    EXPECT_FALSE(scope.DrawsTrace());
    scope.AddSample(13.5, -5);
    EXPECT_TRUE(scope.DrawsTrace());
    EXPECT_EQ(scope.TracePoints()[1], (Point{32 + 121, 61 + 53}));
}

TEST_F(ScopeModelTest, TheWindowHoldsFourDivisionsOfTime) {
    for (int i = 0; i <= 16; ++i)
        scope.AddSample(i * 0.25, i);
    // A 2 s span at 0.5 s per division: the samples from 2.0 to 4.0.
    ASSERT_EQ(scope.Samples().size(), 9u);
    EXPECT_EQ(scope.Samples().front().time, 2.0);
    EXPECT_EQ(scope.TracePoints().front().x, 32);
    EXPECT_EQ(scope.TracePoints().back().x, 274);
    // Narrowing the span trims nothing until the next sample arrives.
    for (int i = 0; i < 4; ++i)
        Press(kTimeDown);
    EXPECT_DOUBLE_EQ(scope.TimePerDivision(), 0.1);
    EXPECT_EQ(scope.Samples().size(), 9u);
    scope.AddSample(4.25, 17);
    EXPECT_EQ(scope.Samples().size(), 2u);
    EXPECT_EQ(scope.Samples().front().time, 4.0);
}

TEST_F(ScopeModelTest, EverySampleIsTaken) {
    for (int i = 0; i < 1000; ++i)
        scope.AddSample(1.0, i);
    EXPECT_EQ(scope.Samples().size(), 1000u);
}

TEST_F(ScopeModelTest, WildValuesStayInsideIntegerRange) {
    scope.AddSample(0, 1e300);
    scope.AddSample(1, -std::numeric_limits<double>::infinity());
    scope.AddSample(2, std::nan(""));
    const auto points = scope.TracePoints();
    EXPECT_LT(points[0].y, -1000000);
    EXPECT_GT(points[1].y, 1000000);
    EXPECT_EQ(points[2].y, scope.ZeroY());
}

TEST_F(ScopeModelTest, HoverLightsOneButtonAtATime) {
    auto redraw = scope.Move(Centre(kVerticalUp));
    EXPECT_EQ(redraw.hoverOn, kVerticalUp);
    EXPECT_EQ(redraw.hoverOff, kButtonNone);
    EXPECT_FALSE(scope.Move(Centre(kVerticalUp)).Any());
    redraw = scope.Move(Centre(kVerticalDown));
    EXPECT_EQ(redraw.hoverOff, kVerticalUp);
    EXPECT_EQ(redraw.hoverOn, kVerticalDown);
    redraw = scope.Move({150, 60});
    EXPECT_EQ(redraw.hoverOff, kVerticalDown);
    EXPECT_EQ(scope.Hovered(), kButtonNone);
    scope.Move(Centre(kTimeUp));
    EXPECT_EQ(scope.Leave().hoverOff, kTimeUp);
    EXPECT_EQ(scope.Hovered(), kButtonNone);
}

TEST_F(ScopeModelTest, DefaultTextsAndLabels) {
    EXPECT_EQ(scope.Name(), "数值");
    EXPECT_EQ(scope.Unit(), "度");
    scope.SetLabels("Roll", "Degree");
    EXPECT_EQ(scope.Name(), "Roll");
    scope.SetReadout(-1.23456);
    EXPECT_EQ(scope.ReadoutText(), "-1.235");
}

TEST(ScopeTriangle, ContainsItsEdgesAndInside) {
    const Triangle t{{10, 0}, {5, 6}, {15, 6}};
    EXPECT_TRUE(t.Contains({10, 0}));
    EXPECT_TRUE(t.Contains({10, 3}));
    EXPECT_TRUE(t.Contains({5, 6}));
    EXPECT_FALSE(t.Contains({5, 0}));
    EXPECT_FALSE(t.Contains({10, 7}));
}

}  // namespace
}  // namespace zephran::views
