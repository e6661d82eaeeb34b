// CSV fields, lines and files: RFC 4180 quoting, the byte-order mark and CRLF, and a failed
// write that leaves the file it would have replaced as it was and no temporary file behind.
#include <gtest/gtest.h>
#include <sys/resource.h>

#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "CsvFile.h"

namespace {

namespace fs = std::filesystem;

class TempFolder {
  public:
    TempFolder() {
        std::string pattern = (fs::temp_directory_path() / "korval-csv-XXXXXX").string();
        m_path = ::mkdtemp(pattern.data()) != nullptr ? pattern : std::string();
    }
    ~TempFolder() { fs::remove_all(m_path); }
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;
    std::string file(const std::string& name) const { return (fs::path(m_path) / name).string(); }
    std::vector<std::string> names() const {
        std::vector<std::string> result;
        for (const auto& entry : fs::directory_iterator(m_path)) {
            result.push_back(entry.path().filename().string());
        }
        return result;
    }

  private:
    std::string m_path;
};

std::string contents(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

// Limits the size of any file this process writes, as a full disk would, while it lives.
class FileSizeLimit {
  public:
    explicit FileSizeLimit(rlim_t bytes) {
        ::getrlimit(RLIMIT_FSIZE, &m_old);
        m_oldHandler = std::signal(SIGXFSZ, SIG_IGN);  // the write then fails with EFBIG
        rlimit limit{bytes, m_old.rlim_max};
        ::setrlimit(RLIMIT_FSIZE, &limit);
    }
    ~FileSizeLimit() {
        ::setrlimit(RLIMIT_FSIZE, &m_old);
        std::signal(SIGXFSZ, m_oldHandler);
    }
    FileSizeLimit(const FileSizeLimit&) = delete;
    FileSizeLimit& operator=(const FileSizeLimit&) = delete;

  private:
    rlimit m_old{};
    void (*m_oldHandler)(int);
};

TEST(Csv, FieldsAreQuotedOnlyWhenTheyMustBe) {
    EXPECT_EQ(csvField("12.34"), "12.34");
    EXPECT_EQ(csvField(""), "");
    EXPECT_EQ(csvField(" 记录#1 "), " 记录#1 ") << "spaces belong to the field";
    EXPECT_EQ(csvField("a,b"), "\"a,b\"");
    EXPECT_EQ(csvField("say \"hi\""), "\"say \"\"hi\"\"\"");
    EXPECT_EQ(csvField("\""), "\"\"\"\"");
    EXPECT_EQ(csvField("two\nlines"), "\"two\nlines\"");
    EXPECT_EQ(csvField("cr\r"), "\"cr\r\"");
    EXPECT_EQ(csvField("电池1内阻(mΩ)"), "电池1内阻(mΩ)");

    const std::vector<std::string> fields{"时间", "", "a,b", "\"", "x"};
    EXPECT_EQ(csvLine(fields), "时间,,\"a,b\",\"\"\"\",x");
    EXPECT_EQ(csvLine(std::vector<std::string>{""}), "");
    EXPECT_EQ(csvLine(std::vector<std::string>{"", ""}), ",");
}

TEST(Csv, FileStartsWithTheMarkEndsLinesWithCrlfAndReplacesTheOldFile) {
    TempFolder folder;
    const std::string path = folder.file("out.csv");
    std::ofstream(path) << "an older export";
    const std::vector<std::string> lines{"记录条目,时间", "记录#1,2013-05-18 09:30:07"};
    int error = -1;
    ASSERT_TRUE(writeCsvFile(path, lines, error));
    EXPECT_EQ(error, 0);
    EXPECT_EQ(contents(path), "\xEF\xBB\xBF记录条目,时间\r\n记录#1,2013-05-18 09:30:07\r\n");
    EXPECT_EQ(folder.names(), std::vector<std::string>{"out.csv"});
    const auto perms = fs::status(path).permissions();
    EXPECT_NE(perms & fs::perms::group_read, fs::perms::none) << "not the temporary's 0600";

    ASSERT_TRUE(writeCsvFile(path, std::vector<std::string>{}, error));
    EXPECT_EQ(contents(path), "\xEF\xBB\xBF");
}

TEST(Csv, AFailedWriteLeavesTheOldFileAndNoTemporary) {
    TempFolder folder;
    int error = 0;
    EXPECT_FALSE(
        writeCsvFile(folder.file("missing/out.csv"), std::vector<std::string>{"a"}, error));
    EXPECT_EQ(error, ENOENT);
    EXPECT_TRUE(folder.names().empty());

    // The disk fills half way through a long file.
    const std::string path = folder.file("out.csv");
    std::ofstream(path) << "a good export";
    int produced = 0;
    const CsvLineSource manyLines = [&](std::string& line) {
        line = std::string(100, 'x');
        return ++produced <= 10000;
    };
    {
        FileSizeLimit limit(200 * 1024);
        EXPECT_FALSE(writeCsvFile(path, manyLines, error));
    }
    EXPECT_EQ(error, EFBIG);
    EXPECT_EQ(contents(path), "a good export");
    EXPECT_EQ(folder.names(), std::vector<std::string>{"out.csv"});
    EXPECT_LT(produced, 10000) << "the write stops at the first failure";
}

}  // namespace
