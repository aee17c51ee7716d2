// The standard streams as protocol byte streams on Windows: binary, so
// that no CR is put before an LF or taken away.
#include "base/StandardStreams.h"

#include <fcntl.h>
#include <io.h>
#include <stdio.h>

namespace quodle {

void OpenProtocolStreams() {
    _setmode(_fileno(stdin), _O_BINARY);
    _setmode(_fileno(stdout), _O_BINARY);
}

std::size_t ReadStandardInput(char* buffer, std::size_t size) {
    const unsigned int want = size > 0x10000000 ? 0x10000000u : static_cast<unsigned int>(size);
    const int got = _read(_fileno(stdin), buffer, want);
    return got > 0 ? static_cast<std::size_t>(got) : 0;
}

bool WriteStandardOutput(std::string_view bytes) {
    while (!bytes.empty()) {
        const unsigned int want = bytes.size() > 0x10000000 ? 0x10000000u : static_cast<unsigned int>(bytes.size());
        const int put = _write(_fileno(stdout), bytes.data(), want);
        if (put <= 0) return false;
        bytes.remove_prefix(static_cast<std::size_t>(put));
    }
    return true;
}

}  // namespace quodle
