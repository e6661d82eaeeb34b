// Every caption, list item and message the program shows must be encodable in GBK, the
// code page of the operators' systems. Templates are checked directly; message texts live
// in the sources, so every non-ASCII string literal of the program is checked too.
#include <gtest/gtest.h>
#include <iconv.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "Strings.h"
#include "Templates.h"

namespace {

bool encodableInGbk(const std::string& utf8) {
    iconv_t cd = iconv_open("GBK", "UTF-8");
    if (cd == reinterpret_cast<iconv_t>(-1)) {
        ADD_FAILURE() << "iconv cannot convert to GBK";
        return false;
    }
    std::string in = utf8;
    std::string out(in.size() * 4 + 4, '\0');
    char* inPtr = in.data();
    size_t inLeft = in.size();
    char* outPtr = out.data();
    size_t outLeft = out.size();
    const size_t rc = iconv(cd, &inPtr, &inLeft, &outPtr, &outLeft);
    iconv_close(cd);
    return rc != static_cast<size_t>(-1) && inLeft == 0;
}

// The contents of the string literals of a C++ source outside comments (escapes kept as
// written).
std::vector<std::string> stringLiterals(const std::string& source) {
    std::vector<std::string> literals;
    auto skipTo = [&](size_t from, const char* end, size_t endLength) {
        const size_t at = source.find(end, from);
        return at == std::string::npos ? source.size() : at + endLength - 1;
    };
    for (size_t i = 0; i < source.size(); ++i) {
        const char next = i + 1 < source.size() ? source[i + 1] : '\0';
        if (source[i] == '/' && next == '/') {
            i = skipTo(i, "\n", 1);
            continue;
        }
        if (source[i] == '/' && next == '*') {
            i = skipTo(i + 2, "*/", 2);
            continue;
        }
        if (source[i] == '\'') {  // a character literal such as '"'
            i = skipTo(i + (next == '\\' ? 3 : 2), "'", 1);
            continue;
        }
        if (source[i] != '"') {
            continue;
        }
        std::string text;
        for (++i; i < source.size() && source[i] != '"' && source[i] != '\n'; ++i) {
            if (source[i] == '\\' && i + 1 < source.size()) {
                text += source[i++];
            }
            text += source[i];
        }
        literals.push_back(text);
    }
    return literals;
}

bool hasNonAscii(const std::string& s) {
    for (unsigned char c : s) {
        if (c >= 0x80) {
            return true;
        }
    }
    return false;
}

}  // namespace

TEST(GbkText, CheckerRejectsWhatGbkCannotHold) {
    EXPECT_TRUE(encodableInGbk("读取失败 ℃ mΩ “通道号”"));
    EXPECT_FALSE(encodableInGbk("\xF0\x9F\x94\x8B"));  // an emoji
}

TEST(GbkText, EveryTemplateCaptionAndItem) {
    for (const DialogTemplate* t : allDialogTemplates()) {
        EXPECT_TRUE(encodableInGbk(t->caption)) << t->id << ": " << t->caption;
        for (const ControlTemplate& c : t->controls) {
            EXPECT_TRUE(encodableInGbk(c.caption)) << t->id << "/" << c.id << ": " << c.caption;
            for (const std::string& item : c.items) {
                EXPECT_TRUE(encodableInGbk(item)) << t->id << "/" << c.id << ": " << item;
            }
        }
    }
    for (const char* caption : kTabCaptions) {
        EXPECT_TRUE(encodableInGbk(caption)) << caption;
    }
}

TEST(GbkText, EveryStringLiteralOfTheProgram) {
    namespace fs = std::filesystem;
    int checked = 0;
    for (const char* dir : {"link", "toolkit", "resources", "pages", "app", "monitor", "config",
                            "records", "chart"}) {
        const fs::path root = fs::path(KORVAL_SOURCE_DIR) / dir;
        if (!fs::exists(root)) {
            continue;
        }
        for (const auto& entry : fs::recursive_directory_iterator(root)) {
            const auto ext = entry.path().extension();
            if (ext != ".cpp" && ext != ".h") {
                continue;
            }
            std::ifstream file(entry.path());
            std::stringstream text;
            text << file.rdbuf();
            const std::string source = text.str();
            for (const std::string& s : stringLiterals(source)) {
                if (hasNonAscii(s)) {
                    ++checked;
                    EXPECT_TRUE(encodableInGbk(s)) << entry.path() << ": " << s;
                }
            }
        }
    }
    EXPECT_GT(checked, 20);
}
