// The throttle between the archiver's progress and the progress window's label: a build
// shows a new text at most every kLabelInterval ms, never loses the newest one, and
// repeats nothing.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "builder/progress_label.h"

namespace {

struct Step {
  const char* action;  // "report" a text at a time, or "flush"
  const char* text;
  uint64_t at;
  const char* shown;  // what is shown by the step, or nullptr for nothing
};

struct ThrottleCase {
  const char* what;
  std::vector<Step> steps;
};

class ProgressLabelTest : public ::testing::TestWithParam<ThrottleCase> {};

TEST_P(ProgressLabelTest, ShowsWhatIsDue) {
  LabelThrottle throttle;
  for (size_t i = 0; i < GetParam().steps.size(); ++i) {
    const Step& s = GetParam().steps[i];
    SCOPED_TRACE(i);
    std::string show = "untouched";
    bool shown =
        std::string(s.action) == "flush" ? FlushLabel(&throttle, &show) : ThrottleLabel(&throttle, s.text, s.at, &show);
    EXPECT_EQ(shown, s.shown != nullptr);
    EXPECT_EQ(show, s.shown != nullptr ? s.shown : "untouched");
  }
}

const uint64_t kT = 1000000;  // any start time: the first text is always shown

INSTANTIATE_TEST_SUITE_P(
    Cases, ProgressLabelTest,
    ::testing::Values(ThrottleCase{"first_text_at_once", {{"report", "a 1 %", kT, "a 1 %"}}},
                      ThrottleCase{"kept_back_within_the_interval_then_shown",
                                   {{"report", "a 1 %", kT, "a 1 %"},
                                    {"report", "a 2 %", kT + 10, nullptr},
                                    {"report", "a 3 %", kT + kLabelInterval - 1, nullptr},
                                    {"report", "a 4 %", kT + kLabelInterval, "a 4 %"}}},
                      ThrottleCase{"flush_shows_the_newest_kept_back_text_once",
                                   {{"report", "a 1 %", kT, "a 1 %"},
                                    {"report", "a 2 %", kT + 1, nullptr},
                                    {"report", "b 5 %", kT + 2, nullptr},
                                    {"flush", "", 0, "b 5 %"},
                                    {"flush", "", 0, nullptr}}},
                      ThrottleCase{
                          "flush_with_nothing_kept_back_shows_nothing",
                          {{"flush", "", 0, nullptr}, {"report", "a 1 %", kT, "a 1 %"}, {"flush", "", 0, nullptr}}},
                      ThrottleCase{"the_shown_text_again_drops_what_was_kept_back",
                                   {{"report", "a 1 %", kT, "a 1 %"},
                                    {"report", "a 2 %", kT + 1, nullptr},
                                    {"report", "a 1 %", kT + 2, nullptr},
                                    {"flush", "", 0, nullptr},
                                    {"report", "a 1 %", kT + 500, nullptr}}},
                      ThrottleCase{"clock_wrapping_back_does_not_stall",
                                   {{"report", "a 1 %", kT, "a 1 %"}, {"report", "a 2 %", 5, "a 2 %"}}}),
    [](const ::testing::TestParamInfo<ThrottleCase>& info) { return info.param.what; });

}  // namespace
