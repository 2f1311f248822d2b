#pragma once

// The findings of one validation run: each check adds at most one message of a
// kind, and the form shows them all at once in its message list.

#include <cstdint>
#include <initializer_list>
#include <string>
#include <string_view>
#include <vector>

enum TMsgKind : std::uint8_t { mkInformation = 0, mkWarning = 1, mkError = 2 };

struct TCheckMessage {
    std::string Text;
    TMsgKind Kind = mkError;

    bool operator==(const TCheckMessage&) const = default;
};

class TCheckMessages {
public:
    void Add(std::string text, TMsgKind kind) { items_.push_back({std::move(text), kind}); }
    void Error(std::string text) { Add(std::move(text), mkError); }
    void Warning(std::string text) { Add(std::move(text), mkWarning); }

    const std::vector<TCheckMessage>& Items() const { return items_; }
    bool Empty() const { return items_.empty(); }
    bool HasErrors() const;

private:
    std::vector<TCheckMessage> items_;
};

// The pattern with each "%s" replaced by the next argument, in order.
std::string FormatText(std::string_view pattern, std::initializer_list<std::string_view> args);
