// The BIFF2 writer, byte for byte, and its failure paths.
#include <gtest/gtest.h>

#include <csignal>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <streambuf>
#include <sys/resource.h>

#include "export/XLSfile.h"

using namespace pendulab;
namespace fs = std::filesystem;

namespace {

std::string bytesOf(TXLSfile& xls)
{
    std::ostringstream out(std::ios::binary);
    xls.WriteTo(out);
    return out.str();
}

std::string hex(const std::string& s)
{
    std::string h;
    char b[4];
    for (unsigned char c : s) {
        std::snprintf(b, sizeof b, "%02X ", c);
        h += b;
    }
    return h;
}

fs::path scratchDir(const char* name)
{
    const fs::path dir = fs::temp_directory_path() / ("pendulab-export-" + std::string(name) + "-" + std::to_string(::getpid()));
    fs::remove_all(dir);
    fs::create_directories(dir);
    return dir;
}

// A stream buffer that accepts `room` bytes and then fails, like a full disk.
class FailingBuffer : public std::streambuf {
public:
    explicit FailingBuffer(std::size_t room) : room_(room) {}
protected:
    int_type overflow(int_type c) override
    {
        if (written_ >= room_) return traits_type::eof();
        ++written_;
        return c;
    }
    pos_type seekoff(off_type, std::ios_base::seekdir, std::ios_base::openmode) override { return pos_type(written_); }
private:
    std::size_t room_;
    std::size_t written_ = 0;
};

} // namespace

TEST(XlsRecords, EmptyWriterWritesBofDimensionsAndEof)
{
    TXLSfile xls;
    EXPECT_EQ(hex(bytesOf(xls)), "09 08 06 00 00 00 10 00 00 00 "
                                 "00 00 08 00 00 00 E8 03 00 00 64 00 "
                                 "0A 00 00 00 ");
}

TEST(XlsRecords, NumberAndLabelCells)
{
    TXLSfile xls;
    xls.AddNumber(2, 3, 0x0100, 1.5);
    const std::string withNumber = bytesOf(xls);
    ASSERT_EQ(withNumber.size(), 26u + 19u);
    EXPECT_EQ(hex(withNumber.substr(22, 19)), "03 00 0F 00 02 00 01 00 00 00 02 00 00 00 00 00 00 F8 3F ");

    xls.Reset();
    xls.AddString(1, 1, 0x0100, "Y mes");
    const std::string withLabel = bytesOf(xls);
    ASSERT_EQ(withLabel.size(), 26u + 12u + 5u);
    EXPECT_EQ(hex(withLabel.substr(22, 17)), "04 00 0D 00 00 00 00 00 00 00 02 05 59 20 6D 65 73 ");
}

TEST(XlsRecords, AttributeFlags)
{
    struct Row { std::uint16_t flags; std::uint8_t b0, b2; };
    const Row rows[] = {{0x0001, 0x80, 0}, {0x0002, 0x40, 0}, {0x0004, 0, 0x80}, {0x0008, 0, 0x40},
                        {0x0010, 0, 0x20}, {0x0020, 0, 0x10}, {0x0040, 0, 0x08}, {0x0080, 0, 1},
                        {0x0100, 0, 2}, {0x0200, 0, 3}, {0x0400, 0, 4}, {0x0180, 0, 1},
                        {0x0300, 0, 2}, {0x0480, 0, 5}, {0x0003, 0xC0, 0}, {0x007C, 0, 0xF8}};
    for (const Row& r : rows) {
        std::uint8_t a[3] = {9, 9, 9};
        AttributesFromFlags(r.flags, a);
        EXPECT_EQ(a[0], r.b0) << std::hex << r.flags;
        EXPECT_EQ(a[1], 0) << std::hex << r.flags;
        EXPECT_EQ(a[2], r.b2) << std::hex << r.flags;
    }
}

TEST(XlsRecords, WritingTwiceRepeatsTheRecordsAndResetEmpties)
{
    TXLSfile xls;
    xls.AddNumber(1, 1, 0, 2.0);
    // BOF, DIMENSIONS, one NUMBER at row 0 column 0 holding 2.0, EOF: the same bytes each time.
    const std::string once = "09 08 06 00 00 00 10 00 00 00 "
                             "00 00 08 00 00 00 E8 03 00 00 64 00 "
                             "03 00 0F 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 40 "
                             "0A 00 00 00 ";
    EXPECT_EQ(hex(bytesOf(xls)), once);
    EXPECT_EQ(hex(bytesOf(xls)), once);
    xls.Reset();
    EXPECT_EQ(bytesOf(xls).size(), 26u);
}

