#pragma once

// The commands of the program (menu items, tool buttons, push buttons, a
// choice in a list box, a click in a grid) run in handlers connected to Qt's
// signals. An exception must not travel from a handler through Qt's own code,
// which is not written to unwind it: every command is connected through
// ConnectCommand, which catches at the handler's edge and shows the error as
// the application object does for other events.

#include <exception>
#include <functional>
#include <type_traits>
#include <utility>

#include <QObject>

// Shows the message of an exception that a handler did not mend, in an error box.
void HandleException(const std::exception& error);

// Runs a handler, showing any exception it lets out.
template <typename THandler>
void RunGuarded(THandler&& handler)
{
    try {
        std::forward<THandler>(handler)();
    } catch (const std::exception& error) {
        HandleException(error);
    }
}

namespace command_guard_detail {

// A handler takes the signal's arguments, or none of them.
template <typename THandler, typename... TArgs>
void Call(const THandler& handler, const TArgs&... args)
{
    if constexpr (std::is_invocable_v<const THandler&, const TArgs&...>)
        std::invoke(handler, args...);
    else
        std::invoke(handler);
}

}  // namespace command_guard_detail

// Connects the signal to the handler, run guarded: a member function of
// `receiver` or any callable. The connection ends with the receiver.
template <typename TSender, typename TSignal, typename TReceiver, typename THandler>
void ConnectCommand(const TSender* sender, TSignal signal, TReceiver* receiver, THandler handler)
{
    QObject::connect(sender, signal, receiver, [receiver, handler](const auto&... args) {
        RunGuarded([&] {
            if constexpr (std::is_member_function_pointer_v<THandler>)
                command_guard_detail::Call(std::bind_front(handler, receiver), args...);
            else
                command_guard_detail::Call(handler, args...);
        });
    });
}
