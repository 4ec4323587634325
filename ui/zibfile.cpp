#include "ui/zibfile.h"

#include <QFontDatabase>
#include <algorithm>

#include "runtime/controls.h"
#include "runtime/convert.h"
#include "ui/Fworld.h"
#include "ui/forms.h"

namespace zibs {

namespace {

QString firstInstalled(const QString& wanted, const QString& substitute) {
    return QFontDatabase::families().contains(wanted) ? wanted : substitute;
}

// The figures: Times New Roman 12 pt, or a metric-compatible serif where it is missing.
QFont figureFont() {
    QFont f(firstInstalled(QStringLiteral("Times New Roman"), QStringLiteral("Liberation Serif")));
    f.setPointSizeF(12);
    return f;
}

// The alive state: Tahoma 14.25 pt bold underlined, or a similar sans serif.
QFont aliveFont() {
    QFont f(firstInstalled(QStringLiteral("Tahoma"), QStringLiteral("DejaVu Sans")));
    f.setPointSizeF(14.25);
    f.setBold(true);
    f.setUnderline(true);
    return f;
}

// Most figures stay the same from one day to the next: a label given its own text again would
// still ask to be repainted.
void setFigure(QLabel* label, const QString& text) {
    if (label->text() != text) label->setText(text);
}

void setTextColour(QLabel* label, Rgb c) {
    const QColor colour(c.r, c.g, c.b);
    QPalette pal = label->palette();
    // Most days it is set already: a new palette would have the label work out all its colours.
    if (pal.isBrushSet(QPalette::Active, QPalette::WindowText) &&
        pal.color(QPalette::WindowText) == colour) {
        return;
    }
    pal.setColor(QPalette::WindowText, colour);
    label->setPalette(pal);
}

// A label laid out in twips, its text at the top left as the figures always were.
QLabel* textLabel(QWidget* parent, const char* text, int left, int top, int width, int height) {
    QLabel* l = zibs::label(parent, text, left, top, width, height);
    l->setTextFormat(Qt::PlainText);
    l->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    return l;
}

QLabel* figure(QWidget* parent, const char* text, int left, int top, int width, int height) {
    QLabel* l = textLabel(parent, text, left, top, width, height);
    l->setFont(figureFont());
    return l;
}

// A fixed text in whole words: the figures' font, made smaller in half points until the text
// fits its box ("Repro age" is wider than its box at 12 pt), and lowered to stand on the same
// line as the figures beside it.
QLabel* caption(QWidget* parent, const char* text, int left, int top, int width, int height) {
    QLabel* l = figure(parent, text, left, top, width, height);
    QFont f = l->font();
    while (f.pointSizeF() > 6 && QFontMetrics(f).horizontalAdvance(l->text()) > l->width())
        f.setPointSizeF(f.pointSizeF() - 0.5);
    l->setFont(f);
    l->setContentsMargins(0, QFontMetrics(figureFont()).ascent() - QFontMetrics(f).ascent(), 0, 0);
    return l;
}

// A cell figure inside the portrait, its top left corner at the middle of its square of the
// drawing area, inside the border: white text over whatever the portrait shows around it.
QLabel* cellLabel(PictureBox* pic, const char* text, int left, int top) {
    QLabel* l = textLabel(pic, text, left, top, 615, 225);
    l->move(l->pos() + QPoint(pic->borderWidth(), pic->borderWidth()));
    setTextColour(l, white);
    return l;
}

// One shaded ball: concentric discs from the widest to the narrowest. The pen starts at
// startWidth and each disc first steps it with nextWidth; colour(n) is the colour of disc n.
template <class NextWidth, class Colour>
void ball(PictureBox* pic, double x, double y, int startWidth, int discs, NextWidth nextWidth,
          Colour colour) {
    pic->setDrawWidth(startWidth);
    for (int n = 0; n < discs; ++n) {
        pic->setDrawWidth(nextWidth(pic->DrawWidth()));
        pic->PSet(x, y, colour(n));
    }
}

}  // namespace

zibfile::zibfile(Forms& forms) : ChildForm(QString(), 4710, 5625), forms_(forms) {
    // Children are created in tab order, so their stacking follows it too.
    filepic = new PictureBox(this);
    filepic->setBorder(true);
    placed(filepic, 450, 0, 4000, 4000);
    filepic->setBackColor(black);
    filepic->setForeColor(white);
    filepic->setScaleWidth(3);
    filepic->setScaleHeight(3);
    filepic->Cls();

    Label1 = caption(this, "Age", 330, 4200, 765, 285);
    agelbl = figure(this, "0", 1140, 4200, 1005, 285);
    foodlbl = figure(this, "0", 1140, 4530, 1005, 285);
    Label3 = caption(this, "Food", 330, 4530, 765, 285);
    Label2 = caption(this, "Use", 330, 4860, 765, 285);
    uselbl = figure(this, "0", 1140, 4860, 1005, 285);

    alivelbl = textLabel(this, "Alive", 2310, 4140, 1485, 345);
    alivelbl->setFont(aliveFont());
    alivelbl->setAutoFillBackground(true);
    QPalette pal = alivelbl->palette();
    pal.setColor(QPalette::Window, QColor(192, 192, 192));
    alivelbl->setPalette(pal);

    lbl[1] = cellLabel(filepic, "Label4", 658, 658);
    lbl[0] = cellLabel(filepic, "000", 1972, 1972);
    lbl[0]->hide();
    lbl[2] = cellLabel(filepic, "Label4", 1972, 658);
    lbl[3] = cellLabel(filepic, "Label4", 3288, 658);
    lbl[4] = cellLabel(filepic, "Label4", 3288, 1972);
    lbl[5] = cellLabel(filepic, "Label4", 3288, 3288);
    lbl[6] = cellLabel(filepic, "Label4", 1972, 3288);
    lbl[7] = cellLabel(filepic, "Label4", 658, 3288);
    lbl[8] = cellLabel(filepic, "Label4", 658, 1972);

    Reprolbl = figure(this, "0", 3030, 4530, 1005, 285);
    Label5 = caption(this, "Repro age", 2220, 4530, 765, 285);
}

void zibfile::Form_Load() {
    Fworld& world = forms_.get<Fworld>();
    setLeft(world.Width() + world.Left());
    setTop(0);
    setHeight(world.Height());
}

void zibfile::showzib(const World& world) {
    filepic->Cls();
    setCaption(QStringLiteral("Zib number %1").arg(world.selzib));
    filepic->setDrawWidth(91);
    zibdataupdate(world);
    zibupdate(world);
}

void zibfile::zibdataupdate(const World& world) {
    if (world.selzib < 0 || world.selzib > lastRecord) return;
    const Zib& z = world.zibs[world.selzib];

    setFigure(agelbl, QString::number(z.age));

    // Wide totals: eight stores can hold more than a 16-bit number.
    long long food = 0;
    long long capacity = 0;
    long long use = 0;
    for (int j = 1; j <= 8; ++j) {
        const ZibCell& cell = z.cells[j];
        QString text;
        if (cell.kind == store) {
            food += cell.food;
            capacity += cell.capacity;
            text = QString::number(cell.food) + u'/' + QString::number(cell.capacity);
        } else if (cell.kind != empty) {
            text = QStringLiteral("   ") + QString::fromStdString(signedColumn(cell.mode));
        }
        setFigure(lbl[j], text);
        use += cell.use;  // every cell pays, empty ones too
    }
    setFigure(foodlbl, QString::number(food) + u'/' + QString::number(capacity));
    setFigure(uselbl, QString::number(use));

    if (z.alive == 1) {
        setFigure(alivelbl, QStringLiteral("Alive"));
        setTextColour(alivelbl, RGB(255, 0, 0));
    } else {
        setFigure(alivelbl, QStringLiteral("Dead"));
        setTextColour(alivelbl, RGB(0, 0, 0));
    }

    setFigure(Reprolbl, QString::number(z.reproage));
}

zibfile::Body zibfile::bodyOf(const Zib& z) {
    Body body{};
    for (int j = 1; j <= 8; ++j) {
        const Integer kind = z.cells[j].kind;
        body[j - 1] = kind == store || kind == motor || kind == eye ? kind : Integer{empty};
    }
    return body;
}

bool zibfile::showDrawnPortrait(const Body& body) {
    const auto seen = std::find_if(drawn_.begin(), drawn_.end(),
                                   [&](const DrawnPortrait& p) { return p.body == body; });
    if (seen == drawn_.end() || !filepic->restore(seen->picture)) return false;
    filepic->setDrawWidth(seen->drawWidth);
    std::rotate(drawn_.begin(), seen, seen + 1);
    return true;
}

void zibfile::keepPortrait(const Body& body) {
    drawn_.push_front({body, filepic->image(), filepic->DrawWidth()});
    if (drawn_.size() > keptPortraits) drawn_.pop_back();
}

void zibfile::zibupdate(const World& world) {
    if (world.selzib < 0 || world.selzib > lastRecord) return;
    pending_ = bodyOf(world.zibs[world.selzib]);
    filepic->defer([this] { drawPortrait(pending_); });
}

void zibfile::drawPortrait(const Body& body) {
    if (showDrawnPortrait(body)) return;

    filepic->Cls();

    // The grey levels step by 12.115 rounded, which is 12; RGB clips the last ones at 255.
    auto step12 = [](int g) { return static_cast<int>(nearestInt(g + 12.115)); };

    // The body: 30 grey discs 88, 85, ..., 1 pixels across.
    {
        int g = 13;
        ball(
            filepic, 1.5, 1.5, 91, 30, [](int w) { return w - 3; },
            [&](int) {
                const Rgb c = RGB(g, g, g);
                g = step12(g);
                return c;
            });
    }

    auto even = [](double w) { return static_cast<int>(roundEven(w)); };
    auto by4 = [&](int w) { return even(w - 4.5); };   // 86, 82, ..., 10
    auto by2 = [&](int w) { return even(w - 2.05); };  // 89, 87, ... from 91; 48, ... from 50

    for (int j = 1; j <= 8; ++j) {
        const Integer kind = body[j - 1];
        const double x = 1.5 + ring[j].dx;
        const double y = 1.5 + ring[j].dy;
        if (kind == empty) continue;
        if (kind == store || kind == motor) {
            const bool yellow = kind == motor;
            int g = 13;
            ball(filepic, x, y, 91, 20, by4, [&](int) {
                const Rgb c = RGB(g, yellow ? g : 0, 0);
                g = step12(g);
                return c;
            });
        } else if (kind == eye) {
            ball(filepic, x, y, 91, 20, by2, [](int n) {
                const int v = 12 + 20 * n;
                return RGB(v, v, v);
            });
            ball(filepic, x, y, 50, 20, by2, [](int n) { return RGB(0, 75, 12 + 20 * n); });
            filepic->setDrawWidth(20);
            filepic->PSet(x, y, RGB(0, 0, 0));
        }
        // A kind other than 1, 2 and 3 matches none of the branches and leaves its square black.
    }
    keepPortrait(body);
}

}  // namespace zibs
