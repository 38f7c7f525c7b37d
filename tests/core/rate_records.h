#pragma once
// Rate file records for tests: exactly 60 characters with the keys, flags and
// rates in their columns. The columns that are not read hold characters that
// would change a number if they were.

#include <string>

namespace kbt2::testing_support {

struct RateFields {
    std::string state = "26";
    std::string county = "081";
    std::string code = "  41";
    char livestock = 'N';
    char insurable = 'Y';
    std::string rate80 = "0.052";
    std::string rate75 = "0.041";
    std::string rate65 = "0.030";
};

inline std::string rateRecord(const RateFields& f) {
    std::string line(60, '9');
    auto put = [&](size_t position, size_t width, const std::string& text) {
        line.replace(position - 1, width, std::string(width, ' '));
        line.replace(position - 1, text.size(), text);
    };
    put(1, 2, f.state);
    put(8, 3, f.county);
    put(13, 4, f.code);
    put(19, 1, std::string(1, f.livestock));
    put(25, 1, std::string(1, f.insurable));
    put(35, 5, f.rate80);
    put(46, 5, f.rate75);
    put(56, 5, f.rate65);
    return line;
}

}  // namespace kbt2::testing_support