TEST(XlsLabels, LongTextsAreCutAndWrittenInWindows1252)
{
    TXLSfile xls;
    xls.AddString(1, 1, 0, std::string(300, 'a'));
    const std::string bytes = bytesOf(xls);
    EXPECT_EQ(bytes.size(), 26u + 12u + 255u);
    EXPECT_EQ(static_cast<unsigned char>(bytes[22 + 11]), 255);
    EXPECT_EQ(ToLabelBytes("énergie €"), std::string("\xE9nergie \x80"));
    EXPECT_EQ(ToLabelBytes("ω"), "?");
    EXPECT_EQ(ToLabelBytes(std::string(200, 'x') + std::string(100, '\xC3') ).size(), 255u);
}

TEST(XlsFailures, StreamThatFailsMidwayIsReported)
{
    TXLSfile xls;
    for (std::uint16_t r = 1; r <= 200; ++r) xls.AddNumber(1, r, 0, r);
    FailingBuffer buffer(1000);
    std::ostream out(&buffer);
    EXPECT_THROW(xls.WriteTo(out), XlsWriteError);
}

TEST(XlsFailures, MissingFolderNamesTheFileAndLeavesNothing)
{
    const fs::path dir = scratchDir("missing");
    TXLSfile xls;
    xls.FileName = (dir / "absent" / "oscill.xls").string();
    try {
        xls.WriteFile();
        FAIL() << "no error";
    } catch (const XlsWriteError& e) {
        EXPECT_NE(std::string(e.what()).find(xls.FileName), std::string::npos) << e.what();
    }
    EXPECT_TRUE(fs::is_empty(dir));
    fs::remove_all(dir);
}

TEST(XlsFailures, FullDiskKeepsTheExistingFileWhole)
{
    const fs::path dir = scratchDir("full");
    const fs::path target = dir / "oscill.xls";
    { std::ofstream(target) << "previous export"; }
    TXLSfile xls;
    xls.FileName = target.string();
    for (std::uint16_t r = 1; r <= 2000; ++r) xls.AddNumber(1, r, 0, r);

    // Files may not grow beyond 4 kB while we write: the write fails as on a full disk.
    auto* previousHandler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit saved{};
    getrlimit(RLIMIT_FSIZE, &saved);
    rlimit small = saved;
    small.rlim_cur = 4096;
    setrlimit(RLIMIT_FSIZE, &small);
    EXPECT_THROW(xls.WriteFile(), XlsWriteError);
    setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, previousHandler);

    std::ifstream in(target);
    std::string content((std::istreambuf_iterator<char>(in)), {});
    EXPECT_EQ(content, "previous export");
    EXPECT_EQ(std::distance(fs::directory_iterator(dir), fs::directory_iterator()), 1);

    xls.WriteFile(); // with room again, the whole file replaces the old one
    EXPECT_EQ(fs::file_size(target), 26u + 2000u * 19u);
    fs::remove_all(dir);
}

// A read-only file is refused, with its name and the reason, and stays as it was; a writable one
// keeps its permissions, and a link keeps pointing at the file it names.
TEST(XlsFailures, ReadOnlyTargetsAreRefusedAndPermissionsAndLinksKept)
{
    const fs::path dir = scratchDir("modes");
    const fs::path target = dir / "oscill.xls";
    { std::ofstream(target) << "previous export"; }
    fs::permissions(target, fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
    TXLSfile xls;
    xls.FileName = target.string();
    xls.AddNumber(1, 1, 0, 2.0);
    try {
        xls.WriteFile();
        FAIL() << "a read-only file was replaced";
    } catch (const XlsWriteError& e) {
        const std::string what = e.what();
        EXPECT_NE(what.find(target.string()), std::string::npos) << what;
        EXPECT_NE(what.find("lecture seule"), std::string::npos) << what;
    }
    std::ifstream in(target);
    EXPECT_EQ(std::string((std::istreambuf_iterator<char>(in)), {}), "previous export");

    fs::permissions(target, fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
    const fs::path link = dir / "link.xls";
    fs::create_symlink(target, link);
    xls.FileName = link.string();
    xls.WriteFile();
    EXPECT_TRUE(fs::is_symlink(link));
    EXPECT_EQ(fs::file_size(target), 26u + 19u);
    EXPECT_EQ(fs::status(target).permissions(), fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
    fs::remove_all(dir);
}
