#pragma once

#include "app/diagrams/diagram_form.h"

class TFormAbs3 : public TDiagramForm {
    Q_OBJECT
public:
    explicit TFormAbs3(QWidget* parent = nullptr);
};

extern TFormAbs3* FormAbs3;
