#include "ui/lineages.h"

#include <QHash>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <QScreen>
#include <QStringList>
#include <QVBoxLayout>
#include <algorithm>

#include "runtime/controls.h"
#include "runtime/picturebox.h"
#include "ui/Fmain.h"
#include "ui/Fworld.h"
#include "ui/forms.h"
#include "ui/zibfile.h"

namespace zibs {

namespace {

// The window catches up with a run this often (a run lets the events through after every day).
constexpr int followMs = 100;

constexpr QMargins plotMargins(4, 4, 4, 16);

// A body as the inspector colours it, small: the grey body, red stores, yellow motors, blue eyes
// in a white rim, each ring cell where it sits about the centre.
QIcon bodyIcon(const std::array<char, 8>& body) {
    static QHash<QByteArray, QIcon> made;
    const QByteArray key(body.data(), static_cast<qsizetype>(body.size()));
    if (const auto it = made.constFind(key); it != made.constEnd()) return *it;
    QPixmap picture(27, 27);
    picture.fill(Qt::black);
    QPainter p(&picture);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(200, 200, 200));
    p.drawEllipse(QPointF(13.5, 13.5), 13, 13);
    for (int j = 1; j <= 8; ++j) {
        const QPointF at(13.5 + 8.5 * ring[j].dx, 13.5 + 8.5 * ring[j].dy);
        switch (body[j - 1]) {
            case 'S':
                p.setBrush(QColor(250, 0, 0));
                p.drawEllipse(at, 3.5, 3.5);
                break;
            case 'M':
                p.setBrush(QColor(250, 250, 0));
                p.drawEllipse(at, 3.5, 3.5);
                break;
            case 'E':
                p.setBrush(Qt::white);
                p.drawEllipse(at, 3.5, 3.5);
                p.setBrush(QColor(0, 75, 250));
                p.drawEllipse(at, 2, 2);
                break;
            default:
                break;
        }
    }
    p.end();
    return made[key] = QIcon(picture);
}

// Rings over the world picture at the living members of a family: a layer of its own above the
// picture, which stays as it was drawn.
class FamilyMarks : public QWidget {
  public:
    FamilyMarks(PictureBox* pic) : QWidget(pic), pic_(pic) {
        setAttribute(Qt::WA_TransparentForMouseEvents);
        setAttribute(Qt::WA_NoSystemBackground);
        setGeometry(pic->rect());
    }
    void setPlaces(std::vector<QPoint> places) {
        places_ = std::move(places);
        setGeometry(pic_->rect());
        raise();
        show();
        update();
    }

  protected:
    void paintEvent(QPaintEvent*) override {
        QPainter p(this);
        p.setRenderHint(QPainter::Antialiasing);
        const int border = (pic_->width() - pic_->image().width()) / 2;
        const double unit = pic_->toPixel(1, 0).x() - pic_->toPixel(0, 0).x();
        for (const QPoint& at : places_) {
            const QPointF centre = QPointF(pic_->toPixel(at.x(), at.y())) + QPointF(border, border);
            p.setPen(QPen(Qt::white, 3));
            p.drawEllipse(centre, unit * 0.55, unit * 0.55);
            p.setPen(QPen(QColor(255, 0, 255), 1.5));
            p.drawEllipse(centre, unit * 0.55, unit * 0.55);
        }
    }

  private:
    PictureBox* pic_;
    std::vector<QPoint> places_;
};

}  // namespace

MullerPlot::MullerPlot(QWidget* parent) : QWidget(parent) {
    setMouseTracking(true);
    setMinimumHeight(120);
    setToolTip("Click a day to go to it; point at a family to mark its living zibs");
}

QColor MullerPlot::familyColour(ZibId founder) {
    // Hues a golden angle apart: neighbours differ, and no two of a hundred look alike.
    const double hue = std::fmod(0.12 + 0.618034 * founder, 1.0);
    return QColor::fromHsvF(static_cast<float>(hue), 0.75f, founder % 2 ? 0.95f : 0.75f);
}

void MullerPlot::setCounts(std::vector<std::int16_t> counts, int families, int first, int days) {
    counts_ = std::move(counts);
    families_ = families;
    first_ = first;
    days_ = days;
    highest_ = 1;
    for (int d = 0; d < days_; ++d) {
        int sum = 0;
        for (int f = 0; f < families_; ++f) sum += count(d, f);
        highest_ = std::max(highest_, sum);
    }
    update();
}

void MullerPlot::markDay(int day) {
    markedDay_ = day;
    update();
}

int MullerPlot::count(int day, int family) const {
    return counts_[static_cast<std::size_t>(day) * static_cast<std::size_t>(families_) +
                   static_cast<std::size_t>(family)];
}

