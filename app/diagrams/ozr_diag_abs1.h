#pragma once

#include "app/diagrams/diagram_form.h"

class TFormAbs1 : public TDiagramForm {
    Q_OBJECT
public:
    explicit TFormAbs1(QWidget* parent = nullptr);
};

extern TFormAbs1* FormAbs1;
