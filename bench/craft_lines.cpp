// Writes lines made to collide, for the benchmark's crafted-lines rows, as
// someone who knew the hash and its seed would make them. The comparison draws
// its seed afresh each time, so they should cost no more than other lines.
//
//   quillmark-craft-lines LINES CRAFTED ORDINARY
//
// CRAFTED gets LINES lines like e-mail addresses whose hashes under one fixed
// seed all fall in the lowest 1/1024 of the 32 bits the tables keep (they have
// no capital, so case matched or not); ORDINARY as many lines of the same
// lengths, taken as they come.

#include "compare/LineHash.h"
#include "compare/LineKeys.h"

#include <charconv>
#include <cstdio>
#include <cstdlib>
#include <string>

int main(int argc, char* argv[])
{
    if (argc != 4) {
        std::fprintf(stderr, "usage: quillmark-craft-lines LINES CRAFTED ORDINARY\n");
        return 2;
    }
    const long lines = std::atol(argv[1]);
    std::FILE* crafted = std::fopen(argv[2], "wb");
    std::FILE* ordinary = std::fopen(argv[3], "wb");
    if (lines < 1 || !crafted || !ordinary) {
        std::perror("quillmark-craft-lines");
        return 2;
    }
    constexpr std::uint64_t kSeed = 0x5EED5EED5EED5EEDull;
    char line[64] = "u";
    for (unsigned long n = 100'000'000, found = 0; found < (unsigned long)lines; ++n) {
        char* end = std::to_chars(line + 1, line + 32, n).ptr;
        end = std::copy_n("@example.com", 12, end);
        std::uint64_t marks;
        const size_t length = size_t(end - line);
        if (Engine::shortHash(LineHash::hash<false>(line, length, marks, kSeed)) >> 22)
            continue;
        *end = '\n';
        std::fwrite(line, 1, length + 1, crafted);
        // The next number has as many digits, and is made to collide with
        // nothing.
        end = std::to_chars(line + 1, line + 32, n + 1).ptr;
        end = std::copy_n("@example.com\n", 13, end);
        std::fwrite(line, 1, size_t(end - line), ordinary);
        ++found;
    }
    const bool written = std::fclose(crafted) == 0 && std::fclose(ordinary) == 0;
    return written ? 0 : 1;
}
