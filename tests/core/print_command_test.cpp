#include <gtest/gtest.h>

#include "commands/print.h"
#include "storage/report.h"
#include "storage_test_support.h"

namespace kbt2 {
namespace {

using namespace storage_testing;

Worksheet filledWorksheet() {
    Worksheet ws;
    ws.setText({Control::Producer1}, "Jane");
    ws.setText({Control::Croptext}, "1");
    ws.setText({Control::Cropname1, 0}, "Corn");
    return ws;
}

TEST(PrintCommand, PrintsTheReportAndChangesNothing) {
    const Worksheet ws = filledWorksheet();
    const auto before = snapshot(ws);
    FakePlatform platform;
    printClick(ws, platform);
    ASSERT_EQ(platform.printed.size(), 1u);
    EXPECT_EQ(renderPlainText(platform.printed[0]), renderPlainText(composeReport(ws)));
    EXPECT_TRUE(platform.messages.empty());
    EXPECT_TRUE(platform.dialogs.empty());
    EXPECT_EQ(snapshot(ws), before);
}

TEST(PrintCommand, APrinterErrorIsReported) {
    FakePlatform platform;
    platform.printResult = {PrintResult::Status::Failed, "Out of paper."};
    printClick(filledWorksheet(), platform);
    ASSERT_EQ(platform.messages.size(), 1u);
    EXPECT_EQ(platform.messages[0].title, "KBT2");
    EXPECT_EQ(platform.messages[0].buttons, MessageButtons::OK);
    EXPECT_EQ(platform.messages[0].text, "The report could not be printed.\rOut of paper.");
    EXPECT_TRUE(platform.pdfPaths.empty());
}

struct NoPrinterCase {
    const char* name;
    MessageAnswer answer;                // to the offer of a PDF
    std::optional<std::string> pdfPath;  // the save dialogue's answer
    PrintResult pdfResult;
    bool dialogueShown;
    bool pdfWritten;
    std::string lastMessage;  // empty: the offer is the only message

    friend void PrintTo(const NoPrinterCase& c, std::ostream* os) { *os << c.name; }
};

class NoPrinter : public testing::TestWithParam<NoPrinterCase> {};

TEST_P(NoPrinter, OffersToSaveTheReportAsPdf) {
    const NoPrinterCase& c = GetParam();
    FakePlatform platform;
    platform.printResult = {PrintResult::Status::NoPrinter, {}};
    platform.answers.push_back(c.answer);
    if (c.pdfPath) platform.files.push_back(*c.pdfPath);
    platform.pdfResult = c.pdfResult;
    const Worksheet ws = filledWorksheet();
    printClick(ws, platform);

    ASSERT_GE(platform.messages.size(), 1u);
    EXPECT_EQ(platform.messages[0].title, "KBT2");
    EXPECT_EQ(platform.messages[0].buttons, MessageButtons::OKCancel);
    EXPECT_EQ(platform.messages[0].text, "No printer is available.\rSave the report as a PDF document instead?");
    EXPECT_EQ(platform.dialogs.size(), c.dialogueShown ? 1u : 0u);
    if (c.dialogueShown) {
        EXPECT_EQ(platform.dialogs[0].first, FileDialogMode::Save);
        EXPECT_EQ(platform.dialogs[0].second, "PDF document (*.pdf)|*.pdf");
    }
    EXPECT_EQ(platform.pdfPaths, c.pdfWritten ? std::vector<std::string>{*c.pdfPath} : std::vector<std::string>{});
    if (c.pdfWritten) {
        EXPECT_EQ(renderPlainText(platform.printed.back()), renderPlainText(composeReport(ws)));
    }
    if (c.lastMessage.empty()) {
        EXPECT_EQ(platform.messages.size(), 1u);
    } else {
        ASSERT_EQ(platform.messages.size(), 2u);
        EXPECT_EQ(platform.messages[1].buttons, MessageButtons::OK);
        EXPECT_EQ(platform.messages[1].text, c.lastMessage);
    }
}

const PrintResult kOk{};
const PrintResult kFull{PrintResult::Status::Failed, "The disk is full."};

INSTANTIATE_TEST_SUITE_P(
    Answers, NoPrinter,
    testing::Values(NoPrinterCase{"Declined", MessageAnswer::Cancel, "/r.pdf", kOk, false, false, ""},
                    NoPrinterCase{"DialogueCancelled", MessageAnswer::OK, std::nullopt, kOk, true, false, ""},
                    NoPrinterCase{"Saved", MessageAnswer::OK, "/tmp/r.pdf", kOk, true, true, ""},
                    NoPrinterCase{"SaveFailed", MessageAnswer::OK, "/tmp/r.pdf", kFull, true, true,
                                  "The report could not be saved as \"/tmp/r.pdf\".\rThe disk is full."}),
    [](const auto& info) { return std::string(info.param.name); });

// Export PDF: the printed report under a chosen name, whatever the printer.
TEST(PrintCommand, ExportsTheReportAsPdf) {
    FakePlatform platform;
    platform.files = {std::nullopt, "report.pdf", "full.pdf"};
    const Worksheet ws = filledWorksheet();
    exportReportPdf(ws, platform);  // cancelled: nothing
    EXPECT_TRUE(platform.pdfPaths.empty());
    exportReportPdf(ws, platform);
    ASSERT_EQ(platform.pdfPaths, std::vector<std::string>{"report.pdf"});
    EXPECT_EQ(renderPlainText(platform.printed[0]), renderPlainText(composeReport(ws)));
    EXPECT_EQ(platform.dialogs[1], std::make_pair(FileDialogMode::Save, std::string(kPdfFilter)));
    EXPECT_TRUE(platform.messages.empty());

    platform.pdfResult = {PrintResult::Status::Failed, "Disk full."};
    exportReportPdf(ws, platform);
    ASSERT_EQ(platform.messages.size(), 1u);
    EXPECT_EQ(platform.messages[0].text, "The report could not be saved as \"full.pdf\".\rDisk full.");
}

}  // namespace
}  // namespace kbt2
