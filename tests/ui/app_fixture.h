#pragma once

#include <QMdiSubWindow>
#include <QStringList>

#include <gtest/gtest.h>

#include "runtime/random.h"
#include "sim/world.h"
#include "ui/Fmain.h"
#include "ui/forms.h"

namespace zibs {

// The whole program on the offscreen platform, with message boxes collected instead of shown.
class AppTest : public ::testing::Test {
  protected:
    AppTest() {
        fmain.messageSink = [this](const QString& text) { messages << text; };
        fmain.show();
    }

    template <class Form>
    Form& window() {
        return fmain.forms().get<Form>();
    }
    template <class Form>
    Form* existing() {
        return fmain.forms().existing<Form>();
    }
    static QRect frameOf(QWidget* form) { return form->parentWidget()->geometry(); }

    World world;
    Rnd rnd{1};
    Fmain fmain{world, rnd};
    QStringList messages;
};

}  // namespace zibs
