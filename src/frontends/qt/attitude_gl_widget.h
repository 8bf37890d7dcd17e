#pragma once

#include <QOpenGLWidget>
#include <QTimer>
#include <QWidget>
#include <functional>

#include "views/attitude_view.h"

namespace zephran::qt {

// A 3-D view (Parts 7.3, 7.4) on a compatibility-profile context: fixed-function OpenGL 1.x,
// display lists for the box, the legend and the grid, GLU quadrics, and bitmap glyphs for the
// text. It executes the view's step list as it stands; the view model decides everything.
class AttitudeGlWidget : public QOpenGLWidget {
public:
    // onResize: the client's new size, in the view's units (device-independent pixels).
    AttitudeGlWidget(views::AttitudeView& view, std::function<void(float, float)> onResize,
                     QWidget* parent = nullptr);
    ~AttitudeGlWidget() override;

    // The view's window is going: nothing of the model is read from now on.
    void Detach();
    views::AttitudeView* View() const { return view_; }

    // Draws again at the next frame of the display, at most once per frame.
    void RequestRedraw();
    // Frames drawn so far.
    long long Frames() const { return frames_; }

    // The surface the views need: OpenGL 2.1 compatibility, 16 depth bits, no alpha.
    static QSurfaceFormat Format();

protected:
    void initializeGL() override;
    void resizeGL(int width, int height) override;
    void paintGL() override;

private:
    void CompileLists();
    void BuildGlyphs(qreal ratio);
    void Run(const std::vector<views::GlStep>& steps, qreal ratio);

    views::AttitudeView* view_;
    std::function<void(float, float)> onResize_;
    bool created_ = false;
    unsigned glyphBase_ = 0;
    qreal glyphRatio_ = 0;
    QTimer frameTimer_;
    bool redrawPending_ = false;
    long long frames_ = 0;
};

// The top-level window of a 3-D view, titled "Euler" or "Euler(+Vcc)": the GL widget fills it.
// Its close box tells the owner (onClose), which then destroys the window.
class ViewWindow : public QWidget {
public:
    ViewWindow(views::AttitudeView& view, std::function<void(float, float)> onResize,
               std::function<void()> onClose, QWidget* parent);

    AttitudeGlWidget& Gl() const { return *gl_; }
    views::ViewKind Kind() const { return kind_; }
    // Forgets the model and the close handler; the window hides and goes when the loop next
    // runs.
    void Dismiss();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    views::ViewKind kind_;
    AttitudeGlWidget* gl_;
    std::function<void()> onClose_;
};

}  // namespace zephran::qt
