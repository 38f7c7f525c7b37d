#pragma once
// A form whose platform fails the test on any use: the commodity, state and
// Clear handlers show nothing and open nothing. Plus small readers of the
// commodity report.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "commands/form.h"
#include "worksheet/report_rows.h"

namespace kbt2::testing_support {

class SilentPlatform : public Platform {
public:
    MessageAnswer showMessage(const Message& m) override {
        ADD_FAILURE() << "unexpected message: " << m.text;
        return MessageAnswer::OK;
    }
    std::optional<std::string> chooseFile(FileDialogMode, const std::string&) override {
        ADD_FAILURE() << "unexpected file dialogue";
        return std::nullopt;
    }
    bool fileExists(const std::string&) override { return false; }
    std::vector<std::string> rateFileFolders() override { return {}; }
    PrintResult print(const PrintDocument&) override {
        ADD_FAILURE() << "unexpected print";
        return {};
    }
    PrintResult printToPdf(const PrintDocument&, const std::string&) override {
        ADD_FAILURE() << "unexpected print";
        return {};
    }
    void closeWindow() override { ++closed; }

    int closed = 0;
};

class SelectionTest : public ::testing::Test {
protected:
    Worksheet& ws() { return form_.worksheet(); }

    void check(Control array, int index, bool on = true) { ws().setChecked({array, index}, on); }

    // The names of all 14 rows, "" for an empty one.
    std::vector<std::string> names() {
        std::vector<std::string> out;
        for (int row = 0; row < kReportRows; ++row) out.push_back(ws().text({Control::Cropname1, row}));
        return out;
    }
    // The names of the rows up to the last named one.
    std::vector<std::string> usedNames() {
        auto out = names();
        while (!out.empty() && out.back().empty()) out.pop_back();
        return out;
    }
    std::string code(int row) { return ws().text({Control::Unit1, row}); }

    void typeRow(int row, const std::string& name, const std::string& amount = {}) {
        ws().setText({Control::Cropname1, row}, name);
        ws().setText({Control::Intamt1, row}, amount);
    }

    SilentPlatform platform_;
    Form form_{platform_};
};

// Every change the worksheet reports, as "Cropname1(0) text", "Crop(1) value".
inline void recordChanges(Worksheet& ws, std::vector<std::string>& log) {
    ws.addObserver([&log, &ws](const FieldChange& c) {
        std::string entry = refName(c.field);
        switch (c.what) {
        case FieldChange::What::Text: entry += " text=" + ws.text(c.field); break;
        case FieldChange::What::Value: entry += std::string(" value=") + (ws.checked(c.field) ? "1" : "0"); break;
        case FieldChange::What::Visibility:
            entry += std::string(" visible=") + (ws.visible(c.field) ? "1" : "0");
            break;
        }
        log.push_back(entry);
    });
}

}  // namespace kbt2::testing_support
