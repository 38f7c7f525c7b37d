#pragma once
// The main form: the worksheet with the handlers of its controls. Both front
// ends, the window and the scripting driver, act on a Form and nothing else.

#include <optional>
#include <string>

#include "commands/premium.h"
#include "worksheet/platform.h"
#include "worksheet/worksheet.h"

namespace kbt2 {

class Form : private ControlEvents {
public:
    // The premium reads the rate file the platform's places hold.
    explicit Form(Platform& platform);
    // The premium takes its rates from `rates`, which must outlive the form.
    Form(Platform& platform, RateSource& rates);
    Form(const Form&) = delete;
    Form& operator=(const Form&) = delete;

    Worksheet& worksheet() { return worksheet_; }
    const Worksheet& worksheet() const { return worksheet_; }
    Platform& platform() { return platform_; }

    // Runs the click handler of a button to completion.
    void click(Control button);

    // The rate file the last Calculate Premium read; nothing when it stopped
    // before reading one.
    const std::optional<RateFileUse>& lastRateFileUse() const { return lastPremium_.rateFile; }
    // All that the last Calculate Premium did: its stop or warnings, and the
    // figures it wrote.
    const PremiumOutcome& lastPremium() const { return lastPremium_; }

    // The window's document commands beside the buttons, on the buttons' own
    // code (commands/form_documents.cpp). Save and Load on a path already
    // known: a failure is told, a success names the platform's document.
    bool saveTo(const std::string& path);
    bool loadFrom(const std::string& path);
    // The Print button's report as a PDF under a chosen name, at any time.
    void exportPdf();
    // The Print button's report, for a preview.
    PrintDocument report() const;
    // The recovery copy: the worksheet file written or read without a word
    // to the user; the message it would have been when it failed.
    std::optional<std::string> writeCopy(const std::string& path) const;
    std::optional<std::string> readCopy(const std::string& path);

private:
    friend void premiumClick(Form& form);
    void checkBoxClicked(Control array, int index) override;
    void optionSelected(Control array, int index) override;

    Worksheet worksheet_;
    Platform& platform_;
    RateFileSource fileRates_;
    RateSource& rates_;
    PremiumOutcome lastPremium_;
};

}  // namespace kbt2
