#pragma once

#include <QImage>
#include <QWidget>

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

    void setScaleWidth(double w) { scaleWidth_ = w; }
    void setScaleHeight(double h) { scaleHeight_ = h; }
    double ScaleWidth() const { return scaleWidth_; }
    double ScaleHeight() const { return scaleHeight_; }

    void setDrawWidth(int w);
    int DrawWidth() const { return drawWidth_; }

    // Fills the drawing area with the background colour.
    void Cls();
    // A filled round dot of DrawWidth pixels centred on the user point.
    void PSet(double x, double y, Rgb colour);
    void PSet(double x, double y) { PSet(x, y, fore_); }

    // The drawing area, one image pixel per screen pixel.
    const QImage& image() const { return canvas_; }
    Rgb pixelAt(int px, int py) const;
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
    QImage canvas_;
    int border_ = 0;
    Rgb back_ = RGB(255, 255, 255);
    Rgb fore_ = RGB(0, 0, 0);
    double scaleWidth_ = 1;
    double scaleHeight_ = 1;
    int drawWidth_ = 1;
};

}  // namespace zibs
