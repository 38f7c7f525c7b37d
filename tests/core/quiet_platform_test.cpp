// The platform of a calculation nobody watches: no message reaches anyone,
// each is kept and answered OK; nothing is printed; a dialogue is answered
// only by a platform quoting a worksheet of its own.

#include "commands/quiet_platform.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "fake_platform.h"
#include "rates/rate_file_places.h"

namespace kbt2 {
namespace {

using testing_support::FakePlatform;

TEST(QuietPlatform, AroundAnotherItFindsTheRatesThereAndShowsItNothing) {
    FakePlatform outer;
    outer.folders = {"/first", "/second"};
    outer.chosen = "/chosen/Ratefile.prn";
    outer.files = {std::string("farm.wsk")};
    outer.answers = {MessageAnswer::Cancel};
    QuietPlatform quiet(outer);

    EXPECT_EQ(quiet.rateFileFolders(), outer.folders);
    EXPECT_EQ(quiet.chosenRateFile(), outer.chosen);
    EXPECT_EQ(quiet.chooseFile(FileDialogMode::Open, kWorksheetFileFilter), std::nullopt);
    EXPECT_EQ(quiet.showMessage({kAppTitle, "Sure?", MessageButtons::OKCancel, MessageIcon::None}), MessageAnswer::OK);
    EXPECT_EQ(quiet.print({}).status, PrintResult::Status::NoPrinter);
    EXPECT_EQ(quiet.printToPdf({}, "out.pdf").status, PrintResult::Status::Failed);
    quiet.closeWindow();

    ASSERT_EQ(quiet.messages.size(), 1u);
    EXPECT_EQ(quiet.messages[0].text, "Sure?");
    EXPECT_TRUE(outer.messages.empty());
    EXPECT_TRUE(outer.dialogs.empty());
    EXPECT_TRUE(outer.printed.empty());
    EXPECT_TRUE(outer.pdfPaths.empty());
    EXPECT_EQ(outer.closes, 0);
}

TEST(QuietPlatform, OnItsOwnItOpensItsWorksheetAndLooksWhereTheWindowLooks) {
    QuietPlatform quiet(std::string("farm.wsk"));
    EXPECT_EQ(quiet.chooseFile(FileDialogMode::Open, kWorksheetFileFilter), "farm.wsk");
    EXPECT_EQ(quiet.chooseFile(FileDialogMode::Save, kWorksheetFileFilter), std::nullopt);
    EXPECT_EQ(quiet.rateFileFolders(), defaultRateFileFolders());
    EXPECT_EQ(quiet.chosenRateFile(), std::nullopt);
    EXPECT_EQ(tell(quiet, "Done."), MessageAnswer::OK);
    ASSERT_EQ(quiet.messages.size(), 1u);
}

}  // namespace
}  // namespace kbt2
