#pragma once

#include <QLabel>
#include <QLineEdit>

#include <cstdint>

#include "runtime/childwindows.h"
#include "sim/params.h"

namespace zibs {

class Forms;

// The parameters window "Variables": six texts that Initialize reads.
class Fvariables : public ChildForm {
    Q_OBJECT
  public:
    explicit Fvariables(Forms& forms);

    // Places the window under the inspector, as wide as it and as tall as the graph window.
    void Form_Load() override;

    ParameterTexts texts() const;
    std::string seedText() const;
    // Shows the texts and the seed of a world, as Initialize would read them to build it again.
    void setTexts(const ParameterTexts& texts, std::uint32_t seed);

    QLabel* Label1;
    QLineEdit* startpop;
    QLineEdit* repro;
    QLabel* Label2;
    QLineEdit* txtGrass;
    QLabel* Label3;
    QLineEdit* txtgrow;
    QLabel* Label4;
    QLineEdit* txtrad;
    QLabel* Label5;
    QLineEdit* txtmute;
    QLabel* Label6;
    QLabel* Label7;
    QLineEdit* txtseed;  // empty: Initialize takes a seed from the clock

  private:
    Forms& forms_;
};

}  // namespace zibs