int MullerPlot::dayAt(double x) const {
    const QRect area = rect().marginsRemoved(plotMargins);
    if (days_ <= 0) return -1;
    const double share = std::clamp((x - area.left()) / std::max(1, area.width() - 1), 0.0, 1.0);
    return first_ + static_cast<int>(std::lround(share * (days_ - 1)));
}

int MullerPlot::familyAt(QPointF at) const {
    const QRect area = rect().marginsRemoved(plotMargins);
    const int day = dayAt(at.x());
    if (day < 0 || !area.contains(at.toPoint())) return 0;
    const double up = (area.bottom() - at.y()) * highest_ / area.height();
    double below = 0;
    for (int f = 0; f < families_; ++f) {
        below += count(day - first_, f);
        if (up < below) return f + 1;
    }
    return 0;
}

void MullerPlot::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.fillRect(rect(), Qt::black);
    const QRect area = rect().marginsRemoved(plotMargins);
    if (days_ <= 0 || area.width() < 2) return;
    // One column per pixel, the day nearest to it, the families stacked from the bottom.
    const double perZib = static_cast<double>(area.height()) / highest_;
    for (int x = 0; x < area.width(); ++x) {
        const int day = dayAt(area.left() + x) - first_;
        int below = 0;
        for (int f = 0; f < families_; ++f) {
            const int n = count(day, f);
            if (n == 0) continue;
            const int from = static_cast<int>(std::lround(below * perZib));
            below += n;
            const int to = static_cast<int>(std::lround(below * perZib));
            QColor colour = familyColour(f + 1);
            if (hovered_ != 0 && hovered_ != f + 1) colour = colour.darker(220);
            p.fillRect(area.left() + x, area.bottom() + 1 - to, 1, to - from, colour);
        }
    }
    p.setPen(QColor(160, 160, 160));
    p.drawText(QRect(area.left(), area.bottom() + 2, area.width(), 14), Qt::AlignLeft,
               QString::number(first_));
    p.drawText(QRect(area.left(), area.bottom() + 2, area.width(), 14), Qt::AlignRight,
               QString::number(first_ + days_ - 1));
    p.drawText(QRect(area.left(), area.bottom() + 2, area.width(), 14), Qt::AlignHCenter,
               QStringLiteral("day  (height: the living zibs, up to %1)").arg(highest_));
    if (markedDay_ >= first_ && markedDay_ < first_ + days_ && days_ > 1) {
        const int x = area.left() +
                      static_cast<int>(
                          std::lround((markedDay_ - first_) * (area.width() - 1.0) / (days_ - 1)));
        p.setPen(QPen(Qt::white, 1, Qt::DashLine));
        p.drawLine(x, area.top(), x, area.bottom());
    }
}

void MullerPlot::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) return;
    const int day = dayAt(event->position().x());
    if (day >= 0) emit dayPicked(day);
}

void MullerPlot::mouseMoveEvent(QMouseEvent* event) {
    const int family = familyAt(event->position());
    if (family == hovered_) return;
    hovered_ = family;
    update();
    emit familyHovered(family);
}

void MullerPlot::leaveEvent(QEvent*) {
    if (hovered_ == 0) return;
    hovered_ = 0;
    update();
    emit familyHovered(0);
}

lineages::lineages(Forms& forms) : ChildForm("Lineages", 6525, 6300), forms_(forms) {
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(4, 4, 4, 4);
    muller = new MullerPlot(this);
    layout->addWidget(muller, 3);
    familylbl = new QLabel("Point at a family to mark its living zibs in the world picture.", this);
    familylbl->setWordWrap(true);
    layout->addWidget(familylbl);
    zibidlbl = new QLabel(this);
    layout->addWidget(zibidlbl);
    descent = new QListWidget(this);
    descent->setIconSize(QSize(27, 27));
    descent->setUniformItemSizes(true);
    layout->addWidget(descent, 2);

    connect(muller, &MullerPlot::dayPicked, this, &lineages::dayPicked);
    connect(muller, &MullerPlot::familyHovered, this, [this](int f) { showFamily(f); });
    connect(&timer_, &QTimer::timeout, this, &lineages::refresh);
    timer_.start(followMs);
}

lineages::~lineages() {
    if (marks_) delete marks_.data();
}

void lineages::Form_Load() {
    // To the right of the inspector, the main window widened for it as far as the screen allows,
    // so that the world picture and the inspected zib stay in sight.
    const zibfile& inspector = forms_.get<zibfile>();
    setLeft(inspector.Left() + inspector.Width());
    setTop(0);
    forms_.main.makeRoomFor(parentWidget());
    refresh();
}

