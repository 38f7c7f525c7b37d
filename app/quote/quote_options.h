#pragma once
// The command line of kbt2-quote.

#include <optional>
#include <string>
#include <variant>
#include <vector>

#include "quote/language.h"
#include "worksheet/outcome.h"

namespace kbt2::quote {

enum class OutputFormat { Csv, Jsonl };

struct QuoteOptions {
    std::optional<std::string> ratesPath;  // --rates; otherwise the window's places
    OutputFormat format = OutputFormat::Csv;
    std::optional<std::string> outputPath;    // --output; otherwise standard output
    std::vector<std::string> inputs;          // worksheet files and folders, in order
    bool details = false;                     // --details: the premium's details (JSON lines only)
    std::optional<std::string> summariesDir;  // --summaries: one quote summary PDF per quoted worksheet
    std::optional<Language> language;         // --language: the words of the summaries; English when not given
    std::optional<std::string> comparePath;   // --compare: the old rate table
    bool changedOnly = false;                 // --changed-only, with --compare
    unsigned jobs = 0;                        // --jobs; 0: one per processor
};

enum class InfoRequest { Help, Version };

// What a command line that is not wrong asks for: a run, or the help or the
// version.
using QuoteRequest = std::variant<QuoteOptions, InfoRequest>;

struct UsageError {
    std::string reason;  // one line
};

inline constexpr const char* kUsage =
    "usage: kbt2-quote [--rates FILE] [--compare OLD_RATES [--changed-only]] [--format csv|jsonl] [--details]\n"
    "                  [--summaries DIR [--language en|es]] [--output FILE] [--jobs N] WORKSHEET_OR_FOLDER...";

// "--name value" and "--name=value" both work; "--" ends the options, so a
// worksheet whose name starts with "-" can still be given.
Outcome<QuoteRequest, UsageError> parseQuoteArguments(const std::vector<std::string>& arguments);

// What --help prints.
std::string helpText();

}  // namespace kbt2::quote
