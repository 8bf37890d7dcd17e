#include "views/attitude_view.h"

#include <cmath>
#include <cstdio>

namespace zephran::views {
namespace {

std::string Format(const char* format, double value) {
    char text[64];
    std::snprintf(text, sizeof text, format, value);
    return text;
}

double D(float value) {
    return static_cast<double>(value);
}

float Norm(float x, float y, float z) {
    return std::sqrt(x * x + y * y + z * z);
}

// The column's lines from 5.5 down by 0.2 each; the first `raised` lines sit 0.1 higher, and
// a gap of one more step comes before line `gapBefore` (or none).
std::vector<TextLine> Place(std::vector<std::string> texts, std::size_t raised,
                            std::size_t gapBefore) {
    std::vector<TextLine> lines;
    float y = 5.5f;
    for (std::size_t i = 0; i < texts.size(); ++i) {
        if (i == gapBefore) y -= 0.2f;
        y -= 0.2f;
        lines.push_back({std::move(texts[i]), -1.2f, i < raised ? y + 0.1f : y});
    }
    return lines;
}

}  // namespace

const std::array<BoxFace, 6>& BoxFaces() {
    static const std::array<BoxFace, 6> faces{{
        {{0, 0, 1},
         {{{0.5f, 0.5f, 0.5f}, {0.5f, 0.5f, -0.5f}, {-0.5f, 0.5f, -0.5f}, {-0.5f, 0.5f, 0.5f}}}},
        {{1, 0, 0},
         {{{0.5f, 0.5f, 0.5f}, {-0.5f, 0.5f, 0.5f}, {-0.5f, -0.5f, 0.5f}, {0.5f, -0.5f, 0.5f}}}},
        {{0, 1, 0},
         {{{0.5f, 0.5f, 0.5f}, {0.5f, -0.5f, 0.5f}, {0.5f, -0.5f, -0.5f}, {0.5f, 0.5f, -0.5f}}}},
        {{0, 1, 0},
         {{{-0.5f, 0.5f, 0.5f},
           {-0.5f, 0.5f, -0.5f},
           {-0.5f, -0.5f, -0.5f},
           {-0.5f, -0.5f, 0.5f}}}},
        {{0, 0, 1},
         {{{0.5f, -0.5f, 0.5f},
           {0.5f, -0.5f, -0.5f},
           {-0.5f, -0.5f, -0.5f},
           {-0.5f, -0.5f, 0.5f}}}},
        {{1, 0, 0},
         {{{0.5f, 0.5f, -0.5f},
           {-0.5f, 0.5f, -0.5f},
           {-0.5f, -0.5f, -0.5f},
           {0.5f, -0.5f, -0.5f}}}},
    }};
    return faces;
}

std::vector<GridSegment> GridSegments() {
    constexpr Rgb kBlue{0, 0, 1};
    constexpr Rgb kGreen{0, 1, 0};
    constexpr Rgb kRed{1, 0, 0};
    std::vector<GridSegment> segments;
    for (float b = -0.5f; b < 0.55f; b += 0.05f) {
        segments.push_back({kBlue, {b, 0, 0.5f}, {b, 0, -0.5f}});
        segments.push_back({kBlue, {-0.5f, 0, -b}, {0.5f, 0, -b}});
        segments.push_back({kGreen, {b, -0.5f, 0}, {b, 0.5f, 0}});
        segments.push_back({kGreen, {-0.5f, b, 0}, {0.5f, b, 0}});
        segments.push_back({kRed, {0, b, 0.5f}, {0, b, -0.5f}});
        segments.push_back({kRed, {0, -0.5f, -b}, {0, 0.5f, -b}});
    }
    return segments;
}

float RelativeYaw(float yaw, float reference) {
    float r = yaw - reference;
    if (r > 180) r -= 360;
    if (r < -180) r += 360;
    return r;
}

AttitudeView::AttitudeView(ViewKind kind, const AhrsLiveRecord& live, const float& headingReference,
                           float width, float height)
    : kind_(kind), live_(live), heading_(headingReference) {
    SetCreationSize(width, height);
}

std::string_view AttitudeView::Title() const {
    return kind_ == ViewKind::Attitude ? "Euler" : "Euler(+Vcc)";
}

bool AttitudeView::SetAttitude(float pitch, float roll, float yaw) {
    const bool changed = pitch != pitch_ || roll != roll_ || yaw != yaw_;
    pitch_ = pitch;
    roll_ = roll;
    yaw_ = yaw;
    return changed;
}

void AttitudeView::Resize(float width, float height) {
    current_ = {width == 0 ? 1 : width, height == 0 ? 1 : height};
}

void AttitudeView::SetCreationSize(float width, float height) {
    Resize(width, height);
    initial_ = current_;
}

std::vector<TextLine> AttitudeView::TextColumn() const {
    const AhrsLiveRecord& r = live_;
    if (kind_ == ViewKind::Attitude) {
        char flags[32];
        std::snprintf(flags, sizeof flags, "Flags:  %i", static_cast<unsigned>(r.flags));
        return Place({flags, Format("Roll:  %6.1f", D(r.roll)), Format("Pitch: %6.1f", D(r.pitch)),
                      Format("Yaw:   %6.1f", D(r.yaw)), Format("Gx:    %6.2f", D(r.gx)),
                      Format("Gy:    %6.2f", D(r.gy)), Format("Gz:    %6.2f", D(r.gz)),
                      Format("Ax:    %6.3f", D(r.ax)), Format("Ay:    %6.3f", D(r.ay)),
                      Format("Az:    %6.3f", D(r.az)), Format("Mx:    %6.1f", D(r.mx)),
                      Format("My:    %6.1f", D(r.my)), Format("Mz:    %6.1f", D(r.mz)),
                      Format("ANorm:%6.3f", D(Norm(r.ax, r.ay, r.az))),
                      Format("MNorm:%6.1f", D(Norm(r.mx, r.my, r.mz)))},
                     4, 13);
    }
    return Place({Format("Roll:  %6.1f", D(r.roll)), Format("Pitch: %6.1f", D(r.pitch)),
                  Format("Yaw:   %6.1f", D(r.yaw)), Format("Gx:    %6.2f", D(r.gx)),
                  Format("Gy:    %6.2f", D(r.gy)), Format("Gz:    %6.2f", D(r.gz)),
                  Format("Ax:    %6.3f", D(r.ax)), Format("Ay:    %6.3f", D(r.ay)),
                  Format("Az:    %6.3f", D(r.az)), Format("Mx:    %6.3f", D(r.mx)),
                  Format("My:    %6.3f", D(r.my)), Format("Mz:    %6.3f", D(r.mz))},
                 3, std::size_t(-1));
}

void AttitudeView::AttitudeSteps(std::vector<GlStep>& steps, float r) const {
    steps.push_back(gl::Scale(0.3f * kModelScale));
    steps.push_back(gl::Rotate(90, 0, 1, 0));
    steps.push_back(gl::Rotate(-90, 1, 0, 0));
    steps.push_back(gl::Rotate(-r, 0, 0, 1));
    steps.push_back(gl::Rotate(pitch_ - 90, 1, 0, 0));
    steps.push_back(gl::Rotate(roll_, 0, 0, 1));
    steps.push_back(gl::Scale(2, 1, 3));
    steps.push_back(gl::CallList(kBoxList));
}

std::vector<GlStep> AttitudeView::RenderSteps() const {
    using namespace gl;
    const float r = RelativeYaw();
    std::vector<GlStep> steps{Clear()};

    // The text column.
    steps.push_back(Project(current_.width, current_.height));
    if (kind_ == ViewKind::Position) steps.push_back(Identity());
    steps.insert(steps.end(), {Push(), Colour(1, 1, 1), Scale(2, 2, 0.25f),
                               Translate(-0.5f, -0.6f, -5), Scale(0.2f)});
    for (TextLine& line : TextColumn()) {
        steps.push_back(RasterPos(line.x, line.y, 0));
        steps.push_back(Text(std::move(line.text)));
    }
    steps.push_back(Pop());

    // The axis legend, at the size and place it had at creation.
    steps.push_back(Project(initial_.width, initial_.height));
    if (kind_ == ViewKind::Attitude) {
        steps.insert(steps.end(), {Scale(2, 2, 0.25f), Translate(-0.7f, -0.48f, -5), Scale(0.2f),
                                   CallList(kLegendList), Scale(2, 2, 0.25f), Scale(0.2f),  //
                                   Colour(1, 0, 0), RasterPos(-1, 0.1f, 0), Text("X"),      //
                                   Colour(0, 1, 0), RasterPos(0.3f, 0, 0), Text("Y"),       //
                                   Colour(0, 0, 1), RasterPos(0.1f, -1, 0), Text("Z")});
    } else {
        steps.insert(steps.end(), {Identity(),
                                   Push(),
                                   Scale(2, 2, 0.25f),
                                   Translate(-0.65f, -0.48f, -5),
                                   Rotate(kPositionViewTurn, 0, 1, 0),
                                   Rotate(kPositionViewTilt, 1, 0, 0),
                                   Scale(0.2f),
                                   Scale(0.8f),
                                   CallList(kLegendList),  //
                                   Scale(2, 2, 0.25f),
                                   Translate(0, -0.8f, -5),
                                   Scale(0.2f),
                                   Colour(1, 0, 0),
                                   RasterPos(-3, 0, 0),
                                   Text("X"),  //
                                   Colour(0, 1, 0),
                                   RasterPos(-2, 0.8f, 0),
                                   Text("Y"),  //
                                   Colour(0, 0, 1),
                                   RasterPos(-2.5f, -1.5f, 0),
                                   Text("Z"),  //
                                   Pop()});
    }

    // The box (and the position view's grid), seen from the view's camera.
    steps.push_back(Project(current_.width, current_.height));
    if (kind_ == ViewKind::Attitude) {
        steps.insert(steps.end(), {Scale(2, 2, 0.25f), Translate(0, 0, -5)});
    } else {
        const std::vector<GlStep> camera{Scale(2, 2, 0.25f), Translate(0, 0, -5),
                                         Rotate(kPositionViewTurn, 0, 1, 0),
                                         Rotate(kPositionViewTilt, 1, 0, 0)};
        steps.insert(steps.end(), {Identity(), Push()});
        steps.insert(steps.end(), camera.begin(), camera.end());
        steps.insert(steps.end(), {Scale(0.9f), CallList(kGridList), Pop()});
        steps.insert(steps.end(), camera.begin(), camera.end());
    }
    AttitudeSteps(steps, r);
    steps.push_back(Finish());
    return steps;
}

}  // namespace zephran::views
