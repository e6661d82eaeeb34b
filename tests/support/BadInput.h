// The shared corpus of hostile input (bad_input.txt beside this file): its loader and the
// decoding of its escapes. Header only; the file is found next to this header.
#pragma once

#include <cstddef>
#include <filesystem>
#include <fstream>
#include <string>
#include <string_view>
#include <vector>

struct BadInput {
    std::string name;
    std::string text;
};

namespace badinput {

inline int hexValue(char c) {
    if (c >= '0' && c <= '9') {
        return c - '0';
    }
    if (c >= 'a' && c <= 'f') {
        return c - 'a' + 10;
    }
    if (c >= 'A' && c <= 'F') {
        return c - 'A' + 10;
    }
    return -1;
}

// "N:TEXT}..." (what follows "\{"): appends TEXT N times; false when it is not that form.
inline bool repeat(std::string_view rest, std::string& out) {
    const size_t colon = rest.find(':');
    const size_t close = rest.find('}');
    if (colon == 0 || colon == std::string_view::npos || close == std::string_view::npos ||
        close < colon ||
        rest.substr(0, colon).find_first_not_of("0123456789") != std::string_view::npos) {
        return false;
    }
    size_t count = 0;
    for (size_t k = 0; k < colon; ++k) {
        count = count * 10 + static_cast<size_t>(rest[k] - '0');
    }
    for (size_t k = 0; k < count; ++k) {
        out.append(rest.substr(colon + 1, close - colon - 1));
    }
    return true;
}

// The escapes of the file's header; an unknown or broken escape is kept as written.
inline std::string decode(std::string_view in) {
    std::string out;
    for (size_t i = 0; i < in.size(); ++i) {
        if (in[i] != '\\' || i + 1 >= in.size()) {
            out += in[i];
            continue;
        }
        const char e = in[i + 1];
        const char* simple = nullptr;
        switch (e) {
            case 's':
                simple = " ";
                break;
            case 't':
                simple = "\t";
                break;
            case 'v':
                simple = "\v";
                break;
            case 'f':
                simple = "\f";
                break;
            case 'r':
                simple = "\r";
                break;
            case 'n':
                simple = "\n";
                break;
            case '\\':
                simple = "\\";
                break;
            default:
                break;
        }
        if (simple != nullptr) {
            out += simple;
            ++i;
        } else if (e == '0') {
            out += '\0';
            ++i;
        } else if (e == 'x' && i + 3 < in.size() && hexValue(in[i + 2]) >= 0 &&
                   hexValue(in[i + 3]) >= 0) {
            out += static_cast<char>(hexValue(in[i + 2]) * 16 + hexValue(in[i + 3]));
            i += 3;
        } else if (e == '{' && repeat(in.substr(i + 2), out)) {
            i = in.find('}', i);
        } else {
            out += in[i];
        }
    }
    return out;
}

}  // namespace badinput

// Every entry of the corpus, in file order; empty when the file cannot be read.
// The folder comes from the build, not from __FILE__, which a compiler cache may make relative.
inline std::vector<BadInput> loadBadInputs(
    const std::filesystem::path& file = std::filesystem::path(KORVAL_TEST_SUPPORT_DIR) /
                                        "bad_input.txt") {
    std::vector<BadInput> entries;
    std::ifstream in(file, std::ios::binary);
    std::string line;
    while (std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r') {
            line.pop_back();
        }
        const size_t bar = line.find(" |");
        if (line.empty() || line[0] == '#' || bar == std::string::npos) {
            continue;
        }
        std::string text = line.substr(bar + 2);
        if (!text.empty() && text[0] == ' ') {
            text.erase(0, 1);
        }
        while (!text.empty() && text.back() == ' ') {
            text.pop_back();
        }
        entries.push_back({line.substr(0, bar), badinput::decode(text)});
    }
    return entries;
}
