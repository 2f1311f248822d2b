#pragma once

// What the tests of the application share.

#include <initializer_list>
#include <stdexcept>
#include <string>
#include <vector>

#include <QAbstractButton>
#include <QStringList>
#include <QWidget>

#include "app/help_viewer/help_service.h"

// The control of that object name on the form; raises when there is none, so
// that a renamed control fails the test that drives it.
template <typename TWidget>
TWidget& Find(const QWidget& form, const char* name)
{
    auto* widget = form.findChild<TWidget*>(QLatin1String(name));
    if (!widget)
        throw std::runtime_error(std::string("no control ") + name);
    return *widget;
}

inline void Click(const QWidget& form, const char* name)
{
    Find<QAbstractButton>(form, name).click();
}

inline QStringList Strings(std::initializer_list<const char*> texts)
{
    QStringList list;
    for (const char* text : texts)
        list << QString::fromUtf8(text);
    return list;
}

// Records the context numbers of the help asked for, in order.
class TRecordedHelp final : public THelpViewer {
public:
    TRecordedHelp() : installed_(*this) {}
    void ShowTopic(int context) override { contexts_.push_back(context); }
    const std::vector<int>& Contexts() const { return contexts_; }

private:
    ScopedHelpViewer installed_;
    std::vector<int> contexts_;
};
