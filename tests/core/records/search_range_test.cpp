#include "core/records/search_range.h"

#include <gtest/gtest.h>

#include "core/store/database.h"
#include "core/store/schema.h"
#include "support/temp_dir.h"

namespace kv820 {
namespace {

struct PickerCase {
    PickedMoment start;
    PickedMoment stop;
    const char* startDate;
    const char* startTime;
    const char* stopDate;
    const char* stopTime;
};

class StoreSearchRangeTest : public testing::TestWithParam<PickerCase> {};

TEST_P(StoreSearchRangeTest, WritesZeroPaddedTexts) {
    const PickerCase& c = GetParam();
    SearchCriteria criteria;
    criteria.userName = "Tom";
    StoreSearchRange(criteria, c.start, c.stop);
    EXPECT_EQ(criteria.userName, "Tom");
    EXPECT_EQ(criteria.startDate, c.startDate);
    EXPECT_EQ(criteria.startTime, c.startTime);
    EXPECT_EQ(criteria.stopDate, c.stopDate);
    EXPECT_EQ(criteria.stopTime, c.stopTime);
}

INSTANTIATE_TEST_SUITE_P(Pickers, StoreSearchRangeTest,
                         testing::Values(PickerCase{{2007, 5, 1, 0, 0, 0},
                                                    {2007, 5, 31, 23, 59, 59},
                                                    "2007/05/01",
                                                    "00:00:00",
                                                    "2007/05/31",
                                                    "23:59:59"},
                                         PickerCase{{752, 1, 2, 3, 4, 5},
                                                    {99, 12, 9, 10, 9, 8},
                                                    "0752/01/02",
                                                    "03:04:05",
                                                    "0099/12/09",
                                                    "10:09:08"},
                                         PickerCase{{2024, 2, 29, 12, 0, 1},
                                                    {2024, 2, 29, 12, 0, 1},
                                                    "2024/02/29",
                                                    "12:00:01",
                                                    "2024/02/29",
                                                    "12:00:01"}));

TEST(SearchCriteriaRange, JoinsDateAndTimeWithNothingBetween) {
    SearchCriteria criteria{"Tom", "2007/05/01", "00:00:00", "2007/05/31", "23:59:59"};
    const ReceiveRange range = SearchCriteriaRange(criteria, "354612071234567");
    EXPECT_EQ(range.imei, "354612071234567");
    EXPECT_EQ(range.from, "2007/05/0100:00:00");
    EXPECT_EQ(range.to, "2007/05/3123:59:59");
}

// The texts of the pickers meet the stored receive texts: both ends are included, and the
// rows outside them by one second are not.
class SearchRangeOnStoreTest : public testing::Test {
  protected:
    SearchRangeOnStoreTest() : db_(Created(dir_)) {
        for (const char* time : {"09:59:59", "10:00:00", "11:30:00", "12:00:00", "12:00:01"}) {
            GpslogStore(db_).append({Imei, "2007/05/12", time, "25.0", "121.5", "2007/05/12", time,
                                     "3D", "1", "0.0000", "0", "5", "Period report"});
        }
    }

    static std::string Created(const test::TempDir& dir) {
        CreateDatabaseFile(dir.file(DatabaseFileName));
        return dir.file(DatabaseFileName);
    }

    std::vector<std::string> timesBetween(PickedMoment start, PickedMoment stop) {
        SearchCriteria criteria;
        StoreSearchRange(criteria, start, stop);
        std::vector<std::string> times;
        for (const auto& stored :
             GpslogStore(db_).newestFirst(SearchCriteriaRange(criteria, Imei), {}, 100)) {
            times.push_back(stored.row[ReceiveTime]);
        }
        return times;
    }

    static constexpr const char* Imei = "354612071234567";
    test::TempDir dir_;
    Database db_;
};

TEST_F(SearchRangeOnStoreTest, IncludesBothEndsNewestFirst) {
    EXPECT_EQ(timesBetween({2007, 5, 12, 10, 0, 0}, {2007, 5, 12, 12, 0, 0}),
              (std::vector<std::string>{"12:00:00", "11:30:00", "10:00:00"}));
}

TEST_F(SearchRangeOnStoreTest, StartAfterStopFindsNothing) {
    EXPECT_TRUE(timesBetween({2007, 5, 12, 12, 0, 0}, {2007, 5, 12, 10, 0, 0}).empty());
}

}  // namespace
}  // namespace kv820
