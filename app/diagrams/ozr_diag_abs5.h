#pragma once

#include "app/diagrams/diagram_form.h"

class TFormAbs5 : public TDiagramForm {
    Q_OBJECT
public:
    explicit TFormAbs5(QWidget* parent = nullptr);
};

extern TFormAbs5* FormAbs5;
