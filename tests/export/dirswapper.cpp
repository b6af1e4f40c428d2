// Plays the other user of a shared temporary directory: for the given time it
// swaps two names there back and forth in one step each (the export directory
// and a symbolic link to somewhere else), so that whoever uses the directory
// by its name meets the link at unpredictable moments. Prints the number of
// swaps made.
//
// Usage: export_dirswapper <name> <other name> <milliseconds>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <thread>

#include <fcntl.h>
#include <stdio.h>

int main(int argc, char *argv[])
{
    if (argc != 4) {
        std::fputs("usage: export_dirswapper <name> <other name> <milliseconds>\n", stderr);
        return 2;
    }
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(std::atol(argv[3]));
    long swaps = 0;
    while (std::chrono::steady_clock::now() < deadline) {
        if (::renameat2(AT_FDCWD, argv[1], AT_FDCWD, argv[2], RENAME_EXCHANGE) != 0) {
            std::perror("renameat2");
            return 1;
        }
        ++swaps;
        // Each state lasts a moment, so that both are met mid-export.
        std::this_thread::sleep_for(std::chrono::microseconds(20));
    }
    // Leave the names as they were found.
    if (swaps % 2 != 0 && ::renameat2(AT_FDCWD, argv[1], AT_FDCWD, argv[2], RENAME_EXCHANGE) == 0)
        ++swaps;
    std::printf("%ld\n", swaps);
    return 0;
}
