#pragma once

#include <QImage>
#include <QWidget>
#include <array>
#include <cstdint>
#include <functional>
#include <vector>

#include "runtime/colour.h"

namespace zibs {

// A picture box as the windows use it: a persistent canvas that keeps every pixel painted on it
// until Cls, a user coordinate system with its origin at the top left, a pen width in whole
// pixels whatever the scale, and round dots plotted with PSet.
//
// User point (x, y) falls on the pixel column x * (W - 1) / ScaleWidth of a drawing area W pixels
// wide (likewise for y), so 0 and ScaleWidth are the first and the last pixel of the area and a
// dot on an edge is cut off there.
class PictureBox : public QWidget {
    Q_OBJECT
  public:
    explicit PictureBox(QWidget* parent = nullptr);

    // A 2-pixel sunken border around the drawing area (off by default).
    void setBorder(bool sunken);
    int borderWidth() const { return border_; }

    void setBackColor(Rgb c) { back_ = c; }
    Rgb BackColor() const { return back_; }
    void setForeColor(Rgb c) { fore_ = c; }
    Rgb ForeColor() const { return fore_; }

    // Until set, the scale counts pixels: ScaleWidth is W - 1 for an area W pixels wide.
    void setScaleWidth(double w);
    void setScaleHeight(double h);
    double ScaleWidth() const;
    double ScaleHeight() const;

    void setDrawWidth(int w);
    int DrawWidth() const { return drawWidth_; }

    // Puts off a drawing until the canvas is next painted, read or drawn on, or its scale set.
    // One drawing waits at a time: a later one replaces one that has not run, and must draw what
    // that one would have. The pen width is the same before and after it runs.
    void defer(std::function<void()> draw);

    // Fills the drawing area with the background colour.
    void Cls();
    // A filled round dot of DrawWidth pixels centred on the user point.
    void PSet(double x, double y, Rgb colour);
    void PSet(double x, double y) { PSet(x, y, fore_); }

    // A dot worked out once and plotted often: the pixels PSet would set for a dot of DrawWidth
    // at (x, y) on the canvas as it is. Plotting it sets the same pixels as PSet would, leaving
    // the pen as it is; once the canvas has changed size or scale it is PSet.
    struct Dot {
        double x = 0, y = 0;
        int width = 1;
        qsizetype anchor = -1;     // the anchor pixel's index in the canvas; -1: cut at an edge
        std::uint64_t canvas = 0;  // canvasSerial() when placed
    };
    Dot place(double x, double y) const;
    void plot(const Dot& dot, Rgb colour) {
        // Nearly always: the canvas as the dot was placed, wholly on it, not shared, nothing put
        // off, and a repaint of the whole picture already asked for.
        if (dot.canvas == canvasSerial_ && dot.anchor >= 0 && fullRepaintPending_ &&
            !canvasShared_ && !deferred_ && canvasFits()) {
            QRgb* const anchor = reinterpret_cast<QRgb*>(bits_) + dot.anchor;
            const QRgb c = qRgb(colour.r, colour.g, colour.b);
            for (const qsizetype offset : penPixels_[dot.width]) anchor[offset] = c;
            return;
        }
        const int width = drawWidth_;
        setDrawWidth(dot.width);
        PSet(dot.x, dot.y, colour);
        setDrawWidth(width);
    }

    // The drawing area, one image pixel per screen pixel.
    const QImage& image() const;
    // Puts back a picture taken with image() from this box; false, and nothing changes, when it
    // does not fit the drawing area.
    bool restore(const QImage& picture);
    Rgb pixelAt(int px, int py) const;
    // Changes whenever the canvas is cleared, replaced or mapped anew (Cls, a new size, restore, a
    // new scale): a caller that remembers what it drew can tell when that memory no longer holds.
    std::uint64_t canvasSerial() const {
        syncCanvas();
        return canvasSerial_;
    }
    // The pixel a user point falls on, and the user point of a pixel.
    QPoint toPixel(double x, double y) const;
    QPointF toUser(QPointF areaPixel) const;

  signals:
    // A mouse button went down over the drawing area; x and y in user units.
    void MouseDown(Qt::MouseButton button, Qt::KeyboardModifiers shift, double x, double y);

  protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

  private:
    // One row of a dot: `length` pixels from dx0 in row dy, relative to the dot's anchor pixel.
    struct Span {
        int dy, dx0, length;
    };
    // The pixels of a dot of one width. The anchor pixel is floor(u + offset, v + offset) for the
    // centre (u, v) in pixels: for odd widths (offset 0.5) the pixel holding the centre, for even
    // ones (offset 1) the pixel to the lower right of the corner nearest the centre (each offset
    // with a tiny nudge added).
    struct Stamp {
        double offset = 0.5;
        int reach = 0;  // rows or columns from the anchor to the farthest pixel
        std::vector<Span> spans;
    };
    static const Stamp& stamp(int width);

    // Brings the canvas to the size of the drawing area (a new canvas starts blank). A hidden
    // widget receives its resize events only when shown, so every access checks this first.
    bool canvasFits() const {
        return areaW_ == width() - 2 * border_ && areaH_ == height() - 2 * border_;
    }
    void syncCanvas() const {
        if (!canvasFits()) reallocate();
    }
    void reallocate() const;
    // Runs the drawing put off, if any, leaving the pen as the caller set it.
    void runDeferred() const {
        if (deferred_) [[unlikely]] {
            const std::function<void()> draw = std::move(deferred_);
            deferred_ = nullptr;
            const int width = drawWidth_;
            draw();
            const_cast<PictureBox*>(this)->setDrawWidth(width);
        }
    }
    void detachCanvas();
    void listPenPixels() const;
    // A dot that reaches over an edge of the canvas: its rows are cut there.
    void plotCut(const Stamp& st, int ax, int ay, QRgb c);
    void updateMapping() const;
    void requestRepaint();
    void requestRepaint(int left, int top, int right, int bottom);

    mutable QImage canvas_;
    // The canvas's size and, between reallocations, its pixels and line length.
    mutable int areaW_ = -1, areaH_ = -1;
    mutable uchar* bits_ = nullptr;
    mutable qsizetype stride_ = 0;  // in pixels
    // Pixels per user unit on each axis.
    mutable double kx_ = 1, ky_ = 1;
    mutable std::uint64_t canvasSerial_ = 0;
    mutable std::function<void()> deferred_;
    const Stamp* pen_;  // the stamp of drawWidth_
    // The pixels of the small pens' dots as offsets from their anchor pixels on this canvas.
    static constexpr int smallPen = 4;  // the pens of the world picture and the graph
    mutable std::array<std::vector<qsizetype>, smallPen + 1> penPixels_;  // by width
    bool fullRepaintPending_ = false;
    int dotsPending_ = 0;
    mutable bool canvasShared_ = true;
    int border_ = 0;
    Rgb back_ = RGB(255, 255, 255);
    Rgb fore_ = RGB(0, 0, 0);
    double scaleWidth_ = 0;  // 0: not set
    double scaleHeight_ = 0;
    int drawWidth_ = 1;
};

}  // namespace zibs
