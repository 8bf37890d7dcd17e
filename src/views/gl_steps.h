#pragma once

#include <array>
#include <functional>
#include <string>
#include <vector>

namespace zephran::views {

// The projection rule P(w, h): the viewport (0, 0, w, h) and this frustum.
struct Frustum {
    double left = -1;
    double right = 1;
    double bottom = -1;
    double top = 1;
    double nearPlane = 1;
    double farPlane = 4;
    bool operator==(const Frustum&) const = default;
};
Frustum ProjectionFrustum(float width, float height);

// One step of a fixed-function OpenGL 1.x render, in the order the renderer runs them. The 3-D
// views describe their frames with these, so that what they draw is data: the Qt renderer
// executes them with the matching GL calls, and tests follow them with GlEvaluator.
struct GlStep {
    enum class Op {
        Clear,      // clear colour (0, 0, 0, 0), clear colour and depth
        Project,    // P(a, b): viewport, projection frustum, then the model-view identity
        Identity,   // model-view identity
        Push,       // push the model-view matrix
        Pop,        // pop it
        Colour,     // colour (a, b, c)
        Scale,      // scale (a, b, c)
        Translate,  // translate (a, b, c)
        Rotate,     // rotate a degrees about (b, c, d)
        CallList,   // call display list a
        RasterPos,  // raster position (a, b, c)
        Text,       // the glyphs of text at the raster position
        Finish,     // finish the frame
    };
    Op op = Op::Finish;
    float a = 0;
    float b = 0;
    float c = 0;
    float d = 0;
    std::string text;

    bool operator==(const GlStep&) const = default;
};

// Shorthands for building step lists.
namespace gl {
inline GlStep Step(GlStep::Op op, float a = 0, float b = 0, float c = 0, float d = 0,
                   std::string text = {}) {
    return {op, a, b, c, d, std::move(text)};
}
inline GlStep Clear() {
    return Step(GlStep::Op::Clear);
}
inline GlStep Project(float w, float h) {
    return Step(GlStep::Op::Project, w, h);
}
inline GlStep Identity() {
    return Step(GlStep::Op::Identity);
}
inline GlStep Push() {
    return Step(GlStep::Op::Push);
}
inline GlStep Pop() {
    return Step(GlStep::Op::Pop);
}
inline GlStep Colour(float r, float g, float b) {
    return Step(GlStep::Op::Colour, r, g, b);
}
inline GlStep Scale(float x, float y, float z) {
    return Step(GlStep::Op::Scale, x, y, z);
}
inline GlStep Scale(float s) {
    return Scale(s, s, s);
}
inline GlStep Translate(float x, float y, float z) {
    return Step(GlStep::Op::Translate, x, y, z);
}
inline GlStep Rotate(float angle, float x, float y, float z) {
    return Step(GlStep::Op::Rotate, angle, x, y, z);
}
inline GlStep CallList(int list) {
    return Step(GlStep::Op::CallList, static_cast<float>(list));
}
inline GlStep RasterPos(float x, float y, float z) {
    return Step(GlStep::Op::RasterPos, x, y, z);
}
inline GlStep Text(std::string text) {
    return Step(GlStep::Op::Text, 0, 0, 0, 0, std::move(text));
}
inline GlStep Finish() {
    return Step(GlStep::Op::Finish);
}
}  // namespace gl

// A column-major 4 × 4 matrix, as OpenGL keeps them.
struct Mat4 {
    std::array<double, 16> m{1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1};

    static Mat4 Scale(double x, double y, double z);
    static Mat4 Translate(double x, double y, double z);
    static Mat4 Rotate(double degrees, double x, double y, double z);
    static Mat4 Frustum(const views::Frustum& f);
    Mat4 operator*(const Mat4& other) const;
    std::array<double, 4> operator*(const std::array<double, 4>& v) const;
};

// A point in window coordinates: x from the left, y from the bottom, in the view's size units;
// depth 0 near to 1 far.
struct WindowPoint {
    double x = 0;
    double y = 0;
    double depth = 0;
    bool visible = false;  // inside the view volume
};

// Follows a step list as OpenGL would, keeping the matrices, the viewport and the colour, and
// reports each display-list call and each text with the state in force.
class GlEvaluator {
public:
    struct State {
        Mat4 projection;
        Mat4 modelView;
        float viewportWidth = 1;
        float viewportHeight = 1;
        std::array<float, 3> colour{1, 1, 1};
        // The raster position set last, in window coordinates, and its colour.
        WindowPoint raster;
        std::array<float, 3> rasterColour{1, 1, 1};

        // Where an object-space point lands in the window.
        WindowPoint ToWindow(double x, double y, double z) const;
    };

    std::function<void(int list, const State&)> onCallList;
    std::function<void(const std::string& text, const State&)> onText;

    void Run(const std::vector<GlStep>& steps);
    const State& Current() const { return state_; }

private:
    State state_;
    std::vector<Mat4> stack_;
};

}  // namespace zephran::views