void lineages::refresh() {
    const RunLog& log = forms_.runlog;
    const Lineage& lineage = log.lineage();
    const World& world = forms_.world;
    if (log.empty()) return;
    const int day = world.day;
    if (log.rewrites() != rewrites_ || day != shownDay_ || lineage.size() != shownSize_) {
        rewrites_ = log.rewrites();
        shownDay_ = day;
        shownSize_ = lineage.size();
        // Living members per family and day: +1 on the day of birth, -1 on the day of death. An
        // opened world brings the lineage of the days before it.
        const int first =
            lineage.empty() ? log.firstDay() : std::min<int>(log.firstDay(), lineage[1].origin);
        const int days = std::max(0, day - first + 1);
        const int families = lineage.firstZibs();
        std::vector<std::int16_t> counts(static_cast<std::size_t>(days + 1) * families, 0);
        auto at = [&](int d, ZibId founder) -> std::int16_t& {
            return counts[static_cast<std::size_t>(d) * families + founder - 1];
        };
        for (ZibId id = 1; id <= lineage.size(); ++id) {
            const Lineage::Entry& e = lineage[id];
            if (e.origin > day) break;
            ++at(e.origin - first, e.founder);
            if (e.destruction != Lineage::alive && e.destruction <= day)
                --at(e.destruction - first, e.founder);
        }
        for (int d = 1; d < days; ++d)
            for (ZibId f = 1; f <= families; ++f) at(d, f) += at(d - 1, f);
        counts.resize(static_cast<std::size_t>(days) * families);
        muller->setCounts(std::move(counts), families, first, days);
        muller->markDay(day < log.lastDay() ? day : -1);
        shownZib_ = -1;
        if (family_ != 0) showFamily(family_);
    }
    const ZibId id = world.selzib > 0 ? lineage.identity(world.selzib, day) : 0;
    if (id != shownZib_) {
        shownZib_ = id;
        showDescent(id);
    }
}

void lineages::showDescent(ZibId id) {
    const Lineage& lineage = forms_.runlog.lineage();
    descent->clear();
    if (id == 0) {
        zibidlbl->setText("No zib inspected: click a zib in the world picture.");
        return;
    }
    const Lineage::Entry& inspected = lineage[id];
    zibidlbl->setText(QStringLiteral("Zib number %1 is zib %2 of the world, generation %3 of "
                                     "first zib %4. Its line of descent:")
                          .arg(inspected.record)
                          .arg(id)
                          .arg(inspected.generation)
                          .arg(inspected.founder));
    for (ZibId a = id; a != 0; a = lineage[a].parent) {
        const Lineage::Entry& e = lineage[a];
        const QString born = e.parent == 0 && e.origin > 0
                                 ? QStringLiteral("there on day %1").arg(e.origin)
                                 : QStringLiteral("born on day %1").arg(e.origin);
        auto* item = new QListWidgetItem(
            bodyIcon(e.body),
            QStringLiteral("Zib %1, %2, generation %3").arg(a).arg(born).arg(e.generation),
            descent);
        item->setToolTip(QString::fromLatin1(e.body.data(), 8));
    }
}

std::vector<ZibId> lineages::livingIdentities() const {
    const World& world = forms_.world;
    std::vector<ZibId> ids;
    for (Integer i = 1; i <= std::min<Integer>(world.popstart, lastRecord); ++i)
        if (world.zibs[i].alive == 1) ids.push_back(forms_.runlog.lineage().identity(i, world.day));
    return ids;
}

void lineages::showFamily(ZibId founder) {
    family_ = founder;
    Fworld* shown = forms_.existing<Fworld>();
    const Lineage& lineage = forms_.runlog.lineage();
    if (founder == 0 || founder > lineage.firstZibs()) {
        if (marks_) marks_->hide();
        familylbl->setText("Point at a family to mark its living zibs in the world picture.");
        return;
    }
    std::vector<QPoint> places;
    QStringList members;
    for (const ZibId id : livingIdentities()) {
        if (id == 0 || lineage[id].founder != founder) continue;
        members << QString::number(id);
        const Zib& z = forms_.world.zibs[lineage[id].record];
        places.emplace_back(z.x, z.y);
    }
    const qsizetype living = members.size();
    if (living > 12) members = members.mid(0, 12) << QStringLiteral("...");
    const Lineage::Entry& first = lineage[founder];
    familylbl->setText(
        QStringLiteral("The family of first zib %1 (record %2, body %3): %4 living on day %5%6")
            .arg(founder)
            .arg(first.record)
            .arg(QString::fromLatin1(first.body.data(), 8))
            .arg(living)
            .arg(forms_.world.day)
            .arg(living > 0 ? QStringLiteral(": zibs ") + members.join(QStringLiteral(", ")) + "."
                            : QStringLiteral(".")));
    if (!shown) return;
    if (!marks_) marks_ = new FamilyMarks(shown->pic);
    static_cast<FamilyMarks*>(marks_.data())->setPlaces(std::move(places));
}

}  // namespace zibs
