#include "app/quote/quote_options.h"

#include <charconv>
#include <string_view>
#include <utility>

#include "quote/printable.h"

namespace kbt2::quote {
namespace {

// The value of an option given as "--name=value" or as "--name value"; the
// index moves past what was taken.
std::optional<std::string> optionValue(const std::vector<std::string>& arguments, size_t& i, std::string_view name) {
    const std::string& argument = arguments[i];
    if (argument.size() > name.size() && argument.compare(0, name.size(), name) == 0 && argument[name.size()] == '=')
        return argument.substr(name.size() + 1);
    if (i + 1 >= arguments.size()) return std::nullopt;
    return arguments[++i];
}

bool isOption(const std::string& argument, std::string_view name) {
    return argument == name || (argument.size() > name.size() && argument.compare(0, name.size(), name) == 0 &&
                                argument[name.size()] == '=');
}

}  // namespace

Outcome<QuoteRequest, UsageError> parseQuoteArguments(const std::vector<std::string>& arguments) {
    QuoteOptions options;
    bool optionsEnded = false;
    for (size_t i = 0; i < arguments.size(); ++i) {
        const std::string& argument = arguments[i];
        if (optionsEnded || argument.empty() || argument[0] != '-' || argument == "-") {
            options.inputs.push_back(argument);
            continue;
        }
        if (argument == "--") {
            optionsEnded = true;
        } else if (argument == "--help" || argument == "-h") {
            return QuoteRequest{InfoRequest::Help};
        } else if (argument == "--version") {
            return QuoteRequest{InfoRequest::Version};
        } else if (isOption(argument, "--rates")) {
            const auto value = optionValue(arguments, i, "--rates");
            if (!value || value->empty()) return UsageError{"--rates needs a rate file"};
            options.ratesPath = *value;
        } else if (argument == "--details") {
            options.details = true;
        } else if (isOption(argument, "--summaries")) {
            const auto value = optionValue(arguments, i, "--summaries");
            if (!value || value->empty()) return UsageError{"--summaries needs a folder"};
            options.summariesDir = *value;
        } else if (isOption(argument, "--language")) {
            const auto value = optionValue(arguments, i, "--language");
            const std::optional<Language> language = value ? languageOfCode(*value) : std::nullopt;
            if (!language) return UsageError{"--language takes en or es"};
            options.language = language;
        } else if (isOption(argument, "--output")) {
            const auto value = optionValue(arguments, i, "--output");
            if (!value || value->empty()) return UsageError{"--output needs a file name"};
            options.outputPath = *value;
        } else if (isOption(argument, "--compare")) {
            const auto value = optionValue(arguments, i, "--compare");
            if (!value || value->empty()) return UsageError{"--compare needs the old rate file"};
            options.comparePath = *value;
        } else if (argument == "--changed-only") {
            options.changedOnly = true;
        } else if (isOption(argument, "--jobs")) {
            const auto value = optionValue(arguments, i, "--jobs");
            unsigned jobs = 0;
            const char* end = value ? value->data() + value->size() : nullptr;
            if (!value || value->empty() || std::from_chars(value->data(), end, jobs).ptr != end || jobs < 1 ||
                jobs > 256)
                return UsageError{"--jobs takes a number of threads from 1 to 256"};
            options.jobs = jobs;
        } else if (isOption(argument, "--format")) {
            const auto value = optionValue(arguments, i, "--format");
            if (value && *value == "csv")
                options.format = OutputFormat::Csv;
            else if (value && *value == "jsonl")
                options.format = OutputFormat::Jsonl;
            else
                return UsageError{"--format takes csv or jsonl"};
        } else {
            // The reason of a usage error stays one line whatever the argument holds.
            return UsageError{"unknown option " + printable(argument, PrintableAs::Argument)};
        }
    }
    if (options.inputs.empty()) return UsageError{"no worksheet file or folder given"};
    if (options.changedOnly && !options.comparePath) return UsageError{"--changed-only needs --compare"};
    if (options.details && options.format != OutputFormat::Jsonl) return UsageError{"--details needs --format jsonl"};
    if (options.language && !options.summariesDir) return UsageError{"--language needs --summaries"};
    if (options.comparePath && options.details) return UsageError{"--details is not for --compare"};
    return QuoteRequest{std::move(options)};
}

std::string helpText() {
    return std::string(kUsage) +
           "\n"
           "\n"
           "Quotes the premium of saved worksheets as the window would: each is loaded,\n"
           "then Calculate KBT (Tab 4), the calculation of Tab 8 and Calculate Premium\n"
           "(Tab 9) run, every message answered with OK, and the fields of Tab 9 are\n"
           "printed exactly as the window shows them. A folder stands for its *.wsk\n"
           "files (not its subfolders), in name order; a folder with none is an error.\n"
           "A worksheet saved as a case's base stands for every scenario of the case,\n"
           "each quoted as its own lines and named in the last column, scenario.\n"
           "\n"
           "  --rates FILE          the rate file; otherwise Ratefile.prn where the window\n"
           "                        looks for it. It is read once for the whole batch,\n"
           "                        before any worksheet, and refused (exit status 2)\n"
           "                        when it is there but no ordinary file, or holds no\n"
           "                        valid record:\n"
           "                        a line whose state (columns 1-2), county (8-10) and\n"
           "                        commodity code (13-16) are digits above 0\n"
           "  --format csv|jsonl    CSV, one line per coverage level shown (the default),\n"
           "                        or one JSON object per worksheet\n"
           "  --details             with --format jsonl: a \"details\" object for each quoted\n"
           "                        worksheet, the values of its premium's calculation\n"
           "                        (average_income, projected_kbt, total_expected_kbt,\n"
           "                        allowable_kbt, mpci, commodities, equal_share,\n"
           "                        deviation_sum, significance_threshold,\n"
           "                        significant_count, livestock_share,\n"
           "                        livestock_or_insurable_share, diversification_factor,\n"
           "                        levels, rate_file)\n"
           "  --summaries DIR       write each quoted worksheet's quote summary, a PDF,\n"
           "                        into DIR (made when missing) as NAME.pdf after the\n"
           "                        worksheet's NAME.wsk; a later worksheet of a name\n"
           "                        already used in the run gets NAME-2.pdf, NAME-3.pdf,\n"
           "                        ..., the first free; each PDF is written whole or\n"
           "                        not at all; with --compare, only for the\n"
           "                        worksheets whose figures changed, quoted under the\n"
           "                        new table, with the producer premium of each level\n"
           "                        under the old table and the new one side by side\n"
           "  --language en|es      with --summaries: the language of their words, English\n"
           "                        (en, the default) or Spanish (es); the figures are\n"
           "                        the same in both\n"
           "  --output FILE         write there, all or nothing, instead of standard output;\n"
           "                        a FILE that is a worksheet or a rate file of the run,\n"
           "                        under any name, is refused; a pipe or a device is\n"
           "                        written into, never replaced\n"
           "  --compare OLD_RATES   quote each worksheet under OLD_RATES and under the rate\n"
           "                        file above, and print both side by side: one CSV line\n"
           "                        per coverage level offered under either, with the\n"
           "                        change of the producer premium and what else moved\n"
           "                        (level-offered, level-withdrawn, livestock-warning,\n"
           "                        mpci-warning, factor, rates); JSON lines add the rate\n"
           "                        records that differ. Each table is read once.\n"
           "  --changed-only        with --compare: leave out the worksheets whose figures\n"
           "                        are all the same under both tables\n"
           "  --jobs N              quote on N threads (default: one per processor this\n"
           "                        process may run on); the output is the same, in the\n"
           "                        same order, for any N\n"
           "  --help, --version\n"
           "\n"
           "A commodity the rate file has no record for is priced at rate 0, as in the\n"
           "window, but such figures are no quote: the warning no-rate-record (JSON lines\n"
           "also list the codes in \"no_rate_record\"), no summary is written for it, and\n"
           "the run ends with their count and exit status 1. A quote from the sample rate\n"
           "table shipped with the program is said to be made up, once, on standard error.\n"
           "\n"
           "In CSV a text field (file, message, producer, county...) that begins with\n"
           "=, +, -, @, a tab or a carriage return gets a leading apostrophe, so that a\n"
           "spreadsheet shows it and never runs it as a formula; figures stand as they are.\n"
           "\n"
           "Exit status: 0 when every worksheet was quoted, 1 when at least one was an\n"
           "error or had a commodity without a rate record (the others are still quoted),\n"
           "a summary PDF could not be written or a folder held no worksheet, 2 for a\n"
           "usage error, a rate table refused, or an output file that is an input of the\n"
           "run or could not be written. With --compare, a worksheet that either table\n"
           "stops is an error; on a terminal a summary closes the run: premiums up, down\n"
           "and unchanged, and the five largest rises.\n";
}

}  // namespace kbt2::quote
