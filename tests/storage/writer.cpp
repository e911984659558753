// Writes the records of writerrecord.h to a file, one after another, so that
// a test can kill it in the middle of a write or run two at once. Prints
// "ready" once it has started.
// Usage: storage_writer PATH TAG FIRST COUNT   (COUNT 0: until killed)

#include "writerrecord.h"

#include <cstdio>
#include <cstdlib>

int main(int argc, char **argv)
{
    if (argc != 5) {
        std::fprintf(stderr, "usage: %s PATH TAG FIRST COUNT\n", argv[0]);
        return 2;
    }
    const std::string path = argv[1];
    const std::string tag = argv[2];
    const long first = std::atol(argv[3]);
    const long count = std::atol(argv[4]);
    // Tells the test that start-up is over, so that its kills fall among writes.
    std::fputs("ready\n", stdout);
    std::fflush(stdout);
    try {
        for (long number = first; count == 0 || number < first + count; ++number)
            WriteSettings(path, WriterRecord(tag, number));
    } catch (const SettingsError &error) {
        std::fprintf(stderr, "%s\n", error.what());
        return 1;
    }
    return 0;
}
