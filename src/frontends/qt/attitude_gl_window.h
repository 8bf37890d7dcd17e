#pragma once

#include <QImage>
#include <QOpenGLWindow>
#include <QTimer>
#include <array>
#include <functional>
#include <string>

#include "views/attitude_view.h"

namespace zephran::qt {

// A 3-D view's window, titled "Euler" or "Euler(+Vcc)": a double-buffered,
// depth-buffered OpenGL window on a compatibility-profile context, drawn with fixed-function
// OpenGL 1.x, display lists for the box, the legend and the grid, and GLU quadrics. It executes
// the view's step list as it stands; the view model decides everything.
//
// Text is drawn as glBitmap would draw it: at the raster position, in the raster colour, at the
// raster depth, and not at all when the raster position is invalid. The glyphs are crisp
// bitmaps kept in one texture and drawn as a row of quads per text, which Mesa's software
// renderer does at a fraction of the cost of glBitmap calls.
//
// It is a QOpenGLWindow, which draws straight into the window's back buffer and swaps, rather
// than a QOpenGLWidget, which draws into a texture that the widget stack composes into its
// window at every frame: with Mesa's software renderer that composition costs about eight
// times the frame itself (bench/README.md).
class AttitudeGlWindow : public QOpenGLWindow {
public:
    // onResize: the client's new size in device-independent pixels. onClose: its close box.
    AttitudeGlWindow(views::AttitudeView& view, std::function<void(float, float)> onResize,
                     std::function<void()> onClose, QWindow* transientParent);
    ~AttitudeGlWindow() override;

    // The window is going: nothing of the model is read from now on, the close box tells no
    // one, and the window hides and is deleted when the loop next runs.
    void Dismiss();
    views::AttitudeView* View() const { return view_; }
    views::ViewKind Kind() const { return kind_; }

    // Draws again at the next frame of the display, at most once per frame.
    void RequestRedraw();
    // Frames drawn so far.
    long long Frames() const { return frames_; }
    // Draws the view as it stands into the back buffer and reads it, without showing it: the
    // window's image in device pixels (screenshots, tests).
    QImage Render();

    // The surface the views need: OpenGL 2.1 compatibility, RGBA without alpha, 16 depth bits,
    // double buffered.
    static QSurfaceFormat Format();

protected:
    void initializeGL() override;
    void resizeGL(int width, int height) override;
    void paintGL() override;
    void closeEvent(QCloseEvent* event) override;

private:
    void CompileLists();
    void BuildGlyphs(qreal ratio);
    void DrawText(const std::string& text);
    void Run(const std::vector<views::GlStep>& steps, qreal ratio);

    views::ViewKind kind_;
    views::AttitudeView* view_;
    std::function<void(float, float)> onResize_;
    std::function<void()> onClose_;
    bool created_ = false;
    // The glyph texture: cells of 16 columns by 8 rows for the codes 0 to 127, in device pixels.
    unsigned glyphTexture_ = 0;
    qreal glyphRatio_ = 0;
    int cellWidth_ = 0;
    int cellHeight_ = 0;
    int descent_ = 0;
    int textureWidth_ = 0;
    int textureHeight_ = 0;
    std::array<int, 128> advances_{};
    QTimer frameTimer_;
    bool redrawPending_ = false;
    long long frames_ = 0;
};

}  // namespace zephran::qt
