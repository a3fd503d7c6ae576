#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "format/time_text.h"

namespace yfx_test {
namespace {

// Sets SOURCE_DATE_EPOCH for one test and puts the old value back.
class EpochEnv : public ::testing::Test {
protected:
    void SetUp() override {
        const char* old = std::getenv("SOURCE_DATE_EPOCH");
        had_ = old != nullptr;
        if (had_) {
            old_ = old;
        }
    }
    void TearDown() override {
        if (had_) {
            setenv("SOURCE_DATE_EPOCH", old_.c_str(), 1);
        } else {
            unsetenv("SOURCE_DATE_EPOCH");
        }
    }
    bool had_ = false;
    std::string old_;
};

TEST_F(EpochEnv, FixedSecondsGiveTheUtcCtimeText) {
    setenv("SOURCE_DATE_EPOCH", "0", 1);
    EXPECT_EQ(yfx::exportTimeText(), L"Thu Jan  1 00:00:00 1970");
    setenv("SOURCE_DATE_EPOCH", "1700000000", 1);
    EXPECT_EQ(yfx::exportTimeText(), L"Tue Nov 14 22:13:20 2023");
    setenv("SOURCE_DATE_EPOCH", "951782400", 1); // a leap day
    EXPECT_EQ(yfx::exportTimeText(), L"Tue Feb 29 00:00:00 2000");
}

TEST_F(EpochEnv, WithoutAUsableValueTheCurrentTimeIsTaken) {
    const std::wstring epoch = L"Thu Jan  1 00:00:00 1970";
    for (const char* bad : {"abc", "-5", "12x", ""}) {
        setenv("SOURCE_DATE_EPOCH", bad, 1);
        const std::wstring text = yfx::exportTimeText();
        EXPECT_EQ(text.size(), epoch.size()) << bad;
        EXPECT_NE(text, epoch) << bad;
        EXPECT_NE(text.back(), L'\n');
    }
    unsetenv("SOURCE_DATE_EPOCH");
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
