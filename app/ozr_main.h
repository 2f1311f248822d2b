#pragma once

#include <QMainWindow>

// The program's main window.
class TFormMain : public QMainWindow {
    Q_OBJECT

public:
    explicit TFormMain(QWidget* parent = nullptr);
};

extern TFormMain* FormMain;
