#pragma once

#include "app/diagrams/diagram_form.h"

class TFormAbs2 : public TDiagramForm {
    Q_OBJECT
public:
    explicit TFormAbs2(QWidget* parent = nullptr);
};

extern TFormAbs2* FormAbs2;
