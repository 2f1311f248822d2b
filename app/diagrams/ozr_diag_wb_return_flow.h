#pragma once

#include "app/diagrams/diagram_form.h"

class TFormReturnFlowDiagram : public TDiagramForm {
    Q_OBJECT
public:
    explicit TFormReturnFlowDiagram(QWidget* parent = nullptr);
};

extern TFormReturnFlowDiagram* FormReturnFlowDiagram;
