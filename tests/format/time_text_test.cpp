#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "format/time_text.h"
#include "support/test_files.h"

namespace yfx_test {
namespace {

// Sets SOURCE_DATE_EPOCH for one test and puts the old value back.
class EpochEnv : public ::testing::Test {
protected:
    void setEpoch(const char* value) { epoch_.set(value); }
    ScopedEnvironment epoch_{"SOURCE_DATE_EPOCH"};
};

TEST_F(EpochEnv, FixedSecondsGiveTheUtcCtimeText) {
    setEpoch("0");
    EXPECT_EQ(yfx::exportTimeText(), L"Thu Jan  1 00:00:00 1970");
    setEpoch("1700000000");
    EXPECT_EQ(yfx::exportTimeText(), L"Tue Nov 14 22:13:20 2023");
    setEpoch("951782400"); // a leap day
    EXPECT_EQ(yfx::exportTimeText(), L"Tue Feb 29 00:00:00 2000");
}

TEST_F(EpochEnv, WithoutAUsableValueTheCurrentTimeIsTaken) {
    const std::wstring epoch = L"Thu Jan  1 00:00:00 1970";
    for (const char* bad : {"abc", "-5", "12x", ""}) {
        setEpoch(bad);
        const std::wstring text = yfx::exportTimeText();
        EXPECT_EQ(text.size(), epoch.size()) << bad;
        EXPECT_NE(text, epoch) << bad;
        EXPECT_NE(text.back(), L'\n');
    }
    setEpoch(nullptr);
    EXPECT_EQ(yfx::exportTimeText().size(), epoch.size());
}

TEST(CtimeText, PadsTheDayAndWritesTheFullYear) {
    std::tm t{};
    t.tm_wday = 6;
    t.tm_mon = 11;
    t.tm_mday = 31;
    t.tm_hour = 23;
    t.tm_min = 5;
    t.tm_sec = 9;
    t.tm_year = 8100; // past four digits: no overflow of the text
    EXPECT_EQ(yfx::ctimeText(t), L"Sat Dec 31 23:05:09 10000");
}

} // namespace
} // namespace yfx_test
