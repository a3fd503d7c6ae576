// The export log: what one log_printf call puts into the file (the host's
// wide printf convention, the buffer's cut, Windows-1252, CR LF). Where the
// log goes and the first-open rule are the write step's tests.
#include "export/export_log.h"

#include "scratch_folder.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>

namespace {

using yfx::exporter::log_printf;
using yfx::exporter::resetLogFirstOpen;
using yfx::exporter::setLogPathFor;
using yfx_test::hostPath;
using yfx_test::readText;
using yfx_test::ScratchFolder;

class ExportLogTest : public ::testing::Test {
protected:
    void SetUp() override { resetLogFirstOpen(); }

    ScratchFolder scratch_;
};

TEST_F(ExportLogTest, EachCallAppendsItsTextInTheLogEncoding) {
    struct Case {
        const char* what;
        std::function<void()> log;
        std::string bytes;
    };
    const std::wstring longText(3000, L'x');
    const Case cases[] = {
        {"options line", [] { log_printf(L"%19s: %d\n", L"export_lights", 1); },
         "      export_lights: 1\r\n"},
        {"widest option name", [] { log_printf(L"%19s: %d\n", L"export_high_resmesh", 0); },
         "export_high_resmesh: 0\r\n"},
        {"wide character and explicit wide forms",
         [] { log_printf(L"%c%lc %ls %%s %5.2f|%-3d|\n", L'A', L'B', L"c", 2.5, 7); },
         "AB c %s  2.50|7  |\r\n"},
        {"Windows-1252 letters and symbols",
         [] { log_printf(L"name: \"%s\"\n", L"caf\u00e9 \u20ac\u2122 \u00ff"); },
         "name: \"caf\xe9 \x80\x99 \xff\"\r\n"},
        {"the rest of a line after a character the code page lacks",
         [] { log_printf(L"a: \"%s\"\nb: %d\n", L"x\u4e2dy", 5); }, "a: \"x\r\nb: 5\r\n"},
        {"text beyond the buffer", [&longText] { log_printf(L"%s\n", longText.c_str()); },
         std::string(2047, 'x')},
        {"empty text", [] { log_printf(L""); }, ""},
    };
    for (const Case& c : cases) {
        resetLogFirstOpen();
        ASSERT_TRUE(setLogPathFor(hostPath(scratch_.file("scene.yfx"))));
        c.log();
        EXPECT_EQ(readText(scratch_.file("logfile.txt")), c.bytes) << c.what;
    }
}

} // namespace
