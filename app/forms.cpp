#include "app/forms.h"

#include <ranges>

#include "app/ozr_main.h"

template <typename TForm>
void TForms::Create(TForm*& global)
{
    auto form = std::make_unique<TForm>(FormMain);
    global = form.get();
    created_.push_back({std::move(form), [&global] { global = nullptr; }});
}

TForms::TForms()
{
    Create(FormMain);
}

TForms::~TForms()
{
    for (TCreated& created : std::views::reverse(created_)) {
        created.Forget();
        created.Form.reset();
    }
}
