#include "app/driver/session.h"

#include "app/driver/script.h"
#include "rates/rate_file_places.h"
#include "storage/report.h"

namespace kbt2::driver {

MessageAnswer Session::takeAnswer() {
    if (answers_.empty()) return MessageAnswer::OK;
    const MessageAnswer answer = answers_.front();
    answers_.pop_front();
    return answer;
}

std::optional<std::string> Session::takeFile() {
    if (files_.empty()) return std::nullopt;
    auto path = std::move(files_.front());
    files_.pop_front();
    return path;
}

std::vector<std::string> Session::rateFileFolders() const { return places_ ? *places_ : defaultRateFileFolders(); }

void Session::reportMessage(const Message& message) {
    out_ << "MSG title=" << quote(message.title)
         << " buttons=" << (message.buttons == MessageButtons::OK ? "OK" : "OKCancel")
         << " icon=" << (message.icon == MessageIcon::None ? "none" : "critical") << " text=" << quote(message.text)
         << '\n';
}

void Session::reportDialog(FileDialogMode mode, const std::string& filter) {
    out_ << "DIALOG " << (mode == FileDialogMode::Save ? "save " : "open ") << quote(filter) << '\n';
}

void Session::reportPrint(const PrintDocument& document) {
    out_ << "PRINT\n";
    for (std::string line : renderPlainText(document)) {
        const auto end = line.find_last_not_of(' ');
        line.resize(end == std::string::npos ? 0 : end + 1);
        out_ << "| " << line << '\n';
    }
    out_ << "END PRINT\n";
}

void Session::reportClosed() {
    if (closed_) return;
    closed_ = true;
    out_ << "CLOSED\n";
}

}  // namespace kbt2::driver
