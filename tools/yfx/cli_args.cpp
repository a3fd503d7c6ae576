#include "tools/yfx/cli_args.h"

#include "tools/yfx/exit_codes.h"

#include <algorithm>
#include <cstdint>
#include <cstring>

namespace yfx {

bool ParsedArgs::has(const char* option) const {
    return std::find(options.begin(), options.end(), option) != options.end();
}

bool parseArgs(const std::vector<std::string>& args, std::initializer_list<const char*> allowed,
               ParsedArgs& out) {
    out = ParsedArgs();
    bool optionsEnded = false;
    for (const std::string& arg : args) {
        if (optionsEnded || arg.size() < 2 || arg[0] != '-') {
            out.positional.push_back(arg);
            continue;
        }
        if (arg == "--") {
            optionsEnded = true;
        } else if (arg == "--help" || arg == "-h") {
            out.help = true;
        } else if (std::any_of(allowed.begin(), allowed.end(),
                               [&](const char* a) { return arg == a; })) {
            if (!out.has(arg.c_str())) {
                out.options.push_back(arg);
            }
        } else {
            out.error = "unknown option '" + arg + "'";
            return false;
        }
    }
    return true;
}

bool takeValueOptions(std::vector<std::string>& args, std::initializer_list<const char*> names,
                      std::map<std::string, std::string>& values, std::string& error) {
    std::vector<std::string> rest;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        const bool named =
            std::any_of(names.begin(), names.end(), [&](const char* name) { return arg == name; });
        if (arg == "--") {
            rest.insert(rest.end(), args.begin() + std::ptrdiff_t(i), args.end());
            break;
        }
        if (!named) {
            rest.push_back(arg);
            continue;
        }
        if (i + 1 == args.size()) {
            error = arg + " needs a value";
            return false;
        }
        const std::string& value = args[++i];
        const auto found = values.find(arg);
        if (found != values.end() && found->second != value) {
            error = arg + " given twice with different values";
            return false;
        }
        values[arg] = value;
    }
    args.swap(rest);
    return true;
}

namespace {

// Length of the UTF-8 sequence at `p` (of `left` bytes) and its code point;
// 0 when the bytes there are not a well-formed sequence.
std::size_t decodeUtf8(const unsigned char* p, std::size_t left, std::uint32_t& c) {
    std::size_t n = 0;
    std::uint32_t min = 0;
    if (p[0] < 0x80) {
        c = p[0];
        return 1;
    } else if ((p[0] & 0xE0) == 0xC0) {
        n = 2, c = p[0] & 0x1F, min = 0x80;
    } else if ((p[0] & 0xF0) == 0xE0) {
        n = 3, c = p[0] & 0x0F, min = 0x800;
    } else if ((p[0] & 0xF8) == 0xF0) {
        n = 4, c = p[0] & 0x07, min = 0x10000;
    } else {
        return 0;
    }
    if (n > left) {
        return 0;
    }
    for (std::size_t k = 1; k < n; ++k) {
        if ((p[k] & 0xC0) != 0x80) {
            return 0;
        }
        c = (c << 6) | (p[k] & 0x3F);
    }
    if (c < min || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) {
        return 0;
    }
    return n;
}

} // namespace

std::wstring hostPathFromArg(const std::string& arg) {
    std::wstring out;
    const unsigned char* p = reinterpret_cast<const unsigned char*>(arg.data());
    std::size_t left = arg.size();
    while (left > 0) {
        std::uint32_t c = 0;
        std::size_t n = decodeUtf8(p, left, c);
        if (n == 0) {
            c = p[0];
            n = 1;
        }
        if (sizeof(wchar_t) == 2 && c >= 0x10000) {
            out += static_cast<wchar_t>(0xD800 + ((c - 0x10000) >> 10));
            out += static_cast<wchar_t>(0xDC00 + ((c - 0x10000) & 0x3FF));
        } else {
            out += static_cast<wchar_t>(c);
        }
        p += n;
        left -= n;
    }
    return out;
}

int parseCommandArgs(const std::vector<std::string>& args, const char* name,
                     std::initializer_list<const char*> allowed, void (*printHelp)(std::FILE*),
                     std::size_t minArgs, std::size_t maxArgs, const char* expects,
                     ParsedArgs& out) {
    if (!parseArgs(args, allowed, out)) {
        std::fprintf(stderr, "yfx %s: %s (see yfx %s --help)\n", name, out.error.c_str(), name);
        return kExitUsage;
    }
    if (out.help) {
        printHelp(stdout);
        return kExitSuccess;
    }
    if (out.positional.size() < minArgs || out.positional.size() > maxArgs) {
        std::fprintf(stderr, "yfx %s: expects %s (see yfx %s --help)\n", name, expects, name);
        return kExitUsage;
    }
    return -1;
}

} // namespace yfx
