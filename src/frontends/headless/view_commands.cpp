#include "frontends/headless/view_commands.h"

#include <array>
#include <cstdio>

#include "frontends/headless/protocol.h"

namespace zephran::headless {
namespace {

std::string Number(double value) {
    char text[32];
    std::snprintf(text, sizeof text, "%g", value);
    return text;
}

std::string At(views::Point p) {
    return std::to_string(p.x) + "," + std::to_string(p.y);
}

std::string Box(const views::Rect& r) {
    return At({r.left, r.top}) + " to " + At({r.right, r.bottom});
}

constexpr std::array<std::string_view, views::kScopeButtons> kButtonNames{"up", "down", "time-up",
                                                                          "time-down"};

std::string TraceLine(std::size_t index, const views::ScopeModel& trace) {
    return std::to_string(index) + " " + trace.Name() + ": " + trace.ReadoutText() + " " +
           trace.Unit() + ", " + Number(trace.ValuePerDivision()) + " per division, " +
           Number(trace.TimePerDivision()) + " s per division, zero " +
           std::to_string(trace.ZeroNumerator()) + "/10, " +
           std::to_string(trace.Samples().size()) + " samples";
}

std::vector<std::string> TraceDetails(const views::ScopeModel& trace) {
    std::vector<std::string> lines{
        "name: " + trace.Name(),
        "unit: " + trace.Unit(),
        "readout: " + trace.ReadoutText(),
        "value per division: " + Number(trace.ValuePerDivision()),
        "time per division: " + Number(trace.TimePerDivision()),
        "zero line: " + std::to_string(trace.ZeroNumerator()) + "/10 at row " +
            std::to_string(trace.ZeroY()),
        "samples: " + std::to_string(trace.Samples().size()),
    };
    const views::ScopeGeometry& g = trace.Geometry();
    lines.push_back("size: " + std::to_string(g.client.Width()) + "x" +
                    std::to_string(g.client.Height()));
    lines.push_back("plot: " + Box(g.plot));
    lines.push_back("slider: " + Box(g.slider) + ", thumb at " + At(trace.ThumbTopLeft()));
    lines.push_back("readout box: " + Box(g.readout));
    for (const views::AxisLabel& label : trace.VerticalLabels())
        lines.push_back("vertical label " + label.text + " at " + At(label.at));
    for (const views::AxisLabel& label : trace.TimeLabels())
        lines.push_back("time label " + label.text + " at " + At(label.at));
    const auto points = trace.TracePoints();
    if (points.empty()) {
        lines.push_back("trace: none");
    } else if (!trace.DrawsTrace()) {
        lines.push_back("trace: one point at " + At(points.front()) + ", no line");
    } else {
        lines.push_back("trace: " + std::to_string(points.size()) + " points from " +
                        At(points.front()) + " to " + At(points.back()));
    }
    static constexpr std::array<std::string_view, 3> kOffScale{"none", "above the plot",
                                                               "below the plot"};
    lines.push_back("off scale: " +
                    std::string(kOffScale[static_cast<std::size_t>(trace.NewestOffScale())]));
    lines.push_back("hovered: " +
                    (trace.Hovered() == views::kButtonNone
                         ? std::string("none")
                         : std::string(kButtonNames[static_cast<std::size_t>(trace.Hovered())])));
    return lines;
}

std::string PressButton(views::ScopeModel& trace, std::string_view name) {
    for (std::size_t i = 0; i < kButtonNames.size(); ++i) {
        if (kButtonNames[i] != name) continue;
        const views::Triangle& t = trace.Geometry().buttons[i];
        const views::Point centre{(t.apex.x + t.baseLeft.x + t.baseRight.x) / 3,
                                  (t.apex.y + t.baseLeft.y + t.baseRight.y) / 3};
        trace.Move(centre);
        trace.Press(centre);
        trace.Release();
        return {};
    }
    return "no button " + std::string(name) + " (up, down, time-up, time-down)";
}

void DragZero(views::ScopeModel& trace, int position) {
    const views::Rect& bar = trace.Geometry().slider;
    const int x = (bar.left + bar.right) / 2;
    trace.Press({x, trace.SliderRowFor(trace.ZeroNumerator())});
    trace.Move({x, trace.SliderRowFor(position)});
    trace.Release();
}

}  // namespace

ViewAnswer ListViews(const views::LiveViews& views) {
    ViewAnswer answer;
    if (const views::CDlgScope* scope = views.Scope())
        answer.lines.push_back("scope: " + scope->GetWindowText() + " (modal)");
    for (views::ViewKind kind : views::kViewKinds) {
        if (const views::AttitudeView* view = views.View(kind)) {
            answer.lines.push_back(
                std::string(kind == views::ViewKind::Attitude ? "attitude: " : "position: ") +
                std::string(view->Title()));
        }
    }
    return answer;
}

ViewAnswer ScopeCommand(views::LiveViews& views, std::string_view arguments) {
    ViewAnswer answer;
    views::CDlgScope* scope = views.Scope();
    if (!scope) {
        answer.error = "the scope is not open";
        return answer;
    }
    const auto words = Words(arguments);
    if (words.empty()) {
        for (std::size_t i = 0; i < views::kScopeTraceCount; ++i)
            answer.lines.push_back(TraceLine(i, scope->Trace(i)));
        return answer;
    }
    const int index = views::FindScopeTrace(words[0]);
    if (index < 0) {
        answer.error = "no trace " + std::string(words[0]);
        return answer;
    }
    views::ScopeModel& trace = scope->Trace(static_cast<std::size_t>(index));
    if (words.size() == 1) {
        answer.lines = TraceDetails(trace);
    } else if (words.size() == 3 && words[1] == "press") {
        answer.error = PressButton(trace, words[2]);
    } else if (words.size() == 3 && words[1] == "zero") {
        const auto position = ParseNumber(words[2], -1000, 1000);
        if (!position) {
            answer.error = "usage: scope TRACE zero POSITION";
        } else {
            DragZero(trace, static_cast<int>(*position));
        }
    } else {
        answer.error = "usage: scope [TRACE [press BUTTON | zero POSITION]]";
    }
    return answer;
}

ViewAnswer ViewState(const views::LiveViews& views, views::ViewKind kind) {
    ViewAnswer answer;
    const views::AttitudeView* view = views.View(kind);
    if (!view) {
        answer.error = std::string(kind == views::ViewKind::Attitude ? "the attitude view"
                                                                     : "the position view") +
                       " is not open";
        return answer;
    }
    answer.lines = {
        "title: " + std::string(view->Title()),
        "attitude: roll " + Number(view->Roll()) + " pitch " + Number(view->Pitch()) + " yaw " +
            Number(view->Yaw()),
        "heading reference: " + Number(view->HeadingReference()),
        "relative yaw: " + Number(view->RelativeYaw()),
        "size: " + Number(view->Current().width) + "x" + Number(view->Current().height) +
            ", at creation " + Number(view->Initial().width) + "x" + Number(view->Initial().height),
    };
    for (const views::TextLine& line : view->TextColumn())
        answer.lines.push_back("text: " + line.text);
    return answer;
}

bool ParseViewName(std::string_view word, views::ViewKind& kind, bool& scope) {
    scope = word == "scope";
    if (word == "attitude") kind = views::ViewKind::Attitude;
    if (word == "position") kind = views::ViewKind::Position;
    return scope || word == "attitude" || word == "position";
}

ViewAnswer ResizeCommand(views::LiveViews& views, std::string_view arguments) {
    ViewAnswer answer;
    const auto words = Words(arguments);
    views::ViewKind kind = views::ViewKind::Attitude;
    bool scope = false;
    const auto width = words.size() == 3 ? ParseNumber(words[1], 0, 100000) : std::nullopt;
    const auto height = words.size() == 3 ? ParseNumber(words[2], 0, 100000) : std::nullopt;
    if (!width || !height || !ParseViewName(words[0], kind, scope) || scope) {
        answer.error = "usage: resize attitude|position WIDTH HEIGHT";
    } else if (!views.IsOpen(kind)) {
        answer.error = "the " + std::string(words[0]) + " view is not open";
    } else {
        views.ViewResized(kind, static_cast<float>(*width), static_cast<float>(*height));
    }
    return answer;
}

}  // namespace zephran::headless
