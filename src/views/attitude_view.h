#pragma once

#include <array>
#include <string>
#include <string_view>
#include <vector>

#include "records/ahrs_records.h"
#include "views/gl_steps.h"

namespace zephran::views {

// The two 3-D windows: the attitude view and the position view.
enum class ViewKind { Attitude = 0, Position = 1 };
inline constexpr std::array<ViewKind, 2> kViewKinds{ViewKind::Attitude, ViewKind::Position};

// The display lists the renderer compiles at creation.
inline constexpr int kBoxList = 1;     // the coloured box
inline constexpr int kLegendList = 2;  // the axis legend
inline constexpr int kGridList = 3;    // the position view's thin legend and reference grid

using Vec3f = std::array<float, 3>;
using Rgb = std::array<float, 3>;

// Display list 1: six flat-coloured quadrilaterals of a unit cube, opposite faces alike.
struct BoxFace {
    Rgb colour;
    std::array<Vec3f, 4> vertices;
};
const std::array<BoxFace, 6>& BoxFaces();

// An axis legend of GLU quadrics: per arrow a shaft (cylinder along +z), at its end a cone, and
// a disk closing the cone's base turned 180 degrees; a sphere at the centre.
struct LegendSpec {
    float shaftRadius;
    float shaftLength;
    float coneBase;
    float coneHeight;
    float diskInner;
    float diskOuter;
    float sphereRadius;
};
inline constexpr LegendSpec kAxisLegend{0.025f, 0.5f, 0.06f, 0.1f, 0.025f, 0.06f, 0.05f};
inline constexpr LegendSpec kThinLegend{0.005f, 0.8f, 0.03f, 0.05f, 0.005f, 0.03f, 0.02f};
inline constexpr int kQuadricSlices = 10;
inline constexpr int kSphereSlices = 15;

// The arrows in drawing order: colour, the turn that points +z where the arrow goes, and the
// axis the closing disk is turned about.
struct LegendArrow {
    Rgb colour;
    float angle;
    Vec3f axis;
    Vec3f diskAxis;
};
inline constexpr std::array<LegendArrow, 3> kLegendArrows{{
    {{0, 0, 1}, 90, {1, 0, 0}, {1, 0, 0}},   // blue, along -y
    {{1, 0, 0}, -90, {0, 1, 0}, {0, 1, 0}},  // red, along -x
    {{0, 1, 0}, 180, {1, 0, 0}, {1, 0, 0}},  // green, along -z
}};
inline constexpr Rgb kLegendCentre{1, 1, 1};

// Part of display list 3: one grid line.
struct GridSegment {
    Rgb colour;
    Vec3f from;
    Vec3f to;
};
// The reference grid's lines: three planes of 21 lines each way, b stepped in single precision.
std::vector<GridSegment> GridSegments();

// One line of a view's text column and its raster position.
struct TextLine {
    std::string text;
    float x = 0;
    float y = 0;
};

// Yaw minus the heading reference, wrapped once each way into -180..180.
float RelativeYaw(float yaw, float reference);

struct ViewSize {
    float width = 1;
    float height = 1;
    bool operator==(const ViewSize&) const = default;
};

// What a 3-D view knows and decides: the attitude the dispatcher writes, its
// sizes, its text column and the steps of one frame. The values it shows come from the live
// record and the heading reference, both owned elsewhere.
class AttitudeView {
public:
    static constexpr float kModelScale = 1.0f;
    // The client size a view is created with unless its front end says otherwise.
    static constexpr float kDefaultWidth = 480;
    static constexpr float kDefaultHeight = 400;

    AttitudeView(ViewKind kind, const AhrsLiveRecord& live, const float& headingReference,
                 float width = kDefaultWidth, float height = kDefaultHeight);

    ViewKind Kind() const { return kind_; }
    // "Euler" or "Euler(+Vcc)".
    std::string_view Title() const;

    // Written by the dispatcher while the view is open; true when a value changed.
    bool SetAttitude(float pitch, float roll, float yaw);
    float Pitch() const { return pitch_; }
    float Roll() const { return roll_; }
    float Yaw() const { return yaw_; }
    float HeadingReference() const { return heading_; }
    float RelativeYaw() const { return views::RelativeYaw(yaw_, heading_); }

    // A new client size; a zero dimension is kept as 1.
    void Resize(float width, float height);
    // The client's size when the front end created its window: current and initial size.
    void SetCreationSize(float width, float height);
    ViewSize Current() const { return current_; }
    ViewSize Initial() const { return initial_; }

    // The text column with the live record's values, in the view's own format.
    std::vector<TextLine> TextColumn() const;
    // One frame, in its exact order of operations.
    std::vector<GlStep> RenderSteps() const;

private:
    void AttitudeSteps(std::vector<GlStep>& steps, float relativeYaw) const;

    ViewKind kind_;
    const AhrsLiveRecord& live_;
    const float& heading_;
    float pitch_ = 0;
    float roll_ = 0;
    float yaw_ = 0;
    ViewSize current_;
    ViewSize initial_;
};

// The position view's fixed camera: turned about the screen's vertical axis, tilted about its
// horizontal axis (degrees).
inline constexpr int kPositionViewTurn = -13;
inline constexpr int kPositionViewTilt = 47;

}  // namespace zephran::views
