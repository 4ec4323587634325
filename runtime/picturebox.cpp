#include "runtime/picturebox.h"

#include <QMouseEvent>
#include <QPainter>
#include <algorithm>
#include <cmath>
#include <experimental/simd>
#include <memory>

namespace zibs {

namespace {

namespace stdx = std::experimental;

QRgb toQRgb(Rgb c) {
    return qRgb(c.r, c.g, c.b);
}

// The classic sunken frame: a grey and white outer line, a dark grey and light grey inner one.
constexpr QRgb frameOuterShadow = qRgb(128, 128, 128);
constexpr QRgb frameOuterLight = qRgb(255, 255, 255);
constexpr QRgb frameInnerShadow = qRgb(64, 64, 64);
constexpr QRgb frameInnerLight = qRgb(212, 208, 200);

// Floor of a value already known to lie well within the int range.
int floorToInt(double v) {
    const int i = static_cast<int>(v);
    return i - (v < i);
}

// Pixel coordinates come from a product with a rounded factor; a nudge far below any visible
// amount keeps points that map exactly onto a pixel boundary from falling short of it.
constexpr double nudge = 1e-9;

// Pixel coordinates beyond this are far off any canvas.
constexpr double farOff = 1e9;

// Sets n pixels to one colour. The rows of wide dots (the portrait's balls) are filled a vector
// register at a time.
void fillRow(QRgb* p, int n, QRgb c) {
    using Block = stdx::native_simd<QRgb>;
    constexpr int blockSize = static_cast<int>(Block::size());
    int i = 0;
    if (n >= blockSize) {
        const Block block(c);
        for (; i + blockSize <= n; i += blockSize) block.copy_to(p + i, stdx::element_aligned);
    }
    for (; i < n; ++i) p[i] = c;
}

}  // namespace

PictureBox::PictureBox(QWidget* parent) : QWidget(parent), pen_(&stamp(1)) {
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void PictureBox::setBorder(bool sunken) {
    border_ = sunken ? 2 : 0;
    syncCanvas();
    requestRepaint();
}

void PictureBox::setScaleWidth(double w) {
    runDeferred();  // drawn to the scale it was meant for
    scaleWidth_ = w;
    updateMapping();
}

void PictureBox::setScaleHeight(double h) {
    runDeferred();
    scaleHeight_ = h;
    updateMapping();
}

double PictureBox::ScaleWidth() const {
    if (scaleWidth_ != 0) return scaleWidth_;
    syncCanvas();
    return std::max(1, areaW_ - 1);
}

double PictureBox::ScaleHeight() const {
    if (scaleHeight_ != 0) return scaleHeight_;
    syncCanvas();
    return std::max(1, areaH_ - 1);
}

void PictureBox::setDrawWidth(int w) {
    w = std::max(1, w);
    if (w == drawWidth_) return;
    drawWidth_ = w;
    pen_ = &stamp(drawWidth_);
}

void PictureBox::listPenPixels() const {
    for (int width = 1; width <= smallPen; ++width) {
        std::vector<qsizetype>& pixels = penPixels_[width];
        pixels.clear();
        for (const Span& span : stamp(width).spans)
            for (int dx = span.dx0; dx < span.dx0 + span.length; ++dx)
                pixels.push_back(span.dy * stride_ + dx);
    }
}

void PictureBox::reallocate() const {
    areaW_ = std::max(0, width() - 2 * border_);
    areaH_ = std::max(0, height() - 2 * border_);
    if (areaW_ == 0 || areaH_ == 0) {
        canvas_ = QImage();
        bits_ = nullptr;
    } else {
        canvas_ = QImage(areaW_, areaH_, QImage::Format_RGB32);
        canvas_.fill(toQRgb(back_));
        bits_ = canvas_.bits();
        stride_ = canvas_.bytesPerLine() / qsizetype(sizeof(QRgb));
    }
    updateMapping();
    listPenPixels();
}

void PictureBox::updateMapping() const {
    kx_ = (areaW_ - 1) / ScaleWidth();
    ky_ = (areaH_ - 1) / ScaleHeight();
    ++canvasSerial_;
}

const QImage& PictureBox::image() const {
    runDeferred();
    syncCanvas();
    canvasShared_ = true;  // the caller may keep a copy: the next dot detaches first
    return canvas_;
}

bool PictureBox::restore(const QImage& picture) {
    runDeferred();
    syncCanvas();
    if (picture.size() != canvas_.size() || picture.format() != canvas_.format()) return false;
    canvas_ = picture;  // shared until the next dot
    bits_ = const_cast<uchar*>(canvas_.constBits());
    canvasShared_ = true;
    ++canvasSerial_;
    requestRepaint();
    return true;
}

void PictureBox::requestRepaint() {
    // A hidden widget is painted whole when it is shown.
    if (fullRepaintPending_) return;
    fullRepaintPending_ = true;
    update();
}

void PictureBox::requestRepaint(int left, int top, int right, int bottom) {
    // The first few dots between two paints ask for their own rectangles (a graph adds one dot a
    // day); after that one request for the whole picture is cheaper than one per dot.
    if (fullRepaintPending_) return;
    if (++dotsPending_ > 4) return requestRepaint();
    update(QRect(QPoint(left + border_, top + border_), QPoint(right + border_, bottom + border_)));
}

void PictureBox::defer(std::function<void()> draw) {
    deferred_ = std::move(draw);
    requestRepaint();
}

void PictureBox::Cls() {
    runDeferred();
    syncCanvas();
    if (!canvas_.isNull()) {
        // A canvas someone else holds is left to them rather than copied first.
        if (!canvas_.isDetached()) canvas_ = QImage(canvas_.size(), canvas_.format());
        canvas_.fill(toQRgb(back_));
        bits_ = canvas_.bits();
        canvasShared_ = false;
    }
    ++canvasSerial_;
    requestRepaint();
}

const PictureBox::Stamp& PictureBox::stamp(int width) {
    // Shared by all picture boxes; built on first use of each width.
    static std::vector<std::unique_ptr<Stamp>> stamps;
    if (static_cast<std::size_t>(width) >= stamps.size()) stamps.resize(width + 1);
    if (stamps[width]) return *stamps[width];
    auto s = std::make_unique<Stamp>();

    // A pixel belongs to the dot when its centre lies within width / 2 of the dot's centre. For
    // an odd width the centre is the middle of the anchor pixel, so offsets run -r..r; for an
    // even one it is the anchor pixel's top-left corner, and offsets run -r..r-1 with the pixel
    // centres half a pixel off the corner.
    const bool even = width % 2 == 0;
    const int r = width / 2;
    const double half = even ? 0.5 : 0.0;
    const double limit = (width / 2.0) * (width / 2.0) + 1e-9;
    s->offset = 0.5 + nudge + half;
    s->reach = r;
    const int lo = -r;
    const int hi = even ? r - 1 : r;
    for (int dy = lo; dy <= hi; ++dy) {
        const double ey = dy + half;
        const double room = limit - ey * ey;
        if (room < half * half) continue;
        // The largest k with (k + half)^2 <= room: the row reaches k pixels right of the anchor
        // and, mirrored about the centre, as far to the left.
        int k = static_cast<int>(std::sqrt(room) - half);
        while ((k + 1 + half) * (k + 1 + half) <= room) ++k;
        while (k > 0 && (k + half) * (k + half) > room) --k;
        const int dx0 = even ? -k - 1 : -k;
        s->spans.push_back({dy, dx0, k - dx0 + 1});
    }
    stamps[width] = std::move(s);
    return *stamps[width];
}

void PictureBox::PSet(double x, double y, Rgb colour) {
    runDeferred();
    syncCanvas();
    if (!bits_) return;
    const Stamp& st = *pen_;
    const double u = x * kx_ + st.offset;
    const double v = y * ky_ + st.offset;
    // Keeps NaN and far-off points away from the integer conversion.
    if (!(std::abs(u) < farOff && std::abs(v) < farOff)) return;
    const int ax = floorToInt(u);
    const int ay = floorToInt(v);
    // Someone holding a copy of the image keeps the pixels they copied.
    if (canvasShared_) detachCanvas();
    const QRgb c = toQRgb(colour);
    if (ax < st.reach || ax + st.reach >= areaW_ || ay < st.reach || ay + st.reach >= areaH_)
        return plotCut(st, ax, ay, c);

    // Wholly on the canvas, as nearly every dot is: no row needs cutting.
    QRgb* const anchor = reinterpret_cast<QRgb*>(bits_) + ay * stride_ + ax;
    if (drawWidth_ <= smallPen) {
        for (const qsizetype offset : penPixels_[drawWidth_]) anchor[offset] = c;
    } else {
        for (const Span& span : st.spans)
            fillRow(anchor + span.dy * stride_ + span.dx0, span.length, c);
    }
    if (!fullRepaintPending_)
        requestRepaint(ax - st.reach, ay - st.reach, ax + st.reach, ay + st.reach);
}

PictureBox::Dot PictureBox::place(double x, double y) const {
    syncCanvas();
    Dot dot{x, y, drawWidth_, -1, canvasSerial_};
    const Stamp& st = *pen_;
    const double u = x * kx_ + st.offset;
    const double v = y * ky_ + st.offset;
    if (!bits_ || drawWidth_ > smallPen || !(std::abs(u) < farOff && std::abs(v) < farOff))
        return dot;
    const int ax = floorToInt(u);
    const int ay = floorToInt(v);
    if (ax >= st.reach && ax + st.reach < areaW_ && ay >= st.reach && ay + st.reach < areaH_)
        dot.anchor = ay * stride_ + ax;
    return dot;
}

void PictureBox::detachCanvas() {
    bits_ = canvas_.bits();  // detaches the canvas if it is shared
    canvasShared_ = false;
}

void PictureBox::plotCut(const Stamp& st, int ax, int ay, QRgb c) {
    if (ax + st.reach < 0 || ax - st.reach >= areaW_ || ay + st.reach < 0 ||
        ay - st.reach >= areaH_)
        return;  // wholly off the canvas
    QRgb* const pixels = reinterpret_cast<QRgb*>(bits_);
    for (const Span& span : st.spans) {
        const int row = ay + span.dy;
        if (row < 0 || row >= areaH_) continue;
        const int x0 = std::max(0, ax + span.dx0);
        const int x1 = std::min(areaW_ - 1, ax + span.dx0 + span.length - 1);
        if (x0 <= x1) fillRow(pixels + row * stride_ + x0, x1 - x0 + 1, c);
    }
    requestRepaint(std::max(0, ax - st.reach), std::max(0, ay - st.reach),
                   std::min(areaW_ - 1, ax + st.reach), std::min(areaH_ - 1, ay + st.reach));
}

Rgb PictureBox::pixelAt(int px, int py) const {
    runDeferred();
    syncCanvas();
    const QRgb c = canvas_.pixel(px, py);
    return RGB(qRed(c), qGreen(c), qBlue(c));
}

QPoint PictureBox::toPixel(double x, double y) const {
    syncCanvas();
    const double u = x * kx_ + (0.5 + nudge);
    const double v = y * ky_ + (0.5 + nudge);
    return {static_cast<int>(std::floor(u)), static_cast<int>(std::floor(v))};
}

QPointF PictureBox::toUser(QPointF areaPixel) const {
    syncCanvas();
    const double x = areaW_ > 1 ? areaPixel.x() * ScaleWidth() / (areaW_ - 1) : 0.0;
    const double y = areaH_ > 1 ? areaPixel.y() * ScaleHeight() / (areaH_ - 1) : 0.0;
    return {x, y};
}

void PictureBox::paintEvent(QPaintEvent* event) {
    // A drawing put off asked for the whole picture to be painted, which this paint does.
    fullRepaintPending_ = true;
    runDeferred();
    fullRepaintPending_ = false;
    dotsPending_ = 0;
    syncCanvas();
    QPainter p(this);
    const QRect area = event->rect() & QRect(border_, border_, canvas_.width(), canvas_.height());
    p.drawImage(area, canvas_, area.translated(-border_, -border_));
    if (border_ == 0) return;

    const int w = width();
    const int h = height();
    // The bottom and right lines run the full length and so own the bottom-left and top-right
    // corners; the top and left lines stop one pixel short of them.
    p.fillRect(0, 0, w - 1, 1, QColor(frameOuterShadow));
    p.fillRect(0, 0, 1, h - 1, QColor(frameOuterShadow));
    p.fillRect(0, h - 1, w, 1, QColor(frameOuterLight));
    p.fillRect(w - 1, 0, 1, h, QColor(frameOuterLight));
    p.fillRect(1, 1, w - 3, 1, QColor(frameInnerShadow));
    p.fillRect(1, 1, 1, h - 3, QColor(frameInnerShadow));
    p.fillRect(1, h - 2, w - 2, 1, QColor(frameInnerLight));
    p.fillRect(w - 2, 1, 1, h - 2, QColor(frameInnerLight));
}

void PictureBox::resizeEvent(QResizeEvent*) {
    // A canvas of the same size keeps its pixels (a hidden widget gets its pending resize only
    // when shown, after it may have been drawn on).
    syncCanvas();
}

void PictureBox::mousePressEvent(QMouseEvent* event) {
    syncCanvas();
    const QPointF area = event->position() - QPointF(border_, border_);
    if (area.x() < 0 || area.y() < 0 || area.x() >= canvas_.width() ||
        area.y() >= canvas_.height()) {
        return;
    }
    const QPointF user = toUser(area);
    emit MouseDown(event->button(), event->modifiers(), user.x(), user.y());
}

}  // namespace zibs
