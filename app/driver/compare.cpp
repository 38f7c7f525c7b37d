#include "app/driver/compare.h"

#include "app/driver/script.h"

namespace kbt2::driver {
namespace {

// The script's rate file places and its output, with every message answered
// OK and nothing else reaching the outside: the copy has no window to close
// and no file or printer to ask for.
class CopyPlatform final : public Platform {
public:
    explicit CopyPlatform(Session& session) : session_(session) {}
    MessageAnswer showMessage(const Message& message) override {
        session_.reportMessage(message);
        return MessageAnswer::OK;
    }
    std::optional<std::string> chooseFile(FileDialogMode, const std::string&) override { return std::nullopt; }
    std::vector<std::string> rateFileFolders() override { return session_.rateFileFolders(); }
    PrintResult print(const PrintDocument&) override { return {PrintResult::Status::NoPrinter, {}}; }
    PrintResult printToPdf(const PrintDocument&, const std::string&) override {
        return {PrintResult::Status::Failed, {}};
    }
    void closeWindow() override {}

private:
    Session& session_;
};

}  // namespace

void compareScenarios(const Case& scenarios, Session& session) {
    std::ostream& out = session.out();
    CopyPlatform platform(session);
    for (size_t i = 0; i < scenarios.size(); ++i) {
        out << "SCENARIO " << quote(scenarios.name(i)) << '\n';
        Form copy(platform);
        copy.startAs(scenarios.worksheet(i).snapshot());
        copy.click(Control::Command4);
        for (int k = 0; k < 3; ++k) {
            const FieldRef field{Control::Text18, k};
            out << refName(field) << '=' << quote(copy.worksheet().text(field)) << '\n';
        }
    }
}

}  // namespace kbt2::driver
