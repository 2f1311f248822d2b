#pragma once

#include "app/diagrams/diagram_form.h"

class TFormAbs4 : public TDiagramForm {
    Q_OBJECT
public:
    explicit TFormAbs4(QWidget* parent = nullptr);
};

extern TFormAbs4* FormAbs4;
