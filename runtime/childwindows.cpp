#include "runtime/childwindows.h"

#include <QCloseEvent>
#include <QLayout>
#include <QMdiSubWindow>

#include "runtime/twips.h"

namespace zibs {

ChildForm::ChildForm(const QString& caption, int clientWidthTwips, int clientHeightTwips,
                     OnClose onClose)
    : onClose_(onClose) {
    setWindowTitle(caption);
    // Opaque: a figure that changes repaints this form under it, not the frame and title bar.
    setAutoFillBackground(true);
    resize(px(clientWidthTwips), px(clientHeightTwips));
}

QWidget* ChildForm::frame() const {
    QWidget* parent = parentWidget();
    return parent ? parent : const_cast<ChildForm*>(this);
}

int ChildForm::Left() const {
    return twips(frame()->x());
}
int ChildForm::Top() const {
    return twips(frame()->y());
}
int ChildForm::Width() const {
    return twips(frame()->width());
}
int ChildForm::Height() const {
    return twips(frame()->height());
}

void ChildForm::setLeft(int t) {
    frame()->move(px(t), frame()->y());
}
void ChildForm::setTop(int t) {
    frame()->move(frame()->x(), px(t));
}
void ChildForm::setWidth(int t) {
    frame()->resize(px(t), frame()->height());
}
void ChildForm::setHeight(int t) {
    frame()->resize(frame()->width(), px(t));
}

void ChildForm::closeEvent(QCloseEvent* event) {
    event->accept();
    if (!hiddenOnClose()) emit closed();
}

void frameChildForm(QMdiArea* area, ChildForm* form) {
    const QSize client = form->size();
    QMdiSubWindow* sub = area->addSubWindow(form);
    sub->setAttribute(Qt::WA_DeleteOnClose, !form->hiddenOnClose());
    // The frame adds its title bar and borders around the client area.
    const QMargins margins = sub->contentsMargins() + sub->layout()->contentsMargins();
    sub->resize(client.width() + margins.left() + margins.right(),
                client.height() + margins.top() + margins.bottom());
    sub->move(0, 0);
}

void showChildForm(ChildForm* form) {
    auto* sub = qobject_cast<QMdiSubWindow*>(form->parentWidget());
    if (!sub) {
        form->show();
        return;
    }
    // A minimised window comes back as it was before.
    if (sub->isMinimized()) sub->showNormal();
    sub->show();
    form->show();
    if (QMdiArea* area = sub->mdiArea()) area->setActiveSubWindow(sub);
}

}  // namespace zibs
