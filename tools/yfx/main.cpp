// yfx: command-line host and tool for Marrowmap project files.
#include <cstdio>
#include <cstring>

namespace {

void printUsage(std::FILE* out) {
    std::fputs("usage: yfx <command> [options]\n"
               "\n"
               "Reads, checks and writes Marrowmap project files (.yfx).\n"
               "\n"
               "options:\n"
               "  --help     show this text\n",
               out);
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        printUsage(stderr);
        return 2;
    }
    if (std::strcmp(argv[1], "--help") == 0 || std::strcmp(argv[1], "-h") == 0) {
        printUsage(stdout);
        return 0;
    }
    std::fprintf(stderr, "yfx: unknown command '%s' (see yfx --help)\n", argv[1]);
    return 2;
}
