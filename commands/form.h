#pragma once
// The main form: the worksheet with the handlers of its controls. Both front
// ends, the window and the scripting driver, act on a Form and nothing else.

#include <optional>

#include "calc/rate_source.h"
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
    const std::optional<RateFileUse>& lastRateFileUse() const { return lastRateFileUse_; }

private:
    friend void premiumClick(Form& form);
    void checkBoxClicked(Control array, int index) override;
    void optionSelected(Control array, int index) override;

    Worksheet worksheet_;
    Platform& platform_;
    RateFileSource fileRates_;
    RateSource& rates_;
    std::optional<RateFileUse> lastRateFileUse_;
};

}  // namespace kbt2
