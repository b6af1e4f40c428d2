#include "table/visiblecelltext.h"

#include <cstring>

namespace Wexal {

namespace {

bool tokenAt(const char *at, const char *end, char letter)
{
    return end - at >= 3 && at[0] == '#' && at[1] == letter && at[2] == '#';
}

} // namespace

char *appendVisibleCellText(QByteArrayView cell, char *out)
{
    const char *p = cell.data();
    const char *const end = p + cell.size();
    bool linkOpen = false;
    while (p < end) {
        if (*p != '#') {
            // A stretch without "#" holds no token: taken at once.
            const void *hash = std::memchr(p, '#', std::size_t(end - p));
            const char *stop = hash ? static_cast<const char *>(hash) : end;
            std::memcpy(out, p, std::size_t(stop - p));
            out += stop - p;
            p = stop;
            continue;
        }
        bool lineEnd = false;
        if (tokenAt(p, end, 'B'))
            p += 3;
        if (tokenAt(p, end, 'U'))
            p += 3;
        if (tokenAt(p, end, 'I'))
            p += 3;
        if (tokenAt(p, end, 'L')) {
            p += 3;
            if (linkOpen) {
                // The target runs to the next "#", which goes with it.
                if (const void *hash = std::memchr(p, '#', std::size_t(end - p)))
                    p = static_cast<const char *>(hash) + 1;
            }
            linkOpen = !linkOpen;
        }
        if (tokenAt(p, end, 'N')) {
            p += 3;
            lineEnd = true;
        }
        if (lineEnd)
            *out++ = ' ';
        else if (p < end)
            *out++ = *p++;
    }
    return out;
}

} // namespace Wexal
