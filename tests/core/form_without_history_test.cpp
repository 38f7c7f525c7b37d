// A form without history, as kbt2-quote uses for each worksheet: the same
// buttons leave exactly the fields a form with history leaves, and there is
// no step to undo.

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "commands/form.h"
#include "fake_platform.h"
#include "rates/rate_source.h"

namespace kbt2 {
namespace {

TEST(FormWithoutHistory, LeavesTheFieldsAFormWithHistoryLeavesAndNoStep) {
    const std::filesystem::path root = std::filesystem::path(KBT2_TEST_DATA_DIR).parent_path().parent_path();
    const std::string worksheet = (root / "tests" / "scenarios" / "fixtures" / "sample.wsk").string();
    testing_support::FakePlatform withPlatform;
    testing_support::FakePlatform withoutPlatform;
    for (testing_support::FakePlatform* p : {&withPlatform, &withoutPlatform}) {
        p->files = {worksheet};
        p->folders = {(root / "data").string()};
    }
    RateFileSource rates;
    Form with(withPlatform, rates);
    Form without(withoutPlatform, rates, Form::WithoutHistory{});
    for (const Control button : {Control::Load, Control::Command2, Control::Command3, Control::Command4}) {
        with.click(button);
        without.click(button);
        EXPECT_TRUE(without.worksheet().snapshot() == with.worksheet().snapshot()) << refName({button, 0});
    }
    EXPECT_EQ(withoutPlatform.messages.size(), withPlatform.messages.size());
    EXPECT_TRUE(without.lastPremium().calculated());
    EXPECT_EQ(without.fileName(), with.fileName());
    EXPECT_FALSE(without.undo());
    EXPECT_TRUE(with.undo());
}

}  // namespace
}  // namespace kbt2
