// kbt2-quote: the premium of many saved worksheets from the command line.

#include <unistd.h>

#include <iostream>
#include <string>
#include <variant>
#include <vector>

#include "app/quote/quote_batch.h"
#include "app/quote/quote_options.h"

#ifndef KBT2_VERSION
#define KBT2_VERSION "unknown"
#endif

int main(int argc, char** argv) {
    using namespace kbt2::quote;
    std::ios::sync_with_stdio(false);
    const std::vector<std::string> arguments(argv + 1, argv + argc);
    const auto parsed = parseQuoteArguments(arguments);
    if (const auto* error = std::get_if<UsageError>(&parsed)) {
        std::cerr << "kbt2-quote: " << error->reason << '\n' << kUsage << '\n';
        return kUsageError;
    }
    if (const auto* info = std::get_if<InfoRequest>(&parsed)) {
        std::cout << (*info == InfoRequest::Help ? helpText() : std::string("kbt2-quote ") + KBT2_VERSION + "\n");
        return std::cout.flush() ? kAllQuoted : kUsageError;
    }
    return runQuoteBatch(std::get<QuoteOptions>(parsed), std::cout, std::cerr, ::isatty(STDERR_FILENO) == 1);
}
