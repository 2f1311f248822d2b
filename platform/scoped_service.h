#pragma once

// A service of the platform layer (dialogs, drives) is reached through one
// slot that holds the installed implementation. This installs another one for
// the lifetime of a scope and puts the previous one back.
template <typename Service, Service*& (*Slot)()>
class TScopedService {
public:
    explicit TScopedService(Service& replacement) : previous_(Slot()) { Slot() = &replacement; }
    ~TScopedService() { Slot() = previous_; }
    TScopedService(const TScopedService&) = delete;
    TScopedService& operator=(const TScopedService&) = delete;

private:
    Service* previous_;
};
