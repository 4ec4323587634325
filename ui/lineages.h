#pragma once

#include <QLabel>
#include <QListWidget>
#include <QPointer>
#include <QTimer>
#include <cstdint>
#include <vector>

#include "runtime/childwindows.h"
#include "sim/lineage.h"

namespace zibs {

class Forms;

// The share of every founding family in the living population, day by day: one band per first
// zib, stacked in the order of their identities, each in its own colour. A click picks a day,
// hovering picks a family.
class MullerPlot : public QWidget {
    Q_OBJECT
  public:
    explicit MullerPlot(QWidget* parent);
    // The living members of each family (families() per day) for days first to first + days - 1.
    void setCounts(std::vector<std::int16_t> counts, int families, int first, int days);
    void markDay(int day);  // a vertical line; negative: none
    static QColor familyColour(ZibId founder);
    int familyAt(QPointF at) const;  // 1.., 0 for none
    int dayAt(double x) const;

  signals:
    void dayPicked(int day);
    void familyHovered(int founder);  // 0 when the pointer leaves every family

  protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void leaveEvent(QEvent* event) override;

  private:
    int count(int day, int family) const;
    std::vector<std::int16_t> counts_;
    int families_ = 0;
    int first_ = 0;
    int days_ = 0;
    int highest_ = 1;
    int markedDay_ = -1;
    int hovered_ = 0;
};

// The window "Lineages": the Muller plot of the founding families over the run, the family under
// the pointer (its living members marked over the world picture), and the inspected zib's line
// of descent back to its first ancestor. It catches up with the run log on a timer, at the
// display's pace, while it exists.
class lineages : public ChildForm {
    Q_OBJECT
  public:
    explicit lineages(Forms& forms);
    ~lineages() override;
    void Form_Load() override;

    // Brings the window up to the run log and the inspected zib now.
    void refresh();
    // Marks a family's living members over the world picture and names the family; 0: none.
    void showFamily(ZibId founder);

    MullerPlot* muller;
    QLabel* familylbl;
    QLabel* zibidlbl;
    QListWidget* descent;

  signals:
    void dayPicked(int day);

  private:
    void showDescent(ZibId id);
    // The identities of the living zibs of records 1 to popstart on the world's day.
    std::vector<ZibId> livingIdentities() const;

    Forms& forms_;
    QTimer timer_;
    QPointer<QWidget> marks_;
    std::uint64_t rewrites_ = UINT64_MAX;
    int shownDay_ = -1;
    ZibId shownSize_ = -1;
    ZibId shownZib_ = -1;
    ZibId family_ = 0;
};

}  // namespace zibs
