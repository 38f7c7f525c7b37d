#include "commands/fresh_quote.h"

#include <vector>

#include "calc/field_draft.h"
#include "calc/numbers.h"
#include "calc/premium.h"
#include "calc/premium_table.h"
#include "calc/shares.h"
#include "commands/rate_file_identity.h"
#include "worksheet/premium_rows.h"

namespace kbt2 {
namespace {

constexpr const char* kCoverages[kPremiumColumns] = {".80", ".75", ".65"};

// Finds the rate file where the window would, and keeps every message to
// itself, answering OK.
class QuietPlatform final : public Platform {
public:
    explicit QuietPlatform(Platform& outer) : outer_(outer) {}
    MessageAnswer showMessage(const Message& message) override {
        messages.push_back(message);
        return MessageAnswer::OK;
    }
    std::optional<std::string> chooseFile(FileDialogMode, const std::string&) override { return std::nullopt; }
    bool fileExists(const std::string& path) override { return outer_.fileExists(path); }
    std::vector<std::string> rateFileFolders() override { return outer_.rateFileFolders(); }
    PrintResult print(const PrintDocument&) override { return {PrintResult::Status::NoPrinter, {}}; }
    PrintResult printToPdf(const PrintDocument&, const std::string&) override {
        return {PrintResult::Status::Failed, {}};
    }
    void closeWindow() override {}
    std::optional<std::string> chosenRateFile() override { return outer_.chosenRateFile(); }

    std::vector<Message> messages;

private:
    Platform& outer_;
};

// Passes the premium's question on and keeps the answer.
class KeptRates final : public RateSource {
public:
    explicit KeptRates(RateSource& inner) : inner_(inner) {}
    SourcedRates ratesFor(Platform& platform, double stateCode, double countyCode,
                          std::span<const double> codes) override {
        kept = inner_.ratesFor(platform, stateCode, countyCode, codes);
        return kept;
    }
    SourcedRates kept;

private:
    RateSource& inner_;
};

bool isWarning(const Message& message) {
    return message.text == livestockWarning().text || message.text == insurableWarning().text;
}

double number(const Worksheet& ws, FieldRef field) { return numericValue(ws.text(field)); }

// Every level's nine figures, hidden levels too: the page empties the
// columns it hides, so the table is written once more, unhidden, into a
// draft of the run's worksheet by the premium's own table steps.
void readLevels(const Worksheet& ws, const Shares& shares, const RateLookup& lookup, QuoteSummary& s) {
    FieldDraft table(ws);
    writeLiabilities(table, s.allowableKbt);
    writePremiums(table, s.allowableKbt, weightedRates(shares, lookup.rows),
                  diversificationFactor(static_cast<int>(s.commodities.size()), shares.deviationSum));
    for (int column = 0; column < kPremiumColumns; ++column) {
        SummaryLevel& level = s.levels[static_cast<size_t>(column)];
        level.coverage = kCoverages[column];
        level.offered = ws.visible({Control::Text23, column});
        level.indemnityThreshold = table.number({Control::Text23, column});
        level.weightedRate = table.number({Control::Text24, column});
        level.diversificationFactor = table.text({Control::Text25, column});
        level.kbtRate = table.number({Control::Text26, column});
        level.kbtLiability = table.number({Control::Text27, column});
        level.netKbtLiability = table.number({Control::Text28, column});
        level.grossPremium = table.number({Control::Text16, column});
        level.subsidy = table.number({Control::Text17, column});
        level.producerPremium = table.number({Control::Text18, column});
    }
}

Shares readCommodities(const Worksheet& ws, const RateLookup& lookup, QuoteSummary& s) {
    std::vector<double> kbts;
    for (size_t i = 0; i < lookup.rows.size(); ++i) {
        const int row = static_cast<int>(i);
        kbts.push_back(roundWhole(number(ws, {Control::Totamt1, row}) * number(ws, {Control::Expval1, row})));
    }
    const Shares shares = commodityShares(kbts, s.totalExpectedKbt);
    for (size_t i = 0; i < lookup.rows.size(); ++i) {
        const int row = static_cast<int>(i);
        const CommodityRates& rates = lookup.rows[i];
        SummaryCommodity c{.row = row,
                           .name = ws.text({Control::Cropname1, row}),
                           .code = ws.text({Control::Unit1, row}),
                           .kbt = kbts[i],
                           .share = shares.shares[i],
                           .livestock = rates.livestock(),
                           .insurable = rates.insurable(),
                           .recordLine = std::nullopt,
                           .rates = rates.rates,
                           .weighted = {}};
        for (size_t j = 0; j < 3; ++j) c.weighted[j] = roundThousandths(rates.rates[j] * c.share);
        s.commodities.push_back(std::move(c));
    }
    s.equalShare = shares.equalShare;
    s.deviationSum = shares.deviationSum;
    s.significanceThreshold = shares.threshold;
    s.significantCount = shares.significantCount;
    s.livestockShare = livestockShare(shares, lookup.rows);
    s.livestockOrInsurableShare = livestockOrInsurableShare(shares, lookup.rows);
    return shares;
}

}  // namespace

void copyFields(const Worksheet& from, Worksheet& to) {
    for (const ControlInfo& control : kControls) {
        for (int i = 0; i < control.slots(); ++i) {
            const FieldRef field{control.control, i};
            switch (control.kind) {
            case Kind::Text:
            case Kind::Masked: to.setText(field, from.text(field)); break;
            case Kind::Check: to.setChecked(field, from.checked(field)); break;
            case Kind::Option:
                if (from.selected(field))
                    to.select(field);
                else
                    to.deselect(field);
                break;
            case Kind::Button: break;
            }
            to.setVisible(field, from.visible(field));
        }
    }
}

FreshQuote freshQuote(const Worksheet& ws, Platform& platform, RateSource& rates, const std::string& worksheetName,
                      bool identifyRateFile) {
    Worksheet copy;
    copyFields(ws, copy);
    QuietPlatform quiet(platform);
    KeptRates kept(rates);
    const auto use = command4Click(copy, quiet, kept);
    for (const Message& message : quiet.messages)
        if (!isWarning(message)) return {std::nullopt, message.text};
    if (!use) return {std::nullopt, "No rate file was read."};

    QuoteSummary s = summaryCase(copy, worksheetName);
    s.averageIncome = number(copy, {Control::Averageinc});
    s.projectedKbt = number(copy, {Control::Projkbt});
    s.totalExpectedKbt = number(copy, {Control::Text15, 0});
    s.allowableKbt = number(copy, {Control::Text21});
    s.mpci = number(copy, {Control::MPCI});
    s.diversificationFactor = copy.text({Control::Text25, 2});
    s.livestockWarning = copy.text({Control::Lvstex}) == "Yes";
    s.insurableWarning = copy.text({Control::Mpciex}) == "Yes";
    const Shares shares = readCommodities(copy, kept.kept.lookup, s);
    readLevels(copy, shares, kept.kept.lookup, s);
    if (identifyRateFile)
        s.rateFile = rateFileIdentity(use->path, use->records);
    else
        s.rateFile = {use->path, 0, {}, {}, use->records};
    return {std::move(s), {}};
}

}  // namespace kbt2
