#pragma once

#include <QLabel>
#include <QString>

#include "runtime/twips.h"

namespace zibs {

// Places a control at a position and size given in twips.
template <class Control>
Control* placed(Control* control, int left, int top, int width, int height) {
    control->setGeometry(px(left), px(top), px(width), px(height));
    return control;
}

// A label placed in twips that keeps its size: a new text then asks its window for no new
// layout (which would make the window measure its frame again).
inline QLabel* label(QWidget* parent, const char* text, int left, int top, int width, int height) {
    QLabel* l = placed(new QLabel(QString::fromLatin1(text), parent), left, top, width, height);
    l->setFixedSize(l->size());
    return l;
}

}  // namespace zibs
