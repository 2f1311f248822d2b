#include "platform/random_bytes.h"

#include <cerrno>
#include <cstring>
#include <string>
#include <sys/random.h>

#include "platform/exception.h"

void FillRandomBytes(void* buffer, std::size_t size)
{
    auto* out = static_cast<unsigned char*>(buffer);
    while (size > 0) {
        const ssize_t got = getrandom(out, size, 0);
        if (got < 0) {
            if (errno == EINTR)
                continue;
            throw Exception(std::string("No random bytes from the system: ") +
                            std::strerror(errno));
        }
        out += got;
        size -= static_cast<std::size_t>(got);
    }
}
