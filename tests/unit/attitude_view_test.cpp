#include <gtest/gtest.h>

#include <cmath>
#include <optional>

#include "views/attitude_view.h"

namespace zephran::views {
namespace {

AhrsLiveRecord Record() {
    AhrsLiveRecord r{};
    r.flags = 5;
    r.roll = 12.34f;
    r.pitch = -5.0f;
    r.yaw = 359.96f;
    r.gx = 1.5f;
    r.gy = -2.25f;
    r.gz = 3.0f;
    r.ax = 0.0f;
    r.ay = 0.0f;
    r.az = 1.0f;
    r.mx = 30.0f;
    r.my = 40.0f;
    r.mz = 0.0f;
    return r;
}

std::vector<std::string> Texts(const std::vector<TextLine>& lines) {
    std::vector<std::string> texts;
    for (const TextLine& line : lines)
        texts.push_back(line.text);
    return texts;
}

// The colour of the box face nearest the eye at the view's centre, from the view's steps.
std::optional<Rgb> CentreFace(const AttitudeView& view) {
    std::optional<Rgb> colour;
    double nearest = 2;
    GlEvaluator gl;
    gl.onCallList = [&](int list, const GlEvaluator::State& state) {
        if (list != kBoxList) return;
        const double cx = state.viewportWidth / 2;
        const double cy = state.viewportHeight / 2;
        for (const BoxFace& face : BoxFaces()) {
            std::array<WindowPoint, 4> corners;
            double depth = 0;
            for (std::size_t i = 0; i < 4; ++i) {
                const Vec3f& v = face.vertices[i];
                corners[i] = state.ToWindow(v[0], v[1], v[2]);
                depth += corners[i].depth / 4;
            }
            // The centre is inside the projected quadrilateral when it is on one side of every
            // edge.
            int positive = 0;
            int negative = 0;
            for (std::size_t i = 0; i < 4; ++i) {
                const WindowPoint& a = corners[i];
                const WindowPoint& b = corners[(i + 1) % 4];
                const double side = (b.x - a.x) * (cy - a.y) - (b.y - a.y) * (cx - a.x);
                (side >= 0 ? positive : negative)++;
            }
            if ((positive == 4 || negative == 4) && depth < nearest) {
                nearest = depth;
                colour = face.colour;
            }
        }
    };
    gl.Run(view.RenderSteps());
    return colour;
}

// The direction a local axis of a display list points in the window's eye space.
std::array<double, 3> EyeDirection(const GlEvaluator::State& state, double x, double y, double z) {
    const auto origin = state.modelView * std::array<double, 4>{0, 0, 0, 1};
    const auto tip = state.modelView * std::array<double, 4>{x, y, z, 1};
    std::array<double, 3> d{tip[0] - origin[0], tip[1] - origin[1], tip[2] - origin[2]};
    const double length = std::sqrt(d[0] * d[0] + d[1] * d[1] + d[2] * d[2]);
    for (double& c : d)
        c /= length;
    return d;
}

double AbsDot(const std::array<double, 3>& a, const std::array<double, 3>& b) {
    return std::abs(a[0] * b[0] + a[1] * b[1] + a[2] * b[2]);
}

TEST(RelativeYaw, WrapsOnceEachWay) {
    EXPECT_FLOAT_EQ(RelativeYaw(170, -20), -170);
    EXPECT_FLOAT_EQ(RelativeYaw(-170, 20), 170);
    EXPECT_FLOAT_EQ(RelativeYaw(10, 0), 10);
    EXPECT_FLOAT_EQ(RelativeYaw(180, 0), 180);
    EXPECT_FLOAT_EQ(RelativeYaw(-180, 0), -180);
    EXPECT_FLOAT_EQ(RelativeYaw(359.96f, 0), 359.96f - 360);
}

TEST(Projection, FollowsTheLongerSide) {
    EXPECT_EQ(ProjectionFrustum(400, 200), (Frustum{-2, 2, -1, 1, 1, 4}));
    EXPECT_EQ(ProjectionFrustum(200, 400), (Frustum{-1, 1, -2, 2, 1, 4}));
    EXPECT_EQ(ProjectionFrustum(300, 300), (Frustum{-1, 1, -1, 1, 1, 4}));
}

TEST(AttitudeViewModel, ZeroSizesAreStoredAsOne) {
    AhrsLiveRecord live{};
    const float heading = 0;
    AttitudeView view(ViewKind::Attitude, live, heading, 480, 400);
    view.Resize(300, 0);
    EXPECT_EQ(view.Current(), (ViewSize{300, 1}));
    const Frustum f = ProjectionFrustum(view.Current().width, view.Current().height);
    EXPECT_TRUE(std::isfinite(f.left) && std::isfinite(f.right));
    EXPECT_EQ(f, (Frustum{-300, 300, -1, 1, 1, 4}));
    view.Resize(0, 0);
    EXPECT_EQ(view.Current(), (ViewSize{1, 1}));
    // The legend keeps the size of creation.
    EXPECT_EQ(view.Initial(), (ViewSize{480, 400}));
    bool legendSeen = false;
    GlEvaluator gl;
    gl.onCallList = [&](int list, const GlEvaluator::State& state) {
        if (list != kLegendList) return;
        legendSeen = true;
        EXPECT_EQ(state.viewportWidth, 480);
        EXPECT_EQ(state.viewportHeight, 400);
    };
    gl.Run(view.RenderSteps());
    EXPECT_TRUE(legendSeen);
}

TEST(AttitudeViewModel, AttitudeViewTextColumn) {
    const AhrsLiveRecord live = Record();
    const float heading = 0;
    const AttitudeView view(ViewKind::Attitude, live, heading);
    EXPECT_EQ(view.Title(), "Euler");
    const auto lines = view.TextColumn();
    EXPECT_EQ(Texts(lines), (std::vector<std::string>{
                                "Flags:  5", "Roll:    12.3", "Pitch:   -5.0", "Yaw:    360.0",
                                "Gx:      1.50", "Gy:     -2.25", "Gz:      3.00", "Ax:     0.000",
                                "Ay:     0.000", "Az:     1.000", "Mx:      30.0", "My:      40.0",
                                "Mz:       0.0", "ANorm: 1.000", "MNorm:  50.0"}));
    // From 5.5 down by 0.2, the first four 0.1 higher, a gap before ANorm.
    EXPECT_FLOAT_EQ(lines[0].x, -1.2f);
    EXPECT_NEAR(lines[0].y, 5.4, 1e-5);
    EXPECT_NEAR(lines[3].y, 4.8, 1e-5);
    EXPECT_NEAR(lines[4].y, 4.5, 1e-5);
    EXPECT_NEAR(lines[12].y, 2.9, 1e-5);
    EXPECT_NEAR(lines[13].y, 2.5, 1e-5);
    EXPECT_NEAR(lines[14].y, 2.3, 1e-5);
}

TEST(AttitudeViewModel, PositionViewTextColumn) {
    const AhrsLiveRecord live = Record();
    const float heading = 0;
    const AttitudeView view(ViewKind::Position, live, heading);
    EXPECT_EQ(view.Title(), "Euler(+Vcc)");
    const auto lines = view.TextColumn();
    // No flags and no norms; the magnetometer with three decimals.
    EXPECT_EQ(Texts(lines),
              (std::vector<std::string>{"Roll:    12.3", "Pitch:   -5.0", "Yaw:    360.0",
                                        "Gx:      1.50", "Gy:     -2.25", "Gz:      3.00",
                                        "Ax:     0.000", "Ay:     0.000", "Az:     1.000",
                                        "Mx:    30.000", "My:    40.000", "Mz:     0.000"}));
    EXPECT_NEAR(lines[2].y, 5.0, 1e-5);
    EXPECT_NEAR(lines[3].y, 4.7, 1e-5);
    EXPECT_NEAR(lines[11].y, 3.1, 1e-5);
}

TEST(AttitudeViewModel, AttitudeIsOnlyWhatIsWritten) {
    const AhrsLiveRecord live = Record();
    float heading = -20;
    AttitudeView view(ViewKind::Attitude, live, heading);
    EXPECT_EQ(view.Yaw(), 0);
    EXPECT_TRUE(view.SetAttitude(1, 2, 170));
    EXPECT_FALSE(view.SetAttitude(1, 2, 170));
    EXPECT_FLOAT_EQ(view.RelativeYaw(), -170);
    heading = 0;
    EXPECT_FLOAT_EQ(view.RelativeYaw(), 170);
    // The yaw rotation of the box is minus the relative yaw.
    bool found = false;
    for (const GlStep& step : view.RenderSteps()) {
        if (step.op == GlStep::Op::Rotate && step.d == 1 && step.a == -170) found = true;
    }
    EXPECT_TRUE(found);
}

TEST(AttitudeViewModel, TheFaceSeenAtTheCentreFollowsTheAttitude) {
    const AhrsLiveRecord live{};
    const float heading = 0;
    AttitudeView view(ViewKind::Attitude, live, heading);
    const Rgb green{0, 1, 0}, blue{0, 0, 1}, red{1, 0, 0};
    EXPECT_EQ(CentreFace(view), green);
    view.SetAttitude(0, 90, 0);
    EXPECT_EQ(CentreFace(view), blue);
    view.SetAttitude(0, 0, 90);
    EXPECT_EQ(CentreFace(view), red);
    view.SetAttitude(90, 0, 0);
    EXPECT_EQ(CentreFace(view), green);
}

TEST(AttitudeViewModel, PositionViewBoxLiesAlongTheGridAtZero) {
    const AhrsLiveRecord live{};
    const float heading = 0;
    const AttitudeView view(ViewKind::Position, live, heading);
    std::optional<GlEvaluator::State> grid, box;
    GlEvaluator gl;
    gl.onCallList = [&](int list, const GlEvaluator::State& state) {
        if (list == kGridList) grid = state;
        if (list == kBoxList) box = state;
    };
    gl.Run(view.RenderSteps());
    ASSERT_TRUE(grid && box);
    // Long axis (3, the box's z) along the grid's x; width (2, x) along z; thickness (1, y)
    // along y.
    EXPECT_NEAR(AbsDot(EyeDirection(*box, 0, 0, 1), EyeDirection(*grid, 1, 0, 0)), 1, 1e-9);
    EXPECT_NEAR(AbsDot(EyeDirection(*box, 1, 0, 0), EyeDirection(*grid, 0, 0, 1)), 1, 1e-9);
    EXPECT_NEAR(AbsDot(EyeDirection(*box, 0, 1, 0), EyeDirection(*grid, 0, 1, 0)), 1, 1e-9);
}

TEST(AttitudeViewModel, PositionViewResizeKeepsLegendAndCamera) {
    const AhrsLiveRecord live{};
    const float heading = 0;
    AttitudeView view(ViewKind::Position, live, heading, 480, 400);
    const auto before = view.RenderSteps();
    view.Resize(900, 300);
    const auto after = view.RenderSteps();
    ASSERT_EQ(before.size(), after.size());
    int projections = 0;
    for (std::size_t i = 0; i < before.size(); ++i) {
        if (before[i].op == GlStep::Op::Project) {
            ++projections;
            // The second projection is the legend's: at the creation size both times.
            if (projections == 2) {
                EXPECT_EQ(after[i], before[i]);
            } else {
                EXPECT_EQ(after[i], gl::Project(900, 300));
            }
        } else {
            EXPECT_EQ(after[i], before[i]) << i;
        }
    }
    EXPECT_EQ(projections, 3);
}

TEST(AttitudeViewModel, RenderOrderOfTheAttitudeView) {
    const AhrsLiveRecord live{};
    const float heading = 0;
    AttitudeView view(ViewKind::Attitude, live, heading, 400, 300);
    view.SetAttitude(10, 20, 30);
    const auto steps = view.RenderSteps();
    using namespace gl;
    const std::vector<GlStep> box{
        Project(400, 300),   Scale(2, 2, 0.25f),   Translate(0, 0, -5),  Scale(0.3f),
        Rotate(90, 0, 1, 0), Rotate(-90, 1, 0, 0), Rotate(-30, 0, 0, 1), Rotate(10 - 90, 1, 0, 0),
        Rotate(20, 0, 0, 1), Scale(2, 1, 3),       CallList(kBoxList),   Finish()};
    ASSERT_GT(steps.size(), box.size());
    EXPECT_EQ(std::vector<GlStep>(steps.end() - static_cast<long>(box.size()), steps.end()), box);
    EXPECT_EQ(steps[0], Clear());
    EXPECT_EQ(steps[1], Project(400, 300));
}

TEST(DisplayLists, GridHasTwentyOneLinesEachWay) {
    const auto segments = GridSegments();
    EXPECT_EQ(segments.size(), 21u * 6);
    EXPECT_FLOAT_EQ(segments.front().from[0], -0.5f);
    EXPECT_NEAR(segments[segments.size() - 6].from[0], 0.5f, 1e-5);
}

TEST(DisplayLists, OppositeFacesAreAlike) {
    const auto& faces = BoxFaces();
    EXPECT_EQ(faces[0].colour, faces[4].colour);
    EXPECT_EQ(faces[1].colour, faces[5].colour);
    EXPECT_EQ(faces[2].colour, faces[3].colour);
}

}  // namespace
}  // namespace zephran::views
