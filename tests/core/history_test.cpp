// The worksheet's history through the form: what makes a step, what undo and
// redo put back, and what they leave alone.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <string>

#include "commands/form.h"
#include "commands/save_load.h"
#include "fake_platform.h"

namespace kbt2 {
namespace {

using testing_support::FakePlatform;

const FieldRef kName{Control::Producer1};
const FieldRef kAgent{Control::Agent1};

// How many steps undo can take back.
int stepsIn(Form& form) {
    int steps = 0;
    while (form.undo()) ++steps;
    return steps;
}

struct StepCase {
    const char* what;
    std::function<void(Form&)> act;
    int steps;
};

TEST(History, CountsOneStepPerActionThatChangedSomething) {
    const StepCase cases[] = {
        {"typing in one field merges", [](Form& f) { f.setText(kName, "J"), f.setText(kName, "Jo"); }, 1},
        {"another field ends the typing step",
         [](Form& f) { f.setText(kName, "J"), f.setText(kAgent, "A"), f.setText(kName, "Jo"); }, 3},
        {"a press that changes nothing ends it",
         [](Form& f) { f.setText(kName, "J"), f.click(Control::Print), f.setText(kName, "Jo"); }, 2},
        {"a paste of many cells is one step, and ends typing",
         [](Form& f) {
             f.setText({Control::Allinc1, 0}, "1");
             f.paste({Control::Allinc1, 0}, {{{Control::Allinc1, 0}, "100"},
                                             {{Control::Allexp1, 0}, "60"},
                                             {{Control::Allinc1, 1}, "110"},
                                             {{Control::Allexp1, 1}, "62"}});
             f.setText({Control::Allinc1, 0}, "10");
         },
         3},
        {"a set to the same text is no step and ends nothing",
         [](Form& f) { f.setText(kName, "J"), f.setText(kAgent, ""), f.setText(kName, "Jo"); }, 1},
        {"typing back to the start is dropped", [](Form& f) { f.setText(kName, "J"), f.setText(kName, ""); }, 0},
        {"a check is a step of its own",
         [](Form& f) {
             f.setChecked({Control::Crop, 0}, true), f.setChecked({Control::Crop, 1}, true);
         },
         2},
        {"a box set to its value is no step",
         [](Form& f) {
             f.setChecked({Control::Crop, 0}, false);
         },
         0},
        {"an option already selected is no step", [](Form& f) { f.select({Control::SSN}); }, 0},
        {"a command stopped by its checks is no step", [](Form& f) { f.click(Control::Command2); }, 0},
        {"Clear is one step", [](Form& f) { f.setText(kName, "J"), f.click(Control::Clear); }, 2},
        {"Clear of an empty worksheet is no step", [](Form& f) { f.click(Control::Clear); }, 0},
        {"a cancelled Load is no step", [](Form& f) { f.click(Control::Load); }, 0},
        {"an undo ends the typing step",
         [](Form& f) { f.setText(kName, "J"), f.setText(kAgent, "A"), f.undo(), f.setText(kName, "Jo"); }, 2},
    };
    for (const StepCase& c : cases) {
        FakePlatform platform;
        Form form(platform);
        c.act(form);
        EXPECT_EQ(stepsIn(form), c.steps) << c.what;
    }
}

TEST(History, UndoAndRedoPutBackEveryFieldWithoutRunningAHandler) {
    FakePlatform platform;
    Form form(platform);
    form.setText(kName, "Jane");
    form.select({Control::St, 4});  // the state handler hides boxes
    form.setChecked({Control::Crop, 0}, true);
    form.setChecked({Control::Crop, 51}, true);  // a transfer pass fills row 1
    const Worksheet::Snapshot typed = form.worksheet().snapshot();
    ASSERT_EQ(form.worksheet().text({Control::Cropname1, 0}), "Almonds");

    form.click(Control::Clear);
    ASSERT_EQ(form.undo()->field.control, Control::Clear);
    EXPECT_TRUE(form.worksheet().snapshot() == typed);
    EXPECT_TRUE(platform.messages.empty());

    // Undoing the transfer box's check takes the row back as it was before
    // the pass, with no pass of its own.
    form.undo();
    EXPECT_FALSE(form.worksheet().checked({Control::Crop, 51}));
    EXPECT_TRUE(form.worksheet().checked({Control::Crop, 0}));
    EXPECT_EQ(form.worksheet().text({Control::Cropname1, 0}), "");

    form.redo();
    form.redo();
    EXPECT_EQ(form.worksheet().text({Control::Producer1}), "");
    EXPECT_FALSE(form.redo());
}

TEST(History, ANewStepDropsWhatCouldBeRedone) {
    FakePlatform platform;
    Form form(platform);
    form.setText(kName, "Jane");
    form.setText(kAgent, "Agent");
    form.undo();
    ASSERT_NE(form.nextRedo(), nullptr);
    form.setText({Control::Agent2}, "Other");
    EXPECT_EQ(form.nextRedo(), nullptr);
    EXPECT_FALSE(form.redo());
    EXPECT_EQ(form.worksheet().text(kAgent), "");
}

TEST(History, KeepsTheNewestHundredSteps) {
    FakePlatform platform;
    Form form(platform);
    for (int i = 0; i < 150; ++i) form.setText(i % 2 ? kName : kAgent, std::to_string(i));
    EXPECT_EQ(stepsIn(form), static_cast<int>(History::kStepsKept));
    EXPECT_EQ(form.worksheet().text(kAgent), "48");  // step 49 was the oldest kept
}

TEST(History, RestoringRaisesNoClickEvent) {
    struct Counting : ControlEvents {
        int events = 0;
        void checkBoxClicked(Control, int) override { ++events; }
        void optionSelected(Control, int) override { ++events; }
    } counting;
    Worksheet ws;
    const Worksheet::Snapshot blank = ws.snapshot();
    ws.setEventHandler(&counting);
    ws.setChecked({Control::Crop, 3}, true);
    ws.select({Control::St, 1});
    int notified = 0;
    ws.addObserver([&notified](const FieldChange&) { ++notified; });
    ws.restore(blank);
    EXPECT_EQ(counting.events, 2);  // the two above, none from the restore
    EXPECT_EQ(notified, 2);
    EXPECT_TRUE(ws.snapshot() == blank);
}

TEST(History, UnsavedFollowsUndoAndRedoToTheSavedState) {
    FakePlatform platform;
    Form form(platform);
    const std::string path = std::string(KBT2_TEST_SCRATCH_DIR) + "/history-saved.wsk";
    std::filesystem::create_directories(KBT2_TEST_SCRATCH_DIR);
    form.setText(kName, "Jane");
    ASSERT_TRUE(form.saveTo(path));
    EXPECT_FALSE(form.unsaved());
    EXPECT_EQ(form.fileName(), path);
    form.setText(kAgent, "Agent");
    EXPECT_TRUE(form.unsaved());
    form.undo();
    EXPECT_FALSE(form.unsaved());
    form.undo();
    EXPECT_TRUE(form.unsaved());
    form.redo();
    EXPECT_FALSE(form.unsaved());
}

TEST(History, ClearOfUnsavedWorkKeepsWhatItReplaced) {
    FakePlatform platform;
    Form form(platform);
    form.setText(kName, "Jane");
    const Worksheet::Snapshot typed = form.worksheet().snapshot();
    form.click(Control::Clear);
    const auto replaced = form.takeReplacedUnsavedWork();
    ASSERT_TRUE(replaced);
    EXPECT_TRUE(*replaced == typed);
    EXPECT_FALSE(form.takeReplacedUnsavedWork());  // handed out once
    form.setText(kName, "x");
    form.click(Control::Command2);  // no step, nothing replaced
    EXPECT_FALSE(form.takeReplacedUnsavedWork());
}

// The file the worksheet belongs to follows the worksheet through every
// action and every undo and redo, so Save never writes one farm's case into
// another farm's file.
struct DocumentCase {
    const char* what;
    std::function<void(Form&, FakePlatform&)> act;
    std::string fileName;  // the file's own name; empty for none
    bool unsaved;
    std::string producer;
    bool cornChecked = false;
};

std::string caseFile(const std::string& name) { return std::string(KBT2_TEST_SCRATCH_DIR) + "/document-name/" + name; }

class DocumentName : public testing::Test {
protected:
    static void SetUpTestSuite() {
        std::filesystem::create_directories(folder());
        writeCase("a.wsk", "A");
        writeCase("b.wsk", "B");
        writeCase("blank.wsk", "");
        std::ofstream(folder() + "binary.wsk", std::ios::binary)
            << std::string{'\x7f', 'E', 'L', 'F', '\0', '\0', '\x01', '\x02'};
    }
    static std::string folder() { return caseFile(""); }
    static void writeCase(const std::string& name, const std::string& producer) {
        Worksheet ws;
        ws.setText(kName, producer);
        ASSERT_TRUE(writeWorksheetFile(ws, folder() + name).ok());
    }
};

void load(Form& form, FakePlatform& platform, const std::string& name) {
    platform.files.push_back(caseFile(name));
    form.click(Control::Load);
}

void open(Form& form, FakePlatform& platform, const std::string& name) {
    platform.files.push_back(caseFile(name));
    form.open();
}

void saveAs(Form& form, const std::string& name) { form.saveTo(caseFile(name)); }

TEST_F(DocumentName, FollowsTheWorksheet) {
    const FieldRef corn{Control::Crop, 0};
    const DocumentCase cases[] = {
        {"a new worksheet has no file", [](Form&, FakePlatform&) {}, "", false, ""},
        {"Load names the file", [](Form& f, FakePlatform& p) { load(f, p, "a.wsk"); }, "a.wsk", false, "A"},
        {"Clear leaves no file, so Save asks",
         [](Form& f, FakePlatform& p) { load(f, p, "a.wsk"), f.click(Control::Clear); }, "", false, ""},
        {"Clear that changes nothing still leaves no file",
         [](Form& f, FakePlatform& p) { load(f, p, "blank.wsk"), f.click(Control::Clear); }, "", false, ""},
        {"undo of Clear brings the file back",
         [](Form& f, FakePlatform& p) { load(f, p, "a.wsk"), f.click(Control::Clear), f.undo(); }, "a.wsk", false, "A"},
        {"undo of a Load brings back the file before it",
         [](Form& f, FakePlatform& p) { load(f, p, "a.wsk"), load(f, p, "b.wsk"), f.undo(); }, "a.wsk", false, "A"},
        {"undo of a Load over unsaved work: no file, unsaved",
         [](Form& f, FakePlatform& p) { f.setText(kName, "typed"), load(f, p, "b.wsk"), f.undo(); }, "", true, "typed"},
        {"redo of a Load brings its file back",
         [](Form& f, FakePlatform& p) { load(f, p, "a.wsk"), load(f, p, "b.wsk"), f.undo(), f.redo(); }, "b.wsk", false,
         "B"},
        {"a failed Load keeps the name and the fields",
         [](Form& f, FakePlatform& p) { load(f, p, "a.wsk"), load(f, p, "binary.wsk"); }, "a.wsk", false, "A"},
        {"a failed Load of a new worksheet names nothing", [](Form& f, FakePlatform& p) { load(f, p, "binary.wsk"); },
         "", false, ""},
        {"Save As after a Load goes with the Load's state",
         [](Form& f, FakePlatform& p) {
             load(f, p, "a.wsk"), load(f, p, "b.wsk"), saveAs(f, "c.wsk"), f.undo(), f.redo();
         },
         "c.wsk", false, "B"},
        {"undo past a Save: the file holds the later state",
         [](Form& f, FakePlatform&) { f.setText(kName, "X"), saveAs(f, "x.wsk"), f.undo(); }, "x.wsk", true, ""},
        {"a Load keeps the boxes the file does not name",
         [corn](Form& f, FakePlatform& p) { f.setChecked(corn, true), load(f, p, "a.wsk"); }, "a.wsk", false, "A",
         true},
        {"Open leaves nothing of the case before",
         [corn](Form& f, FakePlatform& p) { f.setChecked(corn, true), open(f, p, "a.wsk"); }, "a.wsk", false, "A"},
        {"undo of an Open is one step back to the case before",
         [corn](Form& f, FakePlatform& p) { f.setChecked(corn, true), open(f, p, "a.wsk"), f.undo(); }, "", true, "",
         true},
        {"a failed Open changes nothing",
         [corn](Form& f, FakePlatform& p) { load(f, p, "a.wsk"), f.setChecked(corn, true), open(f, p, "binary.wsk"); },
         "a.wsk", true, "A", true},
        {"a recovered copy belongs to no file",
         [](Form& f, FakePlatform&) { ASSERT_TRUE(f.recoverFrom(caseFile("b.wsk"), "kept").ok()); }, "", true, "B"},
    };
    for (const DocumentCase& c : cases) {
        FakePlatform platform;
        Form form(platform);
        c.act(form, platform);
        EXPECT_EQ(std::filesystem::path(form.fileName()).filename().string(), c.fileName) << c.what;
        EXPECT_EQ(form.unsaved(), c.unsaved) << c.what;
        EXPECT_EQ(form.worksheet().text(kName), c.producer) << c.what;
        EXPECT_EQ(form.worksheet().checked(corn), c.cornChecked) << c.what;
    }
}

// Opening is one step for undo, named as a Load of its file; a failed Open
// tells why, as Load does.
TEST_F(DocumentName, OpenIsOneStepAndAFailureIsTold) {
    FakePlatform platform;
    Form form(platform);
    form.setText(kName, "typed");
    open(form, platform, "b.wsk");
    ASSERT_NE(form.nextUndo(), nullptr);
    EXPECT_EQ(form.nextUndo()->fileName, "b.wsk");
    EXPECT_TRUE(form.takeReplacedUnsavedWork());
    EXPECT_EQ(stepsIn(form), 2);
    open(form, platform, "binary.wsk");
    ASSERT_EQ(platform.messages.size(), size_t{1});
    EXPECT_NE(platform.messages[0].text.find("binary.wsk"), std::string::npos);
}

}  // namespace
}  // namespace kbt2
