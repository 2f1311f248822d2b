#pragma once

#include <cstddef>

// Fills a buffer from the operating system's cryptographic generator. Salts
// and encryption headers must not be predictable, so there is no fallback to a
// weaker source: a failure raises Exception.
void FillRandomBytes(void* buffer, std::size_t size);
