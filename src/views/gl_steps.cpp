#include "views/gl_steps.h"

#include <cmath>

namespace zephran::views {
namespace {

constexpr double kPi = 3.14159265358979323846;

Mat4 FromRows(const std::array<double, 16>& rows) {
    Mat4 result;
    for (int row = 0; row < 4; ++row) {
        for (int col = 0; col < 4; ++col)
            result.m[static_cast<std::size_t>(col * 4 + row)] =
                rows[static_cast<std::size_t>(row * 4 + col)];
    }
    return result;
}

}  // namespace

Frustum ProjectionFrustum(float width, float height) {
    const double w = width;
    const double h = height;
    if (h >= w) return {-1, 1, -h / w, h / w, 1, 4};
    return {-w / h, w / h, -1, 1, 1, 4};
}

Mat4 Mat4::Scale(double x, double y, double z) {
    return FromRows({x, 0, 0, 0, 0, y, 0, 0, 0, 0, z, 0, 0, 0, 0, 1});
}

Mat4 Mat4::Translate(double x, double y, double z) {
    return FromRows({1, 0, 0, x, 0, 1, 0, y, 0, 0, 1, z, 0, 0, 0, 1});
}

Mat4 Mat4::Rotate(double degrees, double x, double y, double z) {
    const double length = std::sqrt(x * x + y * y + z * z);
    if (length == 0) return Mat4{};
    x /= length;
    y /= length;
    z /= length;
    const double c = std::cos(degrees * kPi / 180);
    const double s = std::sin(degrees * kPi / 180);
    const double k = 1 - c;
    return FromRows({x * x * k + c, x * y * k - z * s, x * z * k + y * s, 0,  //
                     y * x * k + z * s, y * y * k + c, y * z * k - x * s, 0,  //
                     x * z * k - y * s, y * z * k + x * s, z * z * k + c, 0,  //
                     0, 0, 0, 1});
}

Mat4 Mat4::Frustum(const views::Frustum& f) {
    const double n = f.nearPlane;
    const double far = f.farPlane;
    return FromRows({2 * n / (f.right - f.left), 0, (f.right + f.left) / (f.right - f.left), 0,  //
                     0, 2 * n / (f.top - f.bottom), (f.top + f.bottom) / (f.top - f.bottom), 0,  //
                     0, 0, -(far + n) / (far - n), -2 * far * n / (far - n),                     //
                     0, 0, -1, 0});
}

Mat4 Mat4::operator*(const Mat4& other) const {
    Mat4 result;
    for (int col = 0; col < 4; ++col) {
        for (int row = 0; row < 4; ++row) {
            double sum = 0;
            for (int k = 0; k < 4; ++k)
                sum += m[static_cast<std::size_t>(k * 4 + row)] *
                       other.m[static_cast<std::size_t>(col * 4 + k)];
            result.m[static_cast<std::size_t>(col * 4 + row)] = sum;
        }
    }
    return result;
}

std::array<double, 4> Mat4::operator*(const std::array<double, 4>& v) const {
    std::array<double, 4> result{};
    for (int row = 0; row < 4; ++row) {
        double sum = 0;
        for (int k = 0; k < 4; ++k)
            sum += m[static_cast<std::size_t>(k * 4 + row)] * v[static_cast<std::size_t>(k)];
        result[static_cast<std::size_t>(row)] = sum;
    }
    return result;
}

WindowPoint GlEvaluator::State::ToWindow(double x, double y, double z) const {
    const auto clip = projection * (modelView * std::array<double, 4>{x, y, z, 1});
    WindowPoint point;
    if (clip[3] <= 0) return point;
    const double nx = clip[0] / clip[3];
    const double ny = clip[1] / clip[3];
    const double nz = clip[2] / clip[3];
    point.x = (nx + 1) / 2 * viewportWidth;
    point.y = (ny + 1) / 2 * viewportHeight;
    point.depth = (nz + 1) / 2;
    point.visible = std::abs(nx) <= 1 && std::abs(ny) <= 1 && std::abs(nz) <= 1;
    return point;
}

void GlEvaluator::Run(const std::vector<GlStep>& steps) {
    using Op = GlStep::Op;
    for (const GlStep& step : steps) {
        switch (step.op) {
            case Op::Clear:
            case Op::Finish:
                break;
            case Op::Project:
                state_.viewportWidth = step.a;
                state_.viewportHeight = step.b;
                state_.projection = Mat4::Frustum(ProjectionFrustum(step.a, step.b));
                state_.modelView = Mat4{};
                break;
            case Op::Identity:
                state_.modelView = Mat4{};
                break;
            case Op::Push:
                stack_.push_back(state_.modelView);
                break;
            case Op::Pop:
                if (!stack_.empty()) {
                    state_.modelView = stack_.back();
                    stack_.pop_back();
                }
                break;
            case Op::Colour:
                state_.colour = {step.a, step.b, step.c};
                break;
            case Op::Scale:
                state_.modelView = state_.modelView * Mat4::Scale(step.a, step.b, step.c);
                break;
            case Op::Translate:
                state_.modelView = state_.modelView * Mat4::Translate(step.a, step.b, step.c);
                break;
            case Op::Rotate:
                state_.modelView = state_.modelView * Mat4::Rotate(step.a, step.b, step.c, step.d);
                break;
            case Op::CallList:
                if (onCallList) onCallList(static_cast<int>(step.a), state_);
                break;
            case Op::RasterPos:
                state_.raster = state_.ToWindow(step.a, step.b, step.c);
                state_.rasterColour = state_.colour;
                break;
            case Op::Text:
                if (onText) onText(step.text, state_);
                break;
        }
    }
}

}  // namespace zephran::views
