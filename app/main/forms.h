#pragma once

// The forms of the program, created once at start-up in a fixed order with the
// main window first, and freed in the reverse order at the end of the run. Each
// form's unit declares its global (FormMain, FormReservoirs, ...), which points
// at the form while the set lives.

#include <functional>
#include <memory>
#include <vector>

class QWidget;

class TForms {
public:
    TForms();
    ~TForms();
    TForms(const TForms&) = delete;
    TForms& operator=(const TForms&) = delete;

private:
    // The main window is created without a parent; every later form is a
    // dialog of the main window, so that it stays in front of it.
    template <typename TForm>
    void Create(TForm*& global);

    struct TCreated {
        std::unique_ptr<QWidget> Form;
        std::function<void()> Forget;
    };
    std::vector<TCreated> created_;
};
